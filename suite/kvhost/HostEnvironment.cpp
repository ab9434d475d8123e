#include "suite/kvhost/HostEnvironment.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/core/Exceptions.h"
#include "platform/core/IniFiles.h"
#include "platform/core/SysUtils.h"

namespace kv {

namespace {

void WriteIfMissing(const std::string& fileName, const std::string& text) {
    if (FileExists(fileName)) return;
    std::ofstream out(fileName, std::ios::out | std::ios::trunc);
    out << text;
    if (!out) throw EInOutError("Cannot write " + fileName);
}

std::string RegistryText(const std::string& dir) {
    // Quoted values keep backslashes and blanks of the folder as they are.
    std::string quoted;
    for (const char c : dir) {
        if (c == '\\' || c == '"') quoted += '\\';
        quoted += c;
    }
    return "[HKEY_LOCAL_MACHINE\\Software\\KVT\\Velmar]\n"
           "ClientPath=\"" +
           quoted +
           "\"\n"
           "ServerPath=\"" +
           quoted +
           "\"\n"
           "ProfileType=0\n";
}

constexpr const char* kClientText =
    "[Server Information]\n"
    "ComputerName=127.0.0.1\n"
    "ServerPort=211\n"
    "\n"
    "[CodePage]\n"
    "UICodePage=936\n"
    "DBCodePage=936\n";

constexpr const char* kServerText =
    "[AppServer]\n"
    "Database=company.db\n";

}  // namespace

std::string DefaultHostConfigDir() {
    if (const char* dir = std::getenv("KV_HOST_CONFIG"); dir != nullptr && *dir != '\0') return dir;
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        return std::string(home) + "/.local/share/kvhost";
    return "kvhost-config";
}

THostEnvironment PrepareHostEnvironment(const std::string& configDir) {
    std::error_code error;
    const std::filesystem::path dir = std::filesystem::absolute(configDir, error);
    if (error || !ForceDirectories(dir.string()))
        throw EInOutError("Cannot create the configuration folder " + configDir);
    THostEnvironment env;
    env.configDir = IncludeTrailingPathDelimiter(dir.lexically_normal().string());
    const std::string registry = env.configDir + "registry.ini";
    const std::string server = env.configDir + "appserver.ini";
    WriteIfMissing(registry, RegistryText(env.configDir));
    WriteIfMissing(env.configDir + "VelmarC.ini", kClientText);
    WriteIfMissing(server, kServerText);
    TIniFile settings(server);
    std::string database = settings.ReadString("AppServer", "Database", "company.db");
    if (database.empty()) database = "company.db";
    env.databasePath = database.front() == '/' ? database : env.configDir + database;
    ::setenv("KV_REGISTRY_FILE", registry.c_str(), 1);
    ::setenv("KV_APPSERVER_CONFIG", server.c_str(), 1);
    ::setenv("KV_APPSERVER_DB", env.databasePath.c_str(), 1);
    return env;
}

}  // namespace kv

#include "suite/appserver/AppServerConfig.h"

#include <cstdlib>
#include <filesystem>

#include "platform/core/IniFiles.h"

namespace kv {

namespace {

constexpr const char* kSection = "AppServer";

std::string Resolve(const std::string& path, const std::filesystem::path& folder) {
    if (path.empty() || std::filesystem::path(path).is_absolute()) return path;
    return (folder / path).lexically_normal().string();
}

}  // namespace

std::string AppServerConfigFileName() {
    const char* fromEnv = std::getenv("KV_APPSERVER_CONFIG");
    return fromEnv && *fromEnv ? fromEnv : "/etc/kv/appserver.ini";
}

TAppServerConfig LoadAppServerConfig(const std::string& fileName) {
    TMemIniFile ini(fileName);
    const auto folder = std::filesystem::absolute(fileName).parent_path();
    TAppServerConfig config;
    config.address = ini.ReadString(kSection, "Address", config.address);
    config.port = ini.ReadInteger(kSection, "Port", config.port);
    config.database = Resolve(ini.ReadString(kSection, "Database", "company.db"), folder);
    config.logFile = Resolve(ini.ReadString(kSection, "LogFile", ""), folder);
    config.fullSync = ini.ReadBool(kSection, "FullSync", config.fullSync);
    config.maxClients = ini.ReadInteger(kSection, "MaxClients", config.maxClients);
    if (const char* database = std::getenv("KV_APPSERVER_DB"); database && *database)
        config.database = database;
    return config;
}

}  // namespace kv

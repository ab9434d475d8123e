// Arbitrary bytes as the client and the server configuration file of an installation: both
// readers finish without raising and leave consistent values.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/core/SysUtils.h"
#include "platform/core/Variant.h"
#include "src/runtime/VelmarINI.h"

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

// An installation folder of this process with a registry file that points at it.
const std::string& InstallationRoot() {
    static const std::string root = [] {
        // Every run writes two files: keep them in memory where the system offers it.
        const std::filesystem::path shm = "/dev/shm";
        const auto folder =
            std::filesystem::is_directory(shm) ? shm : std::filesystem::temp_directory_path();
        const auto base = folder / ("kv-fuzz-velmarini-" + std::to_string(getpid()));
        std::filesystem::create_directories(base / "App");
        static std::filesystem::path cleanup = base;
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(cleanup, ec);
        });
        const std::string app = (base / "App").string() + "/";
        std::ofstream(base / "registry.ini")
            << "[HKEY_LOCAL_MACHINE\\Software\\KVT\\Velmar]\nClientPath=" << app
            << "\nServerPath=" << app << "\nProfileType=0\n";
        setenv("KV_REGISTRY_FILE", (base / "registry.ini").c_str(), 1);
        // Bad passwords write error reports under the installation's Log folder; a file in
        // its place makes them fail at once, so the run writes nothing but the two files.
        std::ofstream(base / "App" / "Log") << "not a folder\n";
        return app;
    }();
    return root;
}

void Write(const std::string& file, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

bool IsCodePage(const std::string& page) {
    return page == "936" || page == "950" || page == "437";
}

void CheckFolders(const std::vector<std::string>& folders) {
    Check(!folders.empty());
    for (const auto& folder : folders)
        Check(!folder.empty() && folder.back() == '/');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& root = InstallationRoot();
    Write(root + "VelmarC.ini", data, size);
    Write(root + "VelmarS.ini", data, size);

    const kv::TVelmarIniC client;
    Check(client.RootPath == root && client.IniFileName == root + "VelmarC.ini");
    Check(IsCodePage(client.SysCodePage));
    Check(client.UIConvertMode == 0 || client.UIConvertMode == 2 || client.UIConvertMode == 4);
    Check(client.DBConvertMode <= 2);
    CheckFolders(client.WorkDLLPaths);
    if (client.ErrorCode.empty()) {
        Check(client.ServerList.DimCount() == 2 && client.ServerList.HighBound(1) == 1);
        Check(client.ServerList.HighBound(2) >= 0);
    } else {
        Check(client.ErrorCode == kv::kErrNoServerHost && client.ServerList.IsEmpty());
    }

    const kv::TVelmarIniS server;
    Check(server.ErrorCode.empty() && server.DBKind <= 2);
    Check(server.DBSettings.DimCount() == 2 && server.DBSettings.HighBound(1) == 3);
    // A blank address falls back to the main server.
    const std::string mainServer = kv::VarToStr(server.DBSettings.Get(0, 5));
    Check(!kv::Trim(server.SystemControlAddress).empty() ||
          server.SystemControlAddress == mainServer);
    CheckFolders(server.WorkDLLPaths);

    return 0;
}

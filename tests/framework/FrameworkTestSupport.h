// Helpers of the framework tests: an installation of the suite in a scratch folder (registry
// file, client configuration with its code pages and server) for the converter, the language
// folder and the connection to read, and the system's code page.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace kv::test {

// Sets an environment variable while the object lives, restoring the old state.
class ScopedEnvironment {
public:
    ScopedEnvironment(std::string name, const std::string& value) : name_(std::move(name)) {
        if (const char* old = std::getenv(name_.c_str())) {
            old_ = old;
            hadOld_ = true;
        }
        setenv(name_.c_str(), value.c_str(), 1);
    }
    ~ScopedEnvironment() {
        if (hadOld_)
            setenv(name_.c_str(), old_.c_str(), 1);
        else
            unsetenv(name_.c_str());
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string name_;
    std::string old_;
    bool hadOld_ = false;
};

struct TClientSettings {
    std::string sysCodePage = "936";  // the system's code page (KV_ACP)
    std::string uiCodePage = "936";
    std::string dbCodePage = "936";
    std::string computerName = "127.0.0.1";
    int serverPort = 211;
};

// A client installation: <scratch>/registry.ini names <scratch>/client/ as the client folder,
// which holds VelmarC.ini with the settings given.
class TestInstallation {
public:
    explicit TestInstallation(const TClientSettings& settings = {})
        : root_(MakeScratch()),
          registry_("KV_REGISTRY_FILE", root_ + "/registry.ini"),
          acp_("KV_ACP", settings.sysCodePage) {
        std::filesystem::create_directories(ClientPath());
        Write(root_ + "/registry.ini", "[HKEY_LOCAL_MACHINE\\Software\\KVT\\Velmar]\nClientPath=" +
                                           ClientPath() + "\nServerPath=" + ClientPath() + "\n");
        Write(ClientPath() + "VelmarC.ini",
              "[CodePage]\nUICodePage=" + settings.uiCodePage +
                  "\nDBCodePage=" + settings.dbCodePage +
                  "\n[Server Information]\nComputerName=" + settings.computerName +
                  "\nServerPort=" + std::to_string(settings.serverPort) + "\n");
    }
    ~TestInstallation() {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    TestInstallation(const TestInstallation&) = delete;
    TestInstallation& operator=(const TestInstallation&) = delete;

    // The client folder, ending in "/".
    std::string ClientPath() const { return root_ + "/client/"; }
    const std::string& Root() const { return root_; }

    static void Write(const std::string& file, const std::string& text) {
        std::filesystem::create_directories(std::filesystem::path(file).parent_path());
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << text;
    }

private:
    static std::string MakeScratch() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kvframework-XXXXXX").string();
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        const char* made = mkdtemp(buffer.data());
        return made != nullptr ? std::string(made) : pattern;
    }

    std::string root_;
    ScopedEnvironment registry_;
    ScopedEnvironment acp_;
};

}  // namespace kv::test

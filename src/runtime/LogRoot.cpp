#include "src/runtime/LogRoot.h"

#include <filesystem>
#include <system_error>

namespace kv {

std::optional<std::string> RegistryLogRoot() {
    // Filled in from the registry stand-in (see Registry.h).
    return std::string();
}

std::string UserTempFolder() {
    std::error_code ec;
    const auto temp = std::filesystem::temp_directory_path(ec);
    return ec ? std::string() : temp.string();
}

std::string ProgramFolder() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return std::string();
    return exe.parent_path().string();
}

std::string JoinLogFolder(const std::string& root) {
    if (root.empty()) return "Log";
    std::string folder = root;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder + "Log";
}

}  // namespace kv

#include "src/runtime/LogRoot.h"

#include "platform/core/Modules.h"
#include "platform/core/Registry.h"
#include "platform/core/SysUtils.h"

namespace kv {

std::optional<std::string> RegistryLogRoot() {
    try {
        TRegistry registry;
        registry.SetRootKey(HKEY_LOCAL_MACHINE);
        if (!registry.OpenKeyReadOnly(kVelmarKey)) return std::string();
        std::string root = registry.ReadString("ClientPath");
        if (root.empty()) root = registry.ReadString("ServerPath");
        return root;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::string ProgramFolder() {
    return ExtractFileDir(GetModuleFileName(0));
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

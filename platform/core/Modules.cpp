#include "platform/core/Modules.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>

namespace kv {

namespace {

thread_local std::string lastError;

// The handles LoadLibrary gave out, with their load counts, so that a stale or foreign
// handle is refused instead of reaching the loader.
class TLoadedModules {
public:
    void Add(HMODULE module) {
        std::lock_guard lock(mutex_);
        ++counts_[module];
    }
    bool Contains(HMODULE module) {
        std::lock_guard lock(mutex_);
        return counts_.contains(module);
    }
    // False when the handle was not loaded; otherwise counts one load off.
    bool Release(HMODULE module) {
        std::lock_guard lock(mutex_);
        const auto found = counts_.find(module);
        if (found == counts_.end()) return false;
        if (--found->second == 0) counts_.erase(found);
        return true;
    }

private:
    std::mutex mutex_;
    std::map<HMODULE, int> counts_;
};

TLoadedModules& Loaded() {
    static TLoadedModules modules;
    return modules;
}

void* AsPointer(HMODULE module) {
    return reinterpret_cast<void*>(module);
}

std::string LoaderError(const std::string& fallback) {
    const char* text = ::dlerror();
    return text != nullptr ? text : fallback;
}

std::string ProgramFileName() {
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

// The full path of a loaded object given its link-map entry (whose name is empty for the
// program itself).
std::string LinkMapFileName(const link_map* entry) {
    if (entry == nullptr) return {};
    if (entry->l_name == nullptr || entry->l_name[0] == '\0') return ProgramFileName();
    char resolved[PATH_MAX];
    return ::realpath(entry->l_name, resolved) != nullptr ? resolved : entry->l_name;
}

bool EndsWithDll(const std::string& name) {
    if (name.size() < 4) return false;
    std::string tail = name.substr(name.size() - 4);
    for (char& c : tail)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return tail == ".dll";
}

// One name, looked for beside the program first when it names no folder.
void* Open(const std::string& name, std::string& error) {
    if (name.find('/') == std::string::npos) {
        const std::filesystem::path beside =
            std::filesystem::path(ProgramFileName()).parent_path() / name;
        std::error_code ignored;
        if (std::filesystem::is_regular_file(beside, ignored))
            if (void* handle = ::dlopen(beside.c_str(), RTLD_NOW | RTLD_LOCAL)) return handle;
    }
    void* handle = ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) error = LoaderError("cannot load " + name);
    return handle;
}

}  // namespace

HMODULE LoadLibrary(const std::string& fileName) {
    lastError.clear();
    if (fileName.empty()) {
        lastError = "no library name given";
        return 0;
    }
    std::string error;
    void* handle = Open(fileName, error);
    if (handle == nullptr && EndsWithDll(fileName)) {
        std::string soError;
        handle = Open(fileName.substr(0, fileName.size() - 4) + ".so", soError);
        if (handle == nullptr) error += "; " + soError;
    }
    if (handle == nullptr) {
        lastError = error;
        return 0;
    }
    const auto module = reinterpret_cast<HMODULE>(handle);
    Loaded().Add(module);
    return module;
}

bool FreeLibrary(HMODULE module) {
    lastError.clear();
    if (!Loaded().Release(module)) {
        lastError = "not a loaded library";
        return false;
    }
    if (::dlclose(AsPointer(module)) != 0) {
        lastError = LoaderError("cannot unload the library");
        return false;
    }
    return true;
}

void* GetProcAddress(HMODULE module, const std::string& name) {
    lastError.clear();
    if (!Loaded().Contains(module)) {
        lastError = "not a loaded library";
        return nullptr;
    }
    ::dlerror();  // a symbol may legitimately be null; only dlerror tells a failure
    void* address = ::dlsym(AsPointer(module), name.c_str());
    if (address == nullptr) lastError = LoaderError("no export " + name);
    return address;
}

std::string GetModuleFileName(HMODULE module) {
    lastError.clear();
    if (module == 0) return ProgramFileName();
    if (!Loaded().Contains(module)) {
        lastError = "not a loaded library";
        return {};
    }
    link_map* entry = nullptr;
    if (::dlinfo(AsPointer(module), RTLD_DI_LINKMAP, &entry) != 0) {
        lastError = LoaderError("no information on the library");
        return {};
    }
    return LinkMapFileName(entry);
}

std::string ModuleFileNameOf(const void* address) {
    lastError.clear();
    Dl_info info{};
    link_map* entry = nullptr;
    if (address == nullptr ||
        ::dladdr1(address, &info, reinterpret_cast<void**>(&entry), RTLD_DL_LINKMAP) == 0) {
        lastError = "the address belongs to no module";
        return {};
    }
    return LinkMapFileName(entry);
}

std::string GetLastModuleError() {
    return lastError;
}

}  // namespace kv

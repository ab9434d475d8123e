#include "platform/core/ComObj.h"

#include <dlfcn.h>

#include <cstdlib>
#include <map>
#include <mutex>
#include <string>
#include <utility>

#include "platform/core/Exceptions.h"
#include "platform/core/IniFiles.h"
#include "platform/core/SysUtils.h"

namespace kv {

namespace {

constexpr const char* kDefaultClassRegistry = "/etc/kv/classes.ini";

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// Classes registered in this process and the libraries loaded for the registry file. Libraries
// are never unloaded: objects created from them, and objects those hand out, may live anywhere.
struct ClassTable {
    std::mutex lock;
    std::map<std::string, OleClassFactory> classes;  // key: class name in lower case
    std::map<std::string, void*> libraries;          // key: path as resolved
};

ClassTable& Classes() {
    static ClassTable table;
    return table;
}

OleClassFactory FindRegisteredClass(std::string_view progId) {
    ClassTable& table = Classes();
    std::lock_guard guard(table.lock);
    auto it = table.classes.find(LowerCase(progId));
    return it == table.classes.end() ? OleClassFactory() : it->second;
}

Variant CreateFromFactory(std::string_view progId, const OleClassFactory& factory) {
    DispatchPtr object;
    try {
        object = factory();
    } catch (const std::exception& e) {
        throw EOleSysError("Cannot create an object of class " + Quoted(progId) + ": " + e.what());
    }
    if (!object) throw EOleSysError("The factory of class " + Quoted(progId) + " gave no object");
    return Variant(std::move(object));
}

void* LoadClassLibrary(const std::string& path, std::string_view progId) {
    ClassTable& table = Classes();
    std::lock_guard guard(table.lock);
    auto it = table.libraries.find(path);
    if (it != table.libraries.end()) return it->second;
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = dlerror();
        throw EOleSysError("Cannot load library " + Quoted(path) + " of class " + Quoted(progId) +
                           ": " + (reason != nullptr ? reason : "unknown reason"));
    }
    table.libraries.emplace(path, handle);
    return handle;
}

KvOleFactoryFunc FindFactory(void* library, const std::string& path, const std::string& symbol,
                             std::string_view progId) {
    dlerror();
    void* address = dlsym(library, symbol.c_str());
    if (address == nullptr) {
        throw EOleSysError("Library " + Quoted(path) + " exports no factory " + Quoted(symbol) +
                           " for class " + Quoted(progId));
    }
    return reinterpret_cast<KvOleFactoryFunc>(address);
}

// The library's path: absolute as written, otherwise relative to the registry file's folder.
std::string ResolveLibraryPath(const std::string& library, const std::string& registry) {
    if (!library.empty() && library.front() == '/') return library;
    return ExtractFilePath(registry) + library;
}

Variant CreateFromRegistryFile(std::string_view progId) {
    std::string registry = ClassRegistryFileName();
    TMemIniFile file(registry);
    std::string section(progId);
    if (progId.empty() || !file.SectionExists(section))
        throw EOleSysError("Invalid class string " + Quoted(progId));
    std::string library = Trim(file.ReadString(section, "Library", ""));
    std::string symbol = Trim(file.ReadString(section, "Factory", ""));
    if (library.empty() || symbol.empty()) {
        throw EOleSysError("Class " + Quoted(progId) + " in " + Quoted(registry) +
                           " needs both Library= and Factory=");
    }
    std::string path = ResolveLibraryPath(library, registry);
    KvOleFactoryFunc factory = FindFactory(LoadClassLibrary(path, progId), path, symbol, progId);
    std::string name(progId);
    return CreateFromFactory(progId,
                             [factory, name] { return DispatchPtr(factory(name.c_str())); });
}

}  // namespace

void RegisterOleClass(std::string_view progId, OleClassFactory factory) {
    ClassTable& table = Classes();
    std::lock_guard guard(table.lock);
    table.classes[LowerCase(progId)] = std::move(factory);
}

bool UnregisterOleClass(std::string_view progId) {
    ClassTable& table = Classes();
    std::lock_guard guard(table.lock);
    return table.classes.erase(LowerCase(progId)) > 0;
}

Variant CreateOleObject(std::string_view progId) {
    if (OleClassFactory factory = FindRegisteredClass(progId)) {
        return CreateFromFactory(progId, factory);
    }
    return CreateFromRegistryFile(progId);
}

std::string ClassRegistryFileName() {
    const char* path = std::getenv("KV_CLASS_REGISTRY");
    return path != nullptr && *path != '\0' ? std::string(path) : kDefaultClassRegistry;
}

}  // namespace kv

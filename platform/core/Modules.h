// Loading shared libraries by file name and finding their functions, as plug-ins, the server
// module and the suite's outside libraries are reached.
//
// A name without a folder is looked for in the program's own folder first, then where the
// system looks for libraries. A name ending in ".dll" (any case) that is not found is tried
// with ".so" in its place, so names written the platform's way still load. Failures leave a
// readable reason in GetLastModuleError().
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>

namespace kv {

// A loaded library; 0 is none.
using HMODULE = std::uintptr_t;

// Loads the library (resolving all its symbols now) and returns its handle, or 0.
HMODULE LoadLibrary(const std::string& fileName);
// Drops one load of the library; false for 0 or an unknown handle.
bool FreeLibrary(HMODULE module);
// The exported symbol's address, or nullptr when the library has no such export.
void* GetProcAddress(HMODULE module, const std::string& name);
// The same as a typed function pointer: GetProcAddressAs<int(int)>(module, "F").
template <typename Function>
requires std::is_function_v<Function> Function* GetProcAddressAs(HMODULE module,
                                                                 const std::string& name) {
    void* address = GetProcAddress(module, name);
    Function* function = nullptr;
    static_assert(sizeof function == sizeof address);
    std::memcpy(&function, &address, sizeof function);  // object to function pointer
    return function;
}

// The full path of a loaded library; for 0, the path of the running program. "" when the
// handle is unknown.
std::string GetModuleFileName(HMODULE module);
// The full path of the library (or program) whose code or data holds this address; how a
// library learns its own file name: ModuleFileNameOf(&SomeFunctionOfTheLibrary).
// "" for an address that belongs to no module.
std::string ModuleFileNameOf(const void* address);
template <typename Function>
requires std::is_function_v<Function> std::string ModuleFileNameOf(Function* function) {
    const void* address = nullptr;
    std::memcpy(&address, &function, sizeof address);
    return ModuleFileNameOf(address);
}

// The reason of the last failure of the functions above on this thread ("" after success).
std::string GetLastModuleError();

}  // namespace kv

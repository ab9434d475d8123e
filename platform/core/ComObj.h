// Creation of automation objects by class name (ProgID), as CreateOleObject does it: first
// from the classes registered in this process, then from the class-registry file, which maps a
// class name to a shared library and the factory function it exports.
//
// Class-registry file (INI text; its path is the environment variable KV_CLASS_REGISTRY, or
// /etc/kv/classes.ini when that is not set):
//
//     [ReportCounterS.dmReportCounter]
//     Library=libappserver.so          ; relative paths start at the registry file's folder
//     Factory=KvCreateReportCounter    ; exported with C linkage, signature KvOleFactoryFunc
//
// Class names compare without regard to letter case. A library stays loaded for the rest of
// the process once an object was created from it, so objects (and any objects they hand out)
// never outlive their code.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/core/Dispatch.h"
#include "platform/core/Variant.h"

extern "C" {
// The factory a class library exports: a new object for the class name, created with `new`
// (the caller takes ownership and deletes it through Dispatch's virtual destructor), or null
// when it cannot create one. One function may serve several classes of its library.
typedef kv::Dispatch* (*KvOleFactoryFunc)(const char* progId);
}

namespace kv {

using OleClassFactory = std::function<DispatchPtr()>;

// Registers (or replaces) an in-process class. A registered class hides a class of the same
// name in the registry file.
void RegisterOleClass(std::string_view progId, OleClassFactory factory);
// Removes an in-process class; false when none was registered under that name.
bool UnregisterOleClass(std::string_view progId);

// A new object of the class, as a varDispatch variant. Raises EOleSysError:
//   "Invalid class string" with the name when the class is registered nowhere;
//   a message naming the library and the loader's reason when the library cannot be loaded;
//   a message naming the library and the function when the factory is not exported;
//   a message naming the class when the factory gives no object or fails.
Variant CreateOleObject(std::string_view progId);

// The class-registry file in use: KV_CLASS_REGISTRY, else /etc/kv/classes.ini.
std::string ClassRegistryFileName();

}  // namespace kv

// The class registry: classes findable by name for form descriptions and class references.
#include "platform/core/Classes.h"

#include <cstdio>
#include <mutex>
#include <vector>

#include "platform/core/SysUtils.h"

namespace kv {
namespace {

struct ClassRegistry {
    std::mutex mutex;
    std::vector<TClass> classes;

    TClass FindLocked(std::string_view name) const {
        for (TClass cls : classes)
            if (SameText(cls->Name(), name)) return cls;
        return nullptr;
    }
};

ClassRegistry& Registry() {
    // Never destroyed: libraries unloaded at exit still unregister their classes.
    static auto* registry = new ClassRegistry();
    return *registry;
}

}  // namespace

void RegisterClass(TClass cls) {
    if (cls == nullptr) return;
    ClassRegistry& registry = Registry();
    std::lock_guard lock(registry.mutex);
    // The class and its ancestors, up to TPersistent (or the root for other classes).
    for (TClass c = cls; c != nullptr && c != TObject::StaticClass(); c = c->Parent()) {
        TClass known = registry.FindLocked(c->Name());
        if (known == c) break;
        if (known != nullptr) throw EFilerError("A class named " + c->Name() + " already exists");
        registry.classes.push_back(c);
        if (c == TPersistent::StaticClass()) break;
    }
}

void RegisterClasses(std::initializer_list<TClass> classes) {
    for (TClass cls : classes)
        RegisterClass(cls);
}

void UnRegisterClass(TClass cls) {
    ClassRegistry& registry = Registry();
    std::lock_guard lock(registry.mutex);
    std::erase(registry.classes, cls);
}

TClass GetClass(std::string_view name) {
    ClassRegistry& registry = Registry();
    std::lock_guard lock(registry.mutex);
    return registry.FindLocked(name);
}

TClass FindClass(std::string_view name) {
    TClass cls = GetClass(name);
    if (cls == nullptr) throw EClassNotFound("Class " + std::string(name) + " not found");
    return cls;
}

namespace detail {

TClassRegistration::TClassRegistration(TClass (*cls)()) : cls_(cls()) {
    // An exception cannot leave a library's load; a clash is reported and the first class kept.
    try {
        RegisterClass(cls_);
    } catch (const Exception& error) {
        std::fprintf(stderr, "%s\n", error.Message().c_str());
        cls_ = nullptr;
    }
}

TClassRegistration::~TClassRegistration() {
    if (cls_ != nullptr) UnRegisterClass(cls_);
}

}  // namespace detail

}  // namespace kv

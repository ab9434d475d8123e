// The Classes unit: persistent objects, components, collections, string lists, pointer lists,
// the standard events, and the registry that finds classes by name for form descriptions.
#pragma once

#include <initializer_list>
#include <string_view>
#include <vector>

#include "platform/core/Collection.h"
#include "platform/core/Component.h"
#include "platform/core/Persistent.h"
#include "platform/core/Strings.h"
#include "platform/core/System.h"
#include "platform/core/TypInfo.h"

namespace kv {

// Makes the class (and its ancestors up to TPersistent) findable by name. Registering a class
// again does nothing; another class of a registered name raises EFilerError "A class named X
// already exists".
void RegisterClass(TClass cls);
void RegisterClasses(std::initializer_list<TClass> classes);
void UnRegisterClass(TClass cls);
// The registered class of that name (letter case ignored): FindClass raises EClassNotFound
// "Class X not found", GetClass answers nullptr.
TClass FindClass(std::string_view name);
TClass GetClass(std::string_view name);

// Registers Class when the library that defines it is loaded and unregisters it when it is
// unloaded. Write at namespace scope in the class's source file: KV_REGISTER_CLASS(TButton);
#define KV_REGISTER_CLASS(Class) \
    static const ::kv::detail::TClassRegistration kvRegistration##Class(&Class::StaticClass)

namespace detail {
class TClassRegistration {
public:
    explicit TClassRegistration(TClass (*cls)());
    ~TClassRegistration();
    TClassRegistration(const TClassRegistration&) = delete;
    TClassRegistration& operator=(const TClassRegistration&) = delete;

private:
    TClass cls_;
};
}  // namespace detail

}  // namespace kv

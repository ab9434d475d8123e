// LibStrs: published properties by name, for the framework's generic access to controls.
#include "platform/core/Classes.h"
#include "platform/core/TypInfo.h"
#include "src/runtime/LibStrs.h"

namespace kv {

namespace {

const TPropInfo* FindPublished(const TComponent* component, std::string_view propName) {
    if (component == nullptr || propName.empty()) return nullptr;
    return GetPropInfo(component, propName);
}

bool IsStringKind(const TPropInfo& prop) {
    TTypeKind kind = prop.PropType()->Kind();
    return kind == tkString || kind == tkLString || kind == tkWString;
}

}  // namespace

void SetStrPropByName(TComponent* component, std::string_view propName, std::string_view value) {
    const TPropInfo* prop = FindPublished(component, propName);
    // As the platform's string setter does, a property of another kind or without a writer is
    // left as it is.
    if (prop == nullptr || !IsStringKind(*prop) || !prop->IsWritable()) return;
    SetStrProp(component, prop, value);
}

bool HasPropByName(const TComponent* component, std::string_view propName) {
    return FindPublished(component, propName) != nullptr;
}

}  // namespace kv

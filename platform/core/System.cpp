#include "platform/core/System.h"

#include "platform/core/SysUtils.h"
#include "platform/core/TypInfo.h"

namespace kv {

TObject::~TObject() = default;

TClass TObject::StaticClass() {
    static const TClassInfo* const info = detail::NewClassInfo([] {
        TClassSpec spec;
        spec.name = "TObject";
        spec.createObject = []() -> TObject* { return NewObject<TObject>(); };
        return spec;
    }());
    return info;
}

const std::string& TObject::ClassName() const {
    return ClassType()->Name();
}

TClass TObject::ClassParent() const {
    return ClassType()->Parent();
}

bool TObject::ClassNameIs(std::string_view name) const {
    return SameText(ClassName(), name);
}

bool TObject::InheritsFrom(TClass cls) const {
    return ClassType()->InheritsFrom(cls);
}

bool TObject::InheritsFrom(std::string_view className) const {
    return ClassType()->InheritsFrom(className);
}

void* TObject::MethodAddress(std::string_view name) const {
    return ClassType()->MethodAddress(name);
}

std::string TObject::MethodName(const void* code) const {
    return ClassType()->MethodName(code);
}

void TObject::Free() {
    BeforeDestruction();
    delete this;
}

}  // namespace kv

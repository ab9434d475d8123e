// The metaclass: class chain, virtual constructors and the published tables.
#include "platform/core/SysUtils.h"
#include "platform/core/TypInfo.h"

namespace kv {

namespace detail {

const TClassInfo* NewClassInfo(const TClassSpec& spec) {
    struct AllClasses {
        std::mutex mutex;
        std::vector<std::unique_ptr<TClassInfo>> classes;
    };
    static auto* all = new AllClasses();
    auto info = std::make_unique<TClassInfo>(spec);
    std::lock_guard lock(all->mutex);
    all->classes.push_back(std::move(info));
    return all->classes.back().get();
}

}  // namespace detail

TClassInfo::TClassInfo(const TClassSpec& spec)
    : spec_(spec),
      name_(spec.name),
      parent_(spec.parent),
      typeInfo_(TTypeInfo::Class(spec.name, this)) {}

TClassInfo::~TClassInfo() = default;

bool TClassInfo::InheritsFrom(TClass cls) const {
    for (TClass c = this; c != nullptr; c = c->parent_)
        if (c == cls) return true;
    return false;
}

bool TClassInfo::InheritsFrom(std::string_view className) const {
    for (TClass c = this; c != nullptr; c = c->parent_)
        if (SameText(c->name_, className)) return true;
    return false;
}

TComponent* TClassInfo::CreateComponent(TComponent* owner) const {
    if (spec_.createComponent == nullptr)
        throw EInvalidOperation("Class " + name_ + " cannot be created as a component");
    return spec_.createComponent(owner);
}

TCollectionItem* TClassInfo::CreateItem(TCollection* collection) const {
    if (spec_.createItem == nullptr)
        throw EInvalidOperation("Class " + name_ + " cannot be created as a collection item");
    return spec_.createItem(collection);
}

TObject* TClassInfo::CreateObject() const {
    if (spec_.createObject == nullptr)
        throw EInvalidOperation("Class " + name_ + " cannot be created without arguments");
    return spec_.createObject();
}

void TClassInfo::EnsurePublished() const {
    if (spec_.publish == nullptr) return;
    std::call_once(published_, [this] { spec_.publish(const_cast<TClassInfo&>(*this)); });
}

TPropInfo& TClassInfo::AddProperty(std::unique_ptr<TPropInfo> prop) {
    prop->declaring_ = this;
    for (auto& existing : props_) {
        if (SameText(existing->name_, prop->name_)) {
            existing = std::move(prop);
            return *existing;
        }
    }
    props_.push_back(std::move(prop));
    return *props_.back();
}

void TClassInfo::AddField(std::unique_ptr<TFieldInfo> field) {
    fields_.push_back(std::move(field));
}

void TClassInfo::AddMethod(std::string_view name, void* code) {
    methods_.push_back(TMethodEntry{std::string(name), code});
}

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const {
    for (TClass c = this; c != nullptr; c = c->parent_) {
        c->EnsurePublished();
        for (const auto& prop : c->props_)
            if (SameText(prop->Name(), name)) return prop.get();
    }
    return nullptr;
}

const TFieldInfo* TClassInfo::FindField(std::string_view name) const {
    if (name.empty()) return nullptr;
    for (TClass c = this; c != nullptr; c = c->parent_) {
        c->EnsurePublished();
        for (const auto& field : c->fields_)
            if (SameText(field->Name(), name)) return field.get();
    }
    return nullptr;
}

const TMethodEntry* TClassInfo::FindMethod(std::string_view name) const {
    for (TClass c = this; c != nullptr; c = c->parent_) {
        c->EnsurePublished();
        for (const auto& method : c->methods_)
            if (SameText(method.name, name)) return &method;
    }
    return nullptr;
}

const TMethodEntry* TClassInfo::FindMethodByCode(const void* code) const {
    if (code == nullptr) return nullptr;
    for (TClass c = this; c != nullptr; c = c->parent_) {
        c->EnsurePublished();
        for (const auto& method : c->methods_)
            if (method.code == code) return &method;
    }
    return nullptr;
}

std::vector<const TPropInfo*> TClassInfo::Properties() const {
    std::vector<TClass> chain;
    for (TClass c = this; c != nullptr; c = c->parent_)
        chain.push_back(c);
    std::vector<const TPropInfo*> list;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        (*it)->EnsurePublished();
        for (const auto& prop : (*it)->props_) {
            bool replaced = false;
            for (auto& entry : list) {
                if (SameText(entry->Name(), prop->Name())) {
                    entry = prop.get();
                    replaced = true;
                    break;
                }
            }
            if (!replaced) list.push_back(prop.get());
        }
    }
    return list;
}

void* TClassInfo::MethodAddress(std::string_view name) const {
    const TMethodEntry* method = FindMethod(name);
    return method == nullptr ? nullptr : method->code;
}

std::string TClassInfo::MethodName(const void* code) const {
    const TMethodEntry* method = FindMethodByCode(code);
    return method == nullptr ? std::string() : method->name;
}

bool TPropInfo::IsStored(TObject& instance) const {
    if (storedIf_) return storedIf_(instance);
    return stored_;
}

void TPropInfo::SetValue(TObject& instance, const TPropValue& value) const {
    if (!set_) throw EPropertyError("Property " + name_ + " is read-only");
    set_(instance, value);
}

bool TFieldInfo::Set(TObject& instance, TObject* value) const {
    if (value != nullptr && !value->InheritsFrom(FieldClass())) return false;
    set_(instance, value);
    return true;
}

namespace {

enum class Storage { kOrdinal, kFloat, kString, kObject, kMethod, kOther };

Storage StorageOf(const TTypeInfo* type) {
    if (type->IsOrdinal()) return Storage::kOrdinal;
    switch (type->Kind()) {
        case tkFloat:
            return Storage::kFloat;
        case tkString:
        case tkLString:
        case tkWString:
            return Storage::kString;
        case tkClass:
            return Storage::kObject;
        case tkMethod:
            return Storage::kMethod;
        default:
            return Storage::kOther;
    }
}

}  // namespace

TPropBuilder& TPropBuilder::Type(const TTypeInfo* type) {
    if (type == nullptr || StorageOf(type) != StorageOf(prop_.type_))
        throw EPropertyError("Property " + prop_.name_ + " of type " + prop_.type_->Name() +
                             " cannot take the type " + (type ? type->Name() : "(none)"));
    prop_.type_ = type;
    return *this;
}

TPropBuilder& TPropBuilder::Default(std::int64_t value) {
    prop_.default_ = value;
    return *this;
}

TPropBuilder& TPropBuilder::NoDefault() {
    prop_.default_.reset();
    return *this;
}

TPropBuilder& TPropBuilder::Stored(bool stored) {
    prop_.stored_ = stored;
    prop_.storedIf_ = nullptr;
    return *this;
}

TPropBuilder& TPropBuilder::ReadOnly() {
    prop_.set_ = nullptr;
    return *this;
}

}  // namespace kv

#include "platform/core/Component.h"

#include <algorithm>

#include "platform/core/SysUtils.h"

namespace kv {

KV_PUBLISHED(TComponent) {
    // The name travels in a form description's object header, not as a property line.
    b.Property("Name", &T::Name, &T::SetName).Stored(false);
    b.Property("Tag", &T::Tag, &T::SetTag).Default(0);
}

namespace {

bool IsValidIdent(std::string_view name) {
    if (name.empty()) return false;
    auto letter = [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    };
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (!letter(name.front())) return false;
    return std::all_of(name.begin(), name.end(), [&](char c) { return letter(c) || digit(c); });
}

}  // namespace

TComponent::TComponent(TComponent* owner) {
    if (owner != nullptr) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    Destroying();
    while (!freeNotifies_.empty()) {
        TComponent* partner = freeNotifies_.back();
        partner->Notification(this, opRemove);
        // An override that did not pass the notification on leaves the link: drop it here.
        if (!freeNotifies_.empty() && freeNotifies_.back() == partner) {
            freeNotifies_.pop_back();
            partner->RemoveNotification(this);
        }
    }
    DestroyComponents();
    if (owner_ != nullptr) owner_->RemoveComponent(this);
}

void TComponent::BeforeDestruction() {
    if (!state_.Contains(csDestroying)) Destroying();
}

void TComponent::Destroying() {
    if (state_.Contains(csDestroying)) return;
    state_.Include(csDestroying);
    for (TComponent* component : components_)
        component->Destroying();
}

void TComponent::SetName(const std::string& name) {
    if (name_ == name) return;
    if (!name.empty() && !IsValidIdent(name))
        throw EComponentError("'" + name + "' is not a valid component name");
    if (owner_ != nullptr) {
        owner_->ValidateRename(this, name_, name);
        owner_->CheckFieldFits(this, name);
    } else {
        ValidateRename(nullptr, name_, name);
    }
    SetReference(false);
    name_ = name;
    SetReference(true);
}

void TComponent::ValidateRename(TComponent* component, std::string_view curName,
                                std::string_view newName) {
    if (component != nullptr && !SameText(curName, newName) && component->owner_ == this &&
        FindComponent(newName) != nullptr)
        throw EComponentError("A component named " + std::string(newName) + " already exists");
}

// Refuses a component whose published field of that name in this owner is of another class.
void TComponent::CheckFieldFits(const TComponent* component, const std::string& name) const {
    if (name.empty()) return;
    const TFieldInfo* field = ClassType()->FindField(name);
    if (field != nullptr && !component->InheritsFrom(field->FieldClass()))
        throw EComponentError("Field " + name + " of " + ClassName() + " holds a " +
                              field->FieldClass()->Name() + ", not a " + component->ClassName());
}

TComponent* TComponent::Components(int index) const {
    if (index < 0 || index >= ComponentCount())
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return components_[static_cast<std::size_t>(index)];
}

int TComponent::ComponentIndex() const {
    if (owner_ == nullptr) return -1;
    auto& list = owner_->components_;
    return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TComponent::SetComponentIndex(int index) {
    if (owner_ == nullptr) return;
    auto& list = owner_->components_;
    const int count = static_cast<int>(list.size());
    index = std::clamp(index, 0, count - 1);
    const int current = ComponentIndex();
    if (current == index) return;
    list.erase(list.begin() + current);
    list.insert(list.begin() + index, this);
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    if (name.empty()) return nullptr;
    for (TComponent* component : components_)
        if (SameText(component->name_, name)) return component;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
    if (component == nullptr) throw EComponentError("Cannot insert a nil component");
    for (const TComponent* owner = this; owner != nullptr; owner = owner->owner_)
        if (owner == component)
            throw EComponentError("Component " + component->name_ +
                                  " cannot be owned by itself or by what it owns");
    if (component->owner_ == this) return;
    if (!component->name_.empty() && FindComponent(component->name_) != nullptr)
        throw EComponentError("A component named " + component->name_ + " already exists");
    CheckFieldFits(component, component->name_);
    if (component->owner_ != nullptr) component->owner_->RemoveComponent(component);
    Insert(component);
    component->SetReference(true);
    if (state_.Contains(csDesigning)) component->SetDesigning(true);
    Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
    if (component == nullptr || component->owner_ != this) return;
    Notification(component, opRemove);
    component->SetReference(false);
    Remove(component);
}

void TComponent::DestroyComponents() {
    while (!components_.empty()) {
        TComponent* component = components_.back();
        if (component->state_.Contains(csFreeNotification)) {
            RemoveComponent(component);
        } else {
            component->SetReference(false);
            Remove(component);
        }
        component->Free();
    }
}

void TComponent::Insert(TComponent* component) {
    components_.push_back(component);
    component->owner_ = this;
}

void TComponent::Remove(TComponent* component) {
    std::erase(components_, component);
    component->owner_ = nullptr;
}

void TComponent::FreeNotification(TComponent* component) {
    if (component == nullptr || component == this) return;
    if (owner_ == nullptr || component->owner_ != owner_) {
        if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) ==
            freeNotifies_.end()) {
            freeNotifies_.push_back(component);
            component->FreeNotification(this);
        }
    }
    state_.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
    if (component == nullptr) return;
    RemoveNotification(component);
    component->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* component) {
    std::erase(freeNotifies_, component);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == opRemove && component != nullptr) RemoveFreeNotification(component);
    // Handlers may free components; walk down from the end and re-check the bound.
    for (int i = ComponentCount() - 1; i >= 0; --i) {
        if (i >= ComponentCount()) continue;
        components_[static_cast<std::size_t>(i)]->Notification(component, operation);
    }
}

void TComponent::SetDesigning(bool designing, bool setChildren) {
    if (designing)
        state_.Include(csDesigning);
    else
        state_.Exclude(csDesigning);
    if (setChildren)
        for (TComponent* component : components_)
            component->SetDesigning(designing, true);
}

void TComponent::Loaded() {
    state_.Exclude(csLoading);
}

// Puts this component into (or takes it out of) the owner's published field of its name.
void TComponent::SetReference(bool enable) {
    if (owner_ == nullptr || name_.empty()) return;
    const TFieldInfo* field = owner_->ClassType()->FindField(name_);
    if (field == nullptr) return;
    if (enable) {
        field->Set(*owner_, this);
    } else if (field->Get(*owner_) == this) {
        field->Set(*owner_, nullptr);
    }
}

}  // namespace kv

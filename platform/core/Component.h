// TComponent: named objects owned by other components. An owner frees what it owns, keeps it in
// insertion order, finds it by name, and fills its own published fields of the same names.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Persistent.h"

namespace kv {

KV_ENUM(TOperation, opInsert, opRemove);
KV_ENUM(TComponentStateItem, csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor,
        csUpdating, csFixups, csFreeNotification, csInline, csDesignInstance);
KV_SET(TComponentState, TComponentStateItem);

// Components that have an owner must be created with new (the owner deletes them). Free them
// with Free()/FreeAndNil or let the owner free them; `delete` works too, but then csDestroying
// is set only once the derived destructors have run.
class TComponent : public TPersistent {
    KV_CLASS(TComponent, TPersistent)
public:
    explicit TComponent(TComponent* owner);
    // Frees the owned components (last first), tells the free-notification subscribers and the
    // owner's components that this one goes (Notification opRemove), and leaves the owner.
    ~TComponent() override;
    void BeforeDestruction() override;

    const std::string& Name() const { return name_; }
    // Raises EComponentError for a name that is no identifier ("'1x' is not a valid component
    // name"), for a name another component of the owner has ("A component named X already
    // exists", letter case ignored), and for a name whose published field in the owner holds
    // another class. The empty name is allowed.
    void SetName(const std::string& name);
    TComponent* Owner() const { return owner_; }
    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }

    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const;  // EListError when out of range
    // The position in the owner's list (-1 without owner); setting moves it there (clamped).
    int ComponentIndex() const;
    void SetComponentIndex(int index);
    // The owned component of that name (letter case ignored), or nullptr.
    TComponent* FindComponent(std::string_view name) const;
    template <class T>
    T* FindComponentAs(std::string_view name) const {
        return dynamic_cast<T*>(FindComponent(name));
    }

    // Takes component over from its previous owner. Refuses (EComponentError) null, this
    // component, its owners, and a component whose name is taken.
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    // Frees all owned components, last first.
    void DestroyComponents();

    // component will get Notification(this, opRemove) when this one is freed, and the other way
    // round. Components of the same owner hear of each other through the owner anyway.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    TComponentState ComponentState() const { return state_; }
    // For readers and writers of form descriptions (csLoading, csReading, csWriting).
    void IncludeState(TComponentStateItem item) { state_.Include(item); }
    void ExcludeState(TComponentStateItem item) { state_.Exclude(item); }
    void SetDesigning(bool designing, bool setChildren = true);

    // Called once all properties were read from a form description: ends csLoading. Overrides
    // call inherited::Loaded() first.
    virtual void Loaded();
    // Marks this component and its owned components csDestroying.
    void Destroying();

    // The visual parent (a control's parent window); none for plain components.
    virtual TComponent* GetParentComponent() const { return nullptr; }
    virtual bool HasParent() const { return false; }
    std::string GetNamePath() const override { return name_; }

protected:
    // A component was inserted into or removed from the owner, or a free-notification partner
    // goes. The base passes it on to the owned components; overrides call it too and forget
    // references to a component that is being removed.
    virtual void Notification(TComponent* component, TOperation operation);
    virtual void ValidateRename(TComponent* component, std::string_view curName,
                                std::string_view newName);
    TPersistent* GetOwner() const override { return owner_; }

private:
    void Insert(TComponent* component);
    void Remove(TComponent* component);
    void RemoveNotification(TComponent* component);
    void SetReference(bool enable);
    void CheckFieldFits(const TComponent* component, const std::string& name) const;

    std::string name_;
    TComponent* owner_ = nullptr;
    int tag_ = 0;
    TComponentState state_;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
};

}  // namespace kv

// Collections: lists of items of one class that belong to an owner (a list view's columns, a
// status bar's panels) and are written to form descriptions as a whole.
#pragma once

#include <string>
#include <vector>

#include "platform/core/Persistent.h"

namespace kv {

class TCollection;

class TCollectionItem : public TPersistent {
    KV_CLASS(TCollectionItem, TPersistent)
public:
    // Adds the item to collection (when not null). Create items with collection->Add() or
    // NewObject, so that the collection hears of them once they are complete.
    explicit TCollectionItem(TCollection* collection);
    // Leaves the collection.
    ~TCollectionItem() override;
    void AfterConstruction() override;

    TCollection* Collection() const { return collection_; }
    void SetCollection(TCollection* collection);
    int ID() const { return id_; }
    int Index() const;
    void SetIndex(int index);
    virtual std::string DisplayName() const { return ClassName(); }
    std::string GetNamePath() const override;

protected:
    // Tells the collection that this item (or, with allItems, the whole collection) changed.
    void Changed(bool allItems);
    TPersistent* GetOwner() const override;

private:
    friend class TCollection;
    TCollection* collection_ = nullptr;
    int index_ = -1;  // the position in collection_ (see TCollection::numbered_)
    int id_ = 0;
    bool constructed_ = false;
};

class TCollection : public TPersistent {
    KV_CLASS(TCollection, TPersistent)
public:
    // itemClass must be a TCollectionItem class with a constructor taking the collection.
    explicit TCollection(TClass itemClass);
    ~TCollection() override;

    TClass ItemClass() const { return itemClass_; }
    int Count() const { return static_cast<int>(items_.size()); }
    TCollectionItem* Items(int index) const;  // EListError when out of range
    template <class T>
    T* ItemAs(int index) const {
        return dynamic_cast<T*>(Items(index));
    }
    // Items[index].Assign(source).
    void SetItem(int index, const TCollectionItem* source);
    TCollectionItem* Add();
    TCollectionItem* Insert(int index);
    void Delete(int index);
    void Clear();
    TCollectionItem* FindItemID(int id) const;

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }
    // Copies the items of another collection (item by item through Assign).
    void Assign(const TPersistent* source) override;
    std::string GetNamePath() const override;

protected:
    // item changed, or the whole collection when item is null; called outside updates.
    virtual void Update(TCollectionItem* item);
    virtual void Added(TCollectionItem& item);
    virtual void Deleting(TCollectionItem& item);
    void Changed();
    // Puts the items in the order given, in one pass and without notifications; order must
    // hold each item of the collection once (else EListError and nothing moves).
    void ReorderItems(const std::vector<TCollectionItem*>& order);

private:
    friend class TCollectionItem;
    // The position of an item of this collection, numbering the items from numbered_ on when
    // the item's own number may be out of date.
    std::size_t PositionOf(const TCollectionItem* item);
    std::size_t StalePosition(const TCollectionItem* item) const;
    void Renumber(std::size_t from, std::size_t to);
    void InsertItem(TCollectionItem* item);
    void RemoveItem(TCollectionItem* item);
    void MoveItem(TCollectionItem* item, int index);

    TClass itemClass_;
    std::vector<TCollectionItem*> items_;
    // The items before numbered_ hold their position in index_; the others' numbers may be
    // out of date (and are never below numbered_), so that removing items from the front does
    // not number the rest each time.
    std::size_t numbered_ = 0;
    int updateCount_ = 0;
    int nextId_ = 0;
};

// A collection that names its owner (for GetOwner and name paths).
class TOwnedCollection : public TCollection {
    KV_CLASS(TOwnedCollection, TCollection)
public:
    TOwnedCollection(TPersistent* owner, TClass itemClass);

protected:
    TPersistent* GetOwner() const override { return owner_; }

private:
    TPersistent* owner_;
};

}  // namespace kv

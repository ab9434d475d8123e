// The basics of the Classes unit: the standard event types, TPersistent (objects that copy
// themselves with Assign and are written to form descriptions) and TList (a list of pointers).
#pragma once

#include <string>
#include <vector>

#include "platform/core/Events.h"
#include "platform/core/Exceptions.h"
#include "platform/core/System.h"
#include "platform/core/TypInfo.h"

namespace kv {

KV_ENUM(TShiftStateItem, ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble);
KV_SET(TShiftState, TShiftStateItem);
KV_ENUM(TCloseAction, caNone, caHide, caFree, caMinimize);

KV_EVENT(TNotifyEvent, void(TObject* Sender));
KV_EVENT(TKeyEvent, void(TObject* Sender, Word& Key, TShiftState Shift));
KV_EVENT(TKeyPressEvent, void(TObject* Sender, char& Key));
KV_EVENT(TCloseEvent, void(TObject* Sender, TCloseAction& Action));
KV_EVENT(TCloseQueryEvent, void(TObject* Sender, bool& CanClose));

class TPersistent : public TObject {
    KV_CLASS(TPersistent, TObject)
public:
    TPersistent() = default;

    // Copies source into this object. The base asks source to AssignTo this object, and raises
    // EConvertError "Cannot assign a X to a Y" when neither side knows the other (X is "nil"
    // for a null source).
    virtual void Assign(const TPersistent* source);
    virtual std::string GetNamePath() const;

protected:
    virtual void AssignTo(TPersistent* dest) const;
    // The object this one belongs to (a collection's owner, say), for name paths.
    virtual TPersistent* GetOwner() const { return nullptr; }
    [[noreturn]] void AssignError(const TPersistent* source) const;
};

// A list of untyped pointers. Index errors raise EListError "List index out of bounds (n)".
class TList : public TObject {
    KV_CLASS(TList, TObject)
public:
    TList() = default;

    int Count() const { return static_cast<int>(items_.size()); }
    void* Items(int index) const;
    void SetItems(int index, void* item);
    void* operator[](int index) const { return Items(index); }
    void* First() const { return Items(0); }
    void* Last() const { return Items(Count() - 1); }

    int Add(void* item);
    void Insert(int index, void* item);
    void Delete(int index);
    // Removes the first occurrence; its former index, or -1.
    int Remove(void* item);
    // Removes the first occurrence and answers item, or nullptr when absent.
    void* Extract(void* item);
    int IndexOf(const void* item) const;
    void Exchange(int index1, int index2);
    void Move(int curIndex, int newIndex);
    void Clear() { items_.clear(); }
    // Removes the null entries.
    void Pack();

private:
    void CheckIndex(int index) const;
    std::vector<void*> items_;
};

}  // namespace kv

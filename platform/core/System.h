// The root of the platform's class tree. Every object that is created by class name, carries
// published properties, takes part in component ownership or handles events derives from
// TObject and declares itself with KV_CLASS (in the class) and KV_PUBLISHED (in its source file,
// see TypInfo.h), which gives it a metaclass: ClassName, ClassParent, InheritsFrom, the
// published property, field and method tables, and a factory for creation by class name.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace kv {

using Byte = std::uint8_t;
using Word = std::uint16_t;

class TClassInfo;
// The metaclass of a class: T::StaticClass() or object->ClassType(). Never null for an object.
using TClass = const TClassInfo*;

// Declares the class's place in the class tree; put it first in the class body. It leaves
// the body in private access, as a class body starts.
//   class TMyThing : public TComponent {
//       KV_CLASS(TMyThing, TComponent)
//   public:
//       ...
//   };
// `inherited` names the parent class, so overrides call `inherited::Loaded()`.
#define KV_CLASS(Class, Parent)               \
public:                                       \
    using inherited = Parent;                 \
    static ::kv::TClass StaticClass();        \
    ::kv::TClass ClassType() const override { \
        return StaticClass();                 \
    }                                         \
                                              \
private:

class TObject {
public:
    TObject() = default;
    // Objects have identity: they are copied with Assign (TPersistent), never by value.
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject();

    static TClass StaticClass();
    virtual TClass ClassType() const { return StaticClass(); }

    const std::string& ClassName() const;
    TClass ClassParent() const;
    // Class names compare without regard to letter case, as the platform's identifiers do.
    bool ClassNameIs(std::string_view name) const;
    bool InheritsFrom(TClass cls) const;
    bool InheritsFrom(std::string_view className) const;

    // The code address of the published method of that name on this object's class chain
    // (nullptr when there is none), and the name of the published method with that code.
    void* MethodAddress(std::string_view name) const;
    std::string MethodName(const void* code) const;

    // Called by the class factories and NewObject once the object is fully constructed, and by
    // Free before the object is destroyed: the places where overridable work may run that
    // C++ constructors and destructors cannot dispatch to derived classes.
    virtual void AfterConstruction() {}
    virtual void BeforeDestruction() {}

    // Destroys the object (which must have been created with new): BeforeDestruction, then
    // delete. Use FreeObject or FreeAndNil where the pointer may be null.
    void Free();
};

// Frees the object when the pointer is not null.
inline void FreeObject(TObject* object) {
    if (object != nullptr) object->Free();
}

// Sets the pointer to null first, then frees what it pointed to.
template <class T>
void FreeAndNil(T*& object) {
    T* doomed = object;
    object = nullptr;
    FreeObject(doomed);
}

// new T(args...) followed by AfterConstruction; an error in AfterConstruction frees the object
// again and passes on.
template <class T, class... Args>
T* NewObject(Args&&... args) {
    T* object = new T(std::forward<Args>(args)...);
    try {
        object->AfterConstruction();
    } catch (...) {
        object->Free();
        throw;
    }
    return object;
}

}  // namespace kv

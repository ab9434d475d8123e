// Run-time type information: the metaclass of every class (TClassInfo), the types of published
// properties (TTypeInfo), and access to published properties, fields and methods by name.
//
// A class publishes its members in one block in its source file (see
// docs/published-properties.md):
//   KV_PUBLISHED(TMyButton) {
//       b.Property("Caption", &T::GetCaption, &T::SetCaption);
//       b.Property("Tag2", &T::tag2_);                  // a field, read and written directly
//       b.Property("Color", &T::color_, &T::SetColor).Type(ColorTypeInfo()).Default(0);
//       b.Event("OnClick", &T::OnClick_);
//       b.Method("btnOkClick", &T::btnOkClick);
//       b.Field("btnOk", &T::btnOk);
//   }
// Tables are built on first use (no static-initialisation order to respect); a class's
// properties follow its parent's, and a property published again replaces the parent's entry
// in place.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <limits>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeinfo>
#include <utility>
#include <variant>
#include <vector>

#include "platform/core/Events.h"
#include "platform/core/Exceptions.h"
#include "platform/core/System.h"

namespace kv {

class TComponent;
class TCollection;
class TCollectionItem;

enum TTypeKind : int {
    tkUnknown,
    tkInteger,
    tkChar,
    tkEnumeration,
    tkFloat,
    tkString,
    tkSet,
    tkClass,
    tkMethod,
    tkWChar,
    tkLString,
    tkWString,
    tkVariant,
    tkArray,
    tkRecord,
    tkInterface,
    tkInt64,
    tkDynArray
};

// The type of a published property. Instances live as long as the process (or the library
// that declared them); compare types by Name() or by pointer.
class TTypeInfo {
public:
    TTypeInfo(TTypeInfo&&) = default;
    TTypeInfo(const TTypeInfo&) = delete;
    TTypeInfo& operator=(const TTypeInfo&) = delete;

    TTypeKind Kind() const { return kind_; }
    const std::string& Name() const { return name_; }

    // tkInteger, tkChar, tkWChar, tkEnumeration, tkSet (the bit mask), tkInt64.
    bool IsOrdinal() const;
    std::int64_t MinValue() const { return min_; }
    std::int64_t MaxValue() const { return max_; }
    // tkEnumeration: the identifiers, value 0 first.
    const std::vector<std::string>& EnumNames() const { return names_; }
    // tkSet: the enumeration the set is made of.
    const TTypeInfo* CompType() const { return compType_; }
    // tkClass: the class.
    TClass ClassType() const { return class_; }
    // tkMethod: the C++ signature of the event.
    const std::type_info* MethodSignature() const { return signature_; }

    static TTypeInfo Ordinal(TTypeKind kind, std::string name, std::int64_t min, std::int64_t max);
    // identifiers: "a, b, c", as the enumeration is written (values 0, 1, 2).
    static TTypeInfo Enumeration(std::string name, std::string_view identifiers);
    static TTypeInfo Set(std::string name, const TTypeInfo* compType);
    static TTypeInfo Float(std::string name);
    static TTypeInfo String(TTypeKind kind, std::string name);
    static TTypeInfo Class(std::string name, TClass cls);
    static TTypeInfo Method(std::string name, const std::type_info& signature);

private:
    TTypeInfo(TTypeKind kind, std::string name) : kind_(kind), name_(std::move(name)) {}

    TTypeKind kind_;
    std::string name_;
    std::int64_t min_ = 0;
    std::int64_t max_ = 0;
    std::vector<std::string> names_;
    const TTypeInfo* compType_ = nullptr;
    TClass class_ = nullptr;
    const std::type_info* signature_ = nullptr;
};

// The built-in types by their platform names.
const TTypeInfo* BooleanTypeInfo();     // enumeration False, True
const TTypeInfo* CharTypeInfo();        // "Char"
const TTypeInfo* IntegerTypeInfo();     // "Integer", 32 bits
const TTypeInfo* Int64TypeInfo();       // "Int64"
const TTypeInfo* DoubleTypeInfo();      // "Double"
const TTypeInfo* StringTypeInfo();      // "String" (tkLString)
const TTypeInfo* WideStringTypeInfo();  // "WideString" (tkWString)
// A named integer type ("TColor", "TCursor"), interned by name; 32-bit range.
const TTypeInfo* NamedIntegerTypeInfo(std::string_view name);
// A named floating-point type ("TDateTime"), interned by name.
const TTypeInfo* NamedFloatTypeInfo(std::string_view name);

// A set of up to 32 enumeration values, kept as a bit mask (bit n = value n), as published
// sets are.
template <class E>
class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> items) {
        for (E item : items)
            Include(item);
    }
    static constexpr TSet FromBits(std::uint32_t bits) {
        TSet set;
        set.bits_ = bits;
        return set;
    }
    constexpr std::uint32_t Bits() const { return bits_; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr bool Contains(E item) const { return (bits_ & Bit(item)) != 0; }
    constexpr TSet& Include(E item) {
        bits_ |= Bit(item);
        return *this;
    }
    constexpr TSet& Exclude(E item) {
        bits_ &= ~Bit(item);
        return *this;
    }
    friend constexpr TSet operator+(TSet a, TSet b) { return FromBits(a.bits_ | b.bits_); }
    friend constexpr TSet operator-(TSet a, TSet b) { return FromBits(a.bits_ & ~b.bits_); }
    friend constexpr TSet operator*(TSet a, TSet b) { return FromBits(a.bits_ & b.bits_); }
    friend constexpr bool operator==(TSet a, TSet b) = default;
    // a <= b: a is a subset of b.
    friend constexpr bool operator<=(TSet a, TSet b) { return (a.bits_ & ~b.bits_) == 0; }

private:
    static constexpr std::uint32_t Bit(E item) {
        const auto value = static_cast<std::uint32_t>(item);
        if (value >= 32) throw ERangeError("Set element out of range");
        return std::uint32_t{1} << value;
    }
    std::uint32_t bits_ = 0;
};

// Declares an enumeration whose identifiers are known at run time (values 0, 1, 2, ... in
// order; no explicit values):
//   KV_ENUM(TCloseAction, caNone, caHide, caFree, caMinimize);
#define KV_ENUM(Name, ...)           \
    enum Name : int { __VA_ARGS__ }; \
    KV_ENUM_TYPEINFO(Name, __VA_ARGS__)

// Attaches identifiers to an enumeration declared elsewhere (same order, values 0, 1, 2, ...).
#define KV_ENUM_TYPEINFO(Name, ...)                                                            \
    inline const ::kv::TTypeInfo* KvTypeInfo(Name*) {                                          \
        static const ::kv::TTypeInfo info = ::kv::TTypeInfo::Enumeration(#Name, #__VA_ARGS__); \
        return &info;                                                                          \
    }                                                                                          \
    static_assert(true)

// Declares a published set type: KV_SET(TFontStyles, TFontStyle);
#define KV_SET(Name, Enum)                                                        \
    using Name = ::kv::TSet<Enum>;                                                \
    inline const ::kv::TTypeInfo* KvTypeInfo(Name*) {                             \
        static const ::kv::TTypeInfo info =                                       \
            ::kv::TTypeInfo::Set(#Name, KvTypeInfo(static_cast<Enum*>(nullptr))); \
        return &info;                                                             \
    }                                                                             \
    static_assert(true)

KV_ENUM_TYPEINFO(TTypeKind, tkUnknown, tkInteger, tkChar, tkEnumeration, tkFloat, tkString, tkSet,
                 tkClass, tkMethod, tkWChar, tkLString, tkWString, tkVariant, tkArray, tkRecord,
                 tkInterface, tkInt64, tkDynArray);

// How a property's value travels between the typed accessors and the tables.
using TPropValue = std::variant<std::int64_t, double, std::string, TObject*, TMethod>;

namespace detail {

template <class V>
concept HasKvTypeInfo = requires {
    KvTypeInfo(static_cast<V*>(nullptr));
};

template <class V>
concept EventValue = requires {
    typename V::Signature;
    { V::TypeInfo() } -> std::convertible_to<const TTypeInfo*>;
}
&&std::is_base_of_v<TEvent<typename V::Signature>, V>;

template <class V>
concept ObjectPointer =
    std::is_pointer_v<V> && std::is_base_of_v<TObject, std::remove_cv_t<std::remove_pointer_t<V>>>;

template <class V>
struct IsSet : std::false_type {};
template <class E>
struct IsSet<TSet<E>> : std::true_type {};

const TTypeInfo* IntegralTypeInfo(bool isSigned, std::size_t size);
const TTypeInfo* FloatTypeInfoOfSize(std::size_t size);

template <class V>
const TTypeInfo* TypeInfoOf() {
    if constexpr (std::is_same_v<V, bool>) {
        return BooleanTypeInfo();
    } else if constexpr (std::is_same_v<V, char>) {
        return CharTypeInfo();
    } else if constexpr (std::is_integral_v<V>) {
        static_assert(sizeof(V) < 8 || std::is_signed_v<V>, "no unsigned 64-bit properties");
        return IntegralTypeInfo(std::is_signed_v<V>, sizeof(V));
    } else if constexpr (std::is_floating_point_v<V>) {
        return FloatTypeInfoOfSize(sizeof(V));
    } else if constexpr (std::is_same_v<V, std::string>) {
        return StringTypeInfo();
    } else if constexpr (EventValue<V>) {
        return V::TypeInfo();
    } else if constexpr (ObjectPointer<V>) {
        return std::remove_cv_t<std::remove_pointer_t<V>>::StaticClass()->TypeInfo();
    } else if constexpr (HasKvTypeInfo<V>) {
        return KvTypeInfo(static_cast<V*>(nullptr));
    } else {
        static_assert(sizeof(V) == 0,
                      "this type cannot be published; declare it with KV_ENUM, "
                      "KV_SET or KV_EVENT, or publish a TObject pointer");
        return nullptr;
    }
}

}  // namespace detail

// The type information of a C++ type that can be published: TypeInfo<TCloseAction>().
template <class V>
const TTypeInfo* TypeInfo() {
    return detail::TypeInfoOf<V>();
}

// A published property. The accessors below (GetOrdProp, ...) are the way to use it.
class TPropInfo {
public:
    const std::string& Name() const { return name_; }
    const TTypeInfo* PropType() const { return type_; }
    // The class that published (or re-published) the property.
    TClass DeclaringClass() const { return declaring_; }
    bool IsWritable() const { return static_cast<bool>(set_); }
    bool HasDefault() const { return default_.has_value(); }
    std::int64_t Default() const { return default_.value_or(0); }
    // Whether a form writer stores the property of this instance.
    bool IsStored(TObject& instance) const;

    // The raw value; the typed accessors check kinds and ranges first.
    TPropValue GetValue(TObject& instance) const { return get_(instance); }
    void SetValue(TObject& instance, const TPropValue& value) const;

private:
    friend class TClassInfo;
    friend class TPropBuilder;
    template <class>
    friend class TClassBuilder;

    std::string name_;
    const TTypeInfo* type_ = nullptr;
    TClass declaring_ = nullptr;
    std::function<TPropValue(TObject&)> get_;
    std::function<void(TObject&, const TPropValue&)> set_;
    std::optional<std::int64_t> default_;
    bool stored_ = true;
    std::function<bool(TObject&)> storedIf_;
};

// A published method: its name and its Code (see Events.h).
struct TMethodEntry {
    std::string name;
    void* code = nullptr;
};

// A published field: an object reference of the class that the owner's components fill by
// name (a component named like the field is put into it, and taken out again when it goes).
class TFieldInfo {
public:
    const std::string& Name() const { return name_; }
    TClass FieldClass() const { return fieldClass_(); }
    TObject* Get(TObject& instance) const { return get_(instance); }
    // Stores value (null clears); false when value is not of the field's class.
    bool Set(TObject& instance, TObject* value) const;

private:
    template <class>
    friend class TClassBuilder;

    std::string name_;
    TClass (*fieldClass_)() = nullptr;
    std::function<TObject*(TObject&)> get_;
    std::function<void(TObject&, TObject*)> set_;
};

// What KV_PUBLISHED knows about a class when it creates the metaclass.
struct TClassSpec {
    const char* name = "";
    TClass parent = nullptr;
    TObject* (*createObject)() = nullptr;
    TComponent* (*createComponent)(TComponent* owner) = nullptr;
    TCollectionItem* (*createItem)(TCollection* collection) = nullptr;
    void (*publish)(TClassInfo& info) = nullptr;
};

// The metaclass: one per class, reached through T::StaticClass() or object->ClassType().
class TClassInfo {
public:
    explicit TClassInfo(const TClassSpec& spec);
    ~TClassInfo();
    TClassInfo(const TClassInfo&) = delete;
    TClassInfo& operator=(const TClassInfo&) = delete;

    const std::string& Name() const { return name_; }
    TClass Parent() const { return parent_; }
    bool InheritsFrom(TClass cls) const;
    bool InheritsFrom(std::string_view className) const;  // letter case ignored
    // The tkClass type information of this class.
    const TTypeInfo* TypeInfo() const { return &typeInfo_; }

    // Virtual constructors: the class's own constructor, then AfterConstruction. Raise
    // EInvalidOperation when the class has no constructor of that shape (or is abstract).
    bool CanCreateComponent() const { return spec_.createComponent != nullptr; }
    TComponent* CreateComponent(TComponent* owner) const;
    bool CanCreateItem() const { return spec_.createItem != nullptr; }
    TCollectionItem* CreateItem(TCollection* collection) const;
    bool CanCreateObject() const { return spec_.createObject != nullptr; }
    TObject* CreateObject() const;

    // Published members, looked up by name without regard to letter case along the class
    // chain, the class's own entries first. Null when absent.
    const TPropInfo* FindProperty(std::string_view name) const;
    const TFieldInfo* FindField(std::string_view name) const;
    const TMethodEntry* FindMethod(std::string_view name) const;
    const TMethodEntry* FindMethodByCode(const void* code) const;
    // All published properties: the root class's first, each in declaration order.
    std::vector<const TPropInfo*> Properties() const;
    void* MethodAddress(std::string_view name) const;
    std::string MethodName(const void* code) const;

private:
    template <class>
    friend class TClassBuilder;

    void EnsurePublished() const;
    TPropInfo& AddProperty(std::unique_ptr<TPropInfo> prop);
    void AddField(std::unique_ptr<TFieldInfo> field);
    void AddMethod(std::string_view name, void* code);

    TClassSpec spec_;
    std::string name_;
    TClass parent_;
    TTypeInfo typeInfo_;
    mutable std::once_flag published_;
    mutable std::vector<std::unique_ptr<TPropInfo>> props_;
    mutable std::vector<std::unique_ptr<TFieldInfo>> fields_;
    mutable std::vector<TMethodEntry> methods_;
};

// Modifiers of a property just published.
class TPropBuilder {
public:
    explicit TPropBuilder(TPropInfo& prop) : prop_(prop) {}
    // Gives the property a named type of the same kind family (an Integer property becomes a
    // TColor); other kinds raise EPropertyError.
    TPropBuilder& Type(const TTypeInfo* type);
    TPropBuilder& Default(std::int64_t value);
    TPropBuilder& NoDefault();
    TPropBuilder& Stored(bool stored);
    template <class T>
    TPropBuilder& Stored(bool (T::*predicate)() const) {
        prop_.storedIf_ = [predicate](TObject& o) { return (static_cast<T&>(o).*predicate)(); };
        return *this;
    }
    TPropBuilder& ReadOnly();

private:
    TPropInfo& prop_;
};

namespace detail {

[[noreturn]] void RaiseOrdinalOutOfRange(const char* cppType, std::int64_t value);

template <class V>
TPropValue ToPropValue(const V& value) {
    if constexpr (std::is_same_v<V, bool>) {
        return std::int64_t{value ? 1 : 0};
    } else if constexpr (std::is_same_v<V, char>) {
        return static_cast<std::int64_t>(static_cast<unsigned char>(value));
    } else if constexpr (std::is_integral_v<V>) {
        return static_cast<std::int64_t>(value);
    } else if constexpr (std::is_enum_v<V>) {
        return static_cast<std::int64_t>(static_cast<std::underlying_type_t<V>>(value));
    } else if constexpr (IsSet<V>::value) {
        return static_cast<std::int64_t>(value.Bits());
    } else if constexpr (std::is_floating_point_v<V>) {
        return static_cast<double>(value);
    } else if constexpr (std::is_same_v<V, std::string>) {
        return value;
    } else if constexpr (EventValue<V>) {
        return value.Method();
    } else {
        static_assert(ObjectPointer<V>);
        return static_cast<TObject*>(
            const_cast<std::remove_cv_t<std::remove_pointer_t<V>>*>(value));
    }
}

template <class V>
V FromPropValue(const TPropValue& raw) {
    if constexpr (std::is_same_v<V, bool>) {
        return std::get<std::int64_t>(raw) != 0;
    } else if constexpr (std::is_same_v<V, char>) {
        const std::int64_t value = std::get<std::int64_t>(raw);
        if (value < 0 || value > 255) RaiseOrdinalOutOfRange("Char", value);
        return static_cast<char>(static_cast<unsigned char>(value));
    } else if constexpr (std::is_integral_v<V>) {
        const std::int64_t value = std::get<std::int64_t>(raw);
        if (!std::in_range<V>(value))
            RaiseOrdinalOutOfRange(TypeInfoOf<V>()->Name().c_str(), value);
        return static_cast<V>(value);
    } else if constexpr (std::is_enum_v<V>) {
        using U = std::underlying_type_t<V>;
        const std::int64_t value = std::get<std::int64_t>(raw);
        if (!std::in_range<U>(value))
            RaiseOrdinalOutOfRange(TypeInfoOf<V>()->Name().c_str(), value);
        return static_cast<V>(static_cast<U>(value));
    } else if constexpr (IsSet<V>::value) {
        return V::FromBits(static_cast<std::uint32_t>(std::get<std::int64_t>(raw)));
    } else if constexpr (std::is_floating_point_v<V>) {
        return static_cast<V>(std::get<double>(raw));
    } else if constexpr (std::is_same_v<V, std::string>) {
        return std::get<std::string>(raw);
    } else if constexpr (EventValue<V>) {
        V event;
        event.SetMethod(std::get<TMethod>(raw));
        return event;
    } else {
        static_assert(ObjectPointer<V>);
        using U = std::remove_cv_t<std::remove_pointer_t<V>>;
        TObject* object = std::get<TObject*>(raw);
        return object == nullptr ? nullptr : dynamic_cast<U*>(object);
    }
}

}  // namespace detail

// The builder handed to a KV_PUBLISHED block; T is the class being published.
template <class T>
class TClassBuilder {
public:
    explicit TClassBuilder(TClassInfo& info) : info_(info) {}

    // A property read through getter (a member function or a field) and written through
    // setter (a member function taking the value, a field, or nothing for read-only). A field
    // given alone is read and written directly.
    template <class G, class S = std::nullptr_t>
    TPropBuilder Property(std::string_view name, G getter, S setter = nullptr) {
        using V = std::remove_cvref_t<std::invoke_result_t<G, T&>>;
        auto prop = std::make_unique<TPropInfo>();
        prop->name_ = std::string(name);
        prop->type_ = detail::TypeInfoOf<V>();
        prop->get_ = [getter](TObject& o) -> TPropValue {
            return detail::ToPropValue<V>(std::invoke(getter, static_cast<T&>(o)));
        };
        if constexpr (std::is_null_pointer_v<S> && std::is_member_object_pointer_v<G>) {
            prop->set_ = MakeSetter<V>(getter);
        } else if constexpr (!std::is_null_pointer_v<S>) {
            prop->set_ = MakeSetter<V>(setter);
        }
        return TPropBuilder(info_.AddProperty(std::move(prop)));
    }

    // An event property: like Property, for values of a KV_EVENT type.
    template <class G, class S = std::nullptr_t>
    TPropBuilder Event(std::string_view name, G getter, S setter = nullptr) {
        using V = std::remove_cvref_t<std::invoke_result_t<G, T&>>;
        static_assert(detail::EventValue<V>, "an event property holds a KV_EVENT type");
        return Property(name, getter, setter);
    }

    // A published method, callable by name (MethodAddress) and bindable to events.
    template <class M>
    void Method(std::string_view name, M member) {
        using C = typename detail::MemberFunctionTraits<M>::Class;
        static_assert(std::is_base_of_v<C, T>, "the method belongs to another class");
        info_.AddMethod(name, MethodCodeOf(member));
    }

    // A published field holding an object of class U (usually a component the object owns).
    template <class U>
    void Field(std::string_view name, U* T::*field) {
        static_assert(std::is_base_of_v<TObject, U>);
        auto info = std::make_unique<TFieldInfo>();
        info->name_ = std::string(name);
        info->fieldClass_ = &U::StaticClass;
        info->get_ = [field](TObject& o) -> TObject* { return static_cast<T&>(o).*field; };
        info->set_ = [field](TObject& o, TObject* value) {
            static_cast<T&>(o).*field = value == nullptr ? nullptr : dynamic_cast<U*>(value);
        };
        info_.AddField(std::move(info));
    }

private:
    template <class V, class S>
    static std::function<void(TObject&, const TPropValue&)> MakeSetter(S setter) {
        return [setter](TObject& o, const TPropValue& raw) {
            T& object = static_cast<T&>(o);
            if constexpr (std::is_member_object_pointer_v<S>) {
                object.*setter = detail::FromPropValue<V>(raw);
            } else {
                std::invoke(setter, object, detail::FromPropValue<V>(raw));
            }
        };
    }

    TClassInfo& info_;
};

namespace detail {

// Creates a metaclass that lives as long as the process, kept reachable by the platform library:
// objects destroyed at exit still ask for their class, and the metaclasses of unloaded libraries
// are not reported as lost.
const TClassInfo* NewClassInfo(const TClassSpec& spec);

template <class C>
TClassSpec DescribeClass(const char* name, void (*publish)(TClassInfo&)) {
    TClassSpec spec;
    spec.name = name;
    spec.parent = C::inherited::StaticClass();
    spec.publish = publish;
    if constexpr (!std::is_abstract_v<C>) {
        if constexpr (std::is_base_of_v<TComponent, C> && std::is_constructible_v<C, TComponent*>) {
            spec.createComponent = [](TComponent* owner) -> TComponent* {
                return NewObject<C>(owner);
            };
        }
        if constexpr (std::is_base_of_v<TCollectionItem, C> &&
                      std::is_constructible_v<C, TCollection*>) {
            spec.createItem = [](TCollection* collection) -> TCollectionItem* {
                return NewObject<C>(collection);
            };
        }
        if constexpr (std::is_default_constructible_v<C>) {
            spec.createObject = []() -> TObject* { return NewObject<C>(); };
        }
    }
    return spec;
}

}  // namespace detail

// Defines Class::StaticClass() and opens the block that publishes the class's members. Write
// it in the class's source file, in the class's namespace, with the unqualified class name.
// Inside the block `b` is the builder and `T` the class. A class without published members
// writes an empty block: KV_PUBLISHED(TMyThing) {}
#define KV_PUBLISHED(Class)                                                       \
    template <class T>                                                            \
    static void KvPublish##Class(::kv::TClassBuilder<T>& b);                      \
    ::kv::TClass Class::StaticClass() {                                           \
        static const ::kv::TClassInfo* const info = ::kv::detail::NewClassInfo(   \
            ::kv::detail::DescribeClass<Class>(#Class, [](::kv::TClassInfo& ci) { \
                ::kv::TClassBuilder<Class> builder(ci);                           \
                KvPublish##Class<Class>(builder);                                 \
            }));                                                                  \
        return info;                                                              \
    }                                                                             \
    template <class T>                                                            \
    static void KvPublish##Class([[maybe_unused]] ::kv::TClassBuilder<T>& b)

// ---------------------------------------------------------------------------------------------
// Access by name. Names compare without regard to letter case. Functions taking a name raise
// EPropertyError "Property X does not exist" when the class has no such published property;
// every accessor raises EPropertyError when the property is of another kind, when a value is
// out of the type's range or when the property is read-only, and when the instance is null.

const TPropInfo* GetPropInfo(const TObject* instance, std::string_view name);  // null: absent
const TPropInfo* GetPropInfo(TClass cls, std::string_view name);
std::vector<const TPropInfo*> GetPropList(const TObject* instance);
std::vector<const TPropInfo*> GetPropList(TClass cls);
bool IsPublishedProp(const TObject* instance, std::string_view name);
bool IsPublishedProp(TClass cls, std::string_view name);
TTypeKind PropType(const TObject* instance, std::string_view name);
TTypeKind PropType(TClass cls, std::string_view name);
bool PropIsType(const TObject* instance, std::string_view name, TTypeKind kind);
bool IsStoredProp(TObject* instance, const TPropInfo* prop);

// Ordinal kinds: integer, char, enumeration (Boolean included), set (as its bit mask).
int GetOrdProp(TObject* instance, const TPropInfo* prop);
int GetOrdProp(TObject* instance, std::string_view name);
void SetOrdProp(TObject* instance, const TPropInfo* prop, int value);
void SetOrdProp(TObject* instance, std::string_view name, int value);
std::int64_t GetInt64Prop(TObject* instance, const TPropInfo* prop);
std::int64_t GetInt64Prop(TObject* instance, std::string_view name);
void SetInt64Prop(TObject* instance, const TPropInfo* prop, std::int64_t value);
void SetInt64Prop(TObject* instance, std::string_view name, std::int64_t value);

// Enumerations by identifier; an unknown identifier raises EPropertyConvertError
// "Invalid property element: X".
std::string GetEnumProp(TObject* instance, const TPropInfo* prop);
std::string GetEnumProp(TObject* instance, std::string_view name);
void SetEnumProp(TObject* instance, const TPropInfo* prop, std::string_view value);
void SetEnumProp(TObject* instance, std::string_view name, std::string_view value);

// Sets as text: "[fsBold,fsItalic]" (brackets optional when setting).
std::string GetSetProp(TObject* instance, const TPropInfo* prop, bool brackets = true);
std::string GetSetProp(TObject* instance, std::string_view name, bool brackets = true);
void SetSetProp(TObject* instance, const TPropInfo* prop, std::string_view value);
void SetSetProp(TObject* instance, std::string_view name, std::string_view value);

// String kinds (tkString, tkLString, tkWString).
std::string GetStrProp(TObject* instance, const TPropInfo* prop);
std::string GetStrProp(TObject* instance, std::string_view name);
void SetStrProp(TObject* instance, const TPropInfo* prop, std::string_view value);
void SetStrProp(TObject* instance, std::string_view name, std::string_view value);

double GetFloatProp(TObject* instance, const TPropInfo* prop);
double GetFloatProp(TObject* instance, std::string_view name);
void SetFloatProp(TObject* instance, const TPropInfo* prop, double value);
void SetFloatProp(TObject* instance, std::string_view name, double value);

// Class kind. Setting an object that is not of the property's class raises EPropertyError.
TObject* GetObjectProp(TObject* instance, const TPropInfo* prop);
TObject* GetObjectProp(TObject* instance, std::string_view name);
void SetObjectProp(TObject* instance, const TPropInfo* prop, TObject* value);
void SetObjectProp(TObject* instance, std::string_view name, TObject* value);
TClass GetObjectPropClass(TObject* instance, std::string_view name);

// Method kind (events). Setting checks the handler: its Code must be a method's Code, with the
// event's parameters, and Data an object of the method's class; else EPropertyError. A TMethod
// without Code clears the event.
TMethod GetMethodProp(TObject* instance, const TPropInfo* prop);
TMethod GetMethodProp(TObject* instance, std::string_view name);
void SetMethodProp(TObject* instance, const TPropInfo* prop, const TMethod& value);
void SetMethodProp(TObject* instance, std::string_view name, const TMethod& value);
// The handler {code of the published method methodName of instance's class, instance}; Code
// is null when the class publishes no such method.
TMethod MethodOf(TObject* instance, std::string_view methodName);

// Identifiers of enumerations. GetEnumName gives "" for a value out of range (the decimal
// value for integer types); GetEnumValue gives -1 for an unknown identifier.
std::string GetEnumName(const TTypeInfo* type, int value);
int GetEnumValue(const TTypeInfo* type, std::string_view name);
// Sets of an enumeration as text and back; an unknown element raises EPropertyConvertError.
std::string SetToString(const TTypeInfo* setType, int value, bool brackets = true);
int StringToSet(const TTypeInfo* setType, std::string_view value);

// Any property as text and from text, as form descriptions and language packages write them:
// integers (through the type's registered identifiers, as "clRed"), chars, enumerations
// (identifier or number), sets, floats, strings; a method property gives the name of its
// published method. Setting a class or method property from text raises EPropertyError; a text
// that does not fit the type raises EPropertyConvertError.
std::string GetPropText(TObject* instance, const TPropInfo* prop);
void SetPropText(TObject* instance, const TPropInfo* prop, std::string_view value);

// Identifier <-> integer conversions of named integer types (colours, cursors).
using TIdentToInt = bool (*)(std::string_view ident, int& value);
using TIntToIdent = bool (*)(int value, std::string& ident);
struct TIdentMapEntry {
    int value;
    const char* name;
};
void RegisterIntegerConsts(const TTypeInfo* intType, TIdentToInt identToInt,
                           TIntToIdent intToIdent);
TIdentToInt FindIdentToInt(const TTypeInfo* intType);
TIntToIdent FindIntToIdent(const TTypeInfo* intType);
// Looks the identifier (letter case ignored) or the value up in a map.
bool IdentToInt(std::string_view ident, int& value, std::span<const TIdentMapEntry> map);
bool IntToIdent(int value, std::string& ident, std::span<const TIdentMapEntry> map);

}  // namespace kv

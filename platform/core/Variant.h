// Variant: the platform's tagged value, as automation calls, parameter arrays and job arrays
// carry it. It holds nothing (unassigned), null, a Boolean, an integer of 8 to 64 bits, a
// single or double, a currency amount, a date-time, an 8-bit or a wide string, an automation
// object (Dispatch), an error code, or an array of variants with per-dimension bounds.
//
// Rules callers rely on:
// - Type codes are the automation type numbers (varInteger = 3, varOleStr = 8, ...); VarType
//   reports them, with varArray added for arrays.
// - Both string kinds hold UTF-8 text. The tag is kept, so varString and varOleStr stay
//   distinguishable (code-page conversion of variant arrays depends on it).
// - Arrays copy by value: assigning or passing a Variant copies its elements.
// - Conversions: unassigned gives 0, "" and false; null raises EVariantTypeCastError ("Could
//   not convert variant of type (Null) into type (...)"), except VarToStr(null) = ""; a text
//   that is no number raises EConvertError; Boolean true is -1 as a number and "True" as text;
//   "True"/"False" in any case (or a number) read as Boolean; dates are days since 30 December
//   1899 and read as text through DateTimeToStr. A number out of the target's range raises
//   EVariantError.
// - Wrong array indexes raise EVariantBadIndexError; array operations on a value that is no
//   array raise EVariantInvalidOpError ("Variant is not an array").
#pragma once

#include <cstdint>
#include <initializer_list>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

namespace kv {

class Dispatch;
// Automation objects are shared: the object lives while a Variant or a DispatchPtr holds it.
using DispatchPtr = std::shared_ptr<Dispatch>;

// A class derived from Dispatch (not Dispatch itself, which has its own constructor).
template <class T>
concept DerivedDispatch =
    !std::is_same_v<T, Dispatch> && std::is_convertible_v<std::shared_ptr<T>, DispatchPtr>;

using TVarType = std::uint16_t;

inline constexpr TVarType varEmpty = 0x0000;
inline constexpr TVarType varNull = 0x0001;
inline constexpr TVarType varSmallint = 0x0002;
inline constexpr TVarType varInteger = 0x0003;
inline constexpr TVarType varSingle = 0x0004;
inline constexpr TVarType varDouble = 0x0005;
inline constexpr TVarType varCurrency = 0x0006;
inline constexpr TVarType varDate = 0x0007;
inline constexpr TVarType varOleStr = 0x0008;
inline constexpr TVarType varDispatch = 0x0009;
inline constexpr TVarType varError = 0x000A;
inline constexpr TVarType varBoolean = 0x000B;
inline constexpr TVarType varVariant = 0x000C;
inline constexpr TVarType varShortInt = 0x0010;
inline constexpr TVarType varByte = 0x0011;
inline constexpr TVarType varWord = 0x0012;
inline constexpr TVarType varLongWord = 0x0013;
inline constexpr TVarType varInt64 = 0x0014;
inline constexpr TVarType varUInt64 = 0x0015;
inline constexpr TVarType varString = 0x0100;
inline constexpr TVarType varTypeMask = 0x0FFF;
inline constexpr TVarType varArray = 0x2000;
inline constexpr TVarType varByRef = 0x4000;

// Bounds of one array dimension, both inclusive; High = Low - 1 is an empty dimension.
struct VarArrayBound {
    int Low = 0;
    int High = -1;
    bool operator==(const VarArrayBound&) const = default;
};

// Arrays larger than this many elements in all are refused (EVariantError), so that a bad
// bound from a file or the network cannot exhaust memory.
inline constexpr std::int64_t kMaxVarArrayElements = std::int64_t{1} << 24;

class Variant {
public:
    // Unassigned.
    Variant() noexcept = default;
    Variant(const Variant& other);
    Variant(Variant&& other) noexcept;
    Variant& operator=(const Variant& other);
    Variant& operator=(Variant&& other) noexcept;
    ~Variant();

    Variant(bool value) noexcept;
    // A one-character 8-bit string, as the platform turns a character into a variant.
    Variant(char value);
    Variant(signed char value) noexcept;         // varShortInt
    Variant(unsigned char value) noexcept;       // varByte
    Variant(short value) noexcept;               // varSmallint
    Variant(unsigned short value) noexcept;      // varWord
    Variant(int value) noexcept;                 // varInteger
    Variant(unsigned int value) noexcept;        // varLongWord
    Variant(long value) noexcept;                // varInt64
    Variant(long long value) noexcept;           // varInt64
    Variant(unsigned long value) noexcept;       // varUInt64
    Variant(unsigned long long value) noexcept;  // varUInt64
    Variant(float value) noexcept;               // varSingle
    Variant(double value) noexcept;              // varDouble
    // 8-bit strings (varString); a null pointer is the empty text.
    Variant(const char* value);
    Variant(char* value);
    Variant(std::string value) noexcept;
    Variant(std::string_view value);
    // An automation object (varDispatch); a null pointer is a cleared object reference.
    Variant(DispatchPtr value) noexcept;
    // An object of a class derived from Dispatch.
    template <DerivedDispatch T>
    Variant(std::shared_ptr<T> value) noexcept : Variant(DispatchPtr(std::move(value))) {}
    // Any other pointer would silently become a Boolean.
    template <class T>
    Variant(T*) = delete;

    // A wide string (varOleStr) holding the UTF-8 text.
    static Variant Wide(std::string_view utf8);
    // A date-time (varDate): days since 30 December 1899, the fraction the time of day.
    static Variant Date(double days) noexcept;
    // A currency amount (varCurrency), kept to four decimals.
    static Variant Currency(double value);
    // An error code (varError), as automation uses for a missing optional argument.
    static Variant Error(std::int32_t code) noexcept;
    static Variant Null() noexcept;
    // A by-reference argument for an automation call: the callee's write-back lands in
    // target once the call returns (see OleCall). The marker refers to target, so it must not
    // outlive it; copies of the marker refer to the same target.
    static Variant Ref(Variant& target) noexcept;

    // The type code, varArray added for an array, varByRef | varVariant for a Ref marker.
    TVarType Type() const noexcept { return type_; }
    bool IsEmpty() const noexcept { return Deref().type_ == varEmpty; }
    bool IsNull() const noexcept { return Deref().type_ == varNull; }
    bool IsArray() const noexcept { return (Deref().type_ & varArray) != 0; }
    bool IsByRef() const noexcept { return type_ == (varByRef | varVariant); }
    // The Ref marker's target; the variant itself when it is no marker.
    const Variant& Deref() const noexcept;
    Variant& Deref() noexcept;

    // Conversions by the rules in the file comment.
    int AsInteger() const;
    std::int64_t AsInt64() const;
    double AsDouble() const;
    bool AsBoolean() const;
    std::string AsString() const;
    double AsDate() const;
    // The object; null for an unassigned variant or a cleared reference. Raises
    // EVariantTypeCastError for anything else.
    DispatchPtr AsDispatch() const;

    // Arrays. Dimensions count from 1.
    int DimCount() const;
    int LowBound(int dim) const;
    int HighBound(int dim) const;
    // The element type given at creation (varVariant for VarArrayOf).
    TVarType ElementType() const;
    // Element access of a one-dimensional array. The reference stays valid until the array is
    // resized, reassigned or destroyed.
    Variant& operator[](int index);
    const Variant& operator[](int index) const;
    const Variant& Get(int index) const { return (*this)[index]; }
    // Element access of a two-dimensional array.
    Variant& At(int index1, int index2);
    const Variant& Get(int index1, int index2) const;
    // Element access with one index per dimension.
    Variant& At(const std::vector<int>& indexes);
    const Variant& Get(const std::vector<int>& indexes) const;
    // Stores value, converted to the element type for arrays of a type other than varVariant.
    void Put(int index, Variant value);
    void Put(int index1, int index2, Variant value);
    void Put(const std::vector<int>& indexes, Variant value);

    // Equality as the platform compares variants, without raising: null equals only null;
    // unassigned equals 0, "", false and unassigned; texts compare exactly; numbers (Booleans
    // and dates included) by value; a text against a number is read as a number (false when it
    // is none); arrays element by element with equal bounds; objects by identity. Found through
    // the argument types only, so other comparisons never turn into variant comparisons.
    friend bool operator==(const Variant& a, const Variant& b);
    friend std::ostream& operator<<(std::ostream& out, const Variant& v);

private:
    struct ArrayData;
    // Owns an array and copies it deeply, so that variants copy arrays by value.
    class ArrayBox {
    public:
        explicit ArrayBox(std::unique_ptr<ArrayData> data) noexcept;
        ArrayBox(const ArrayBox& other);
        ArrayBox(ArrayBox&& other) noexcept;
        ArrayBox& operator=(const ArrayBox& other);
        ArrayBox& operator=(ArrayBox&& other) noexcept;
        ~ArrayBox();
        ArrayData& operator*() const noexcept { return *data_; }
        ArrayData* operator->() const noexcept { return data_.get(); }

    private:
        std::unique_ptr<ArrayData> data_;
    };
    using Payload = std::variant<std::monostate, bool, std::int64_t, std::uint64_t, double,
                                 std::string, DispatchPtr, ArrayBox, Variant*>;

    Variant(TVarType type, Payload payload) noexcept;
    const ArrayData& Array() const;
    ArrayData& Array();

    friend Variant VarArrayCreate(const std::vector<VarArrayBound>& bounds, TVarType elementType);
    friend void VarArrayRedim(Variant& array, int highBound);
    friend struct VariantInternals;

    TVarType type_ = varEmpty;
    Payload payload_;
};

// ---------------------------------------------------------------------------------------------
// Construction

inline Variant Unassigned() noexcept {
    return Variant();
}
inline Variant Null() noexcept {
    return Variant::Null();
}
inline Variant VarRef(Variant& target) noexcept {
    return Variant::Ref(target);
}

// An array with the given bounds, one pair per dimension: {low, high} or {low1, high1, low2,
// high2}. Elements start unassigned for varVariant, as 0, "" or false for other element types.
// An odd number of bounds, a high bound below low - 1 or too many elements raise EVariantError.
Variant VarArrayCreate(std::initializer_list<int> bounds, TVarType elementType = varVariant);
Variant VarArrayCreate(const std::vector<VarArrayBound>& bounds, TVarType elementType = varVariant);
// A one-dimensional array of variants with bounds 0..n-1.
Variant VarArrayOf(std::initializer_list<Variant> values);
Variant VarArrayOf(const std::vector<Variant>& values);
// Changes the high bound of the last dimension, keeping the elements that stay in range.
void VarArrayRedim(Variant& array, int highBound);

// ---------------------------------------------------------------------------------------------
// Inspection

inline TVarType VarType(const Variant& v) noexcept {
    return v.Deref().Type();
}
inline bool VarIsEmpty(const Variant& v) noexcept {
    return v.IsEmpty();
}
inline bool VarIsNull(const Variant& v) noexcept {
    return v.IsNull();
}
// Unassigned, or an object reference that holds no object.
bool VarIsClear(const Variant& v) noexcept;
inline bool VarIsArray(const Variant& v) noexcept {
    return v.IsArray();
}
// 8-bit or wide string.
bool VarIsStr(const Variant& v) noexcept;
// Integers and Booleans.
bool VarIsOrdinal(const Variant& v) noexcept;
// Single, double and currency.
bool VarIsFloat(const Variant& v) noexcept;
// Ordinal or float; dates and texts are no numbers.
bool VarIsNumeric(const Variant& v) noexcept;
bool VarIsType(const Variant& v, TVarType type) noexcept;
bool VarIsType(const Variant& v, std::initializer_list<TVarType> types) noexcept;

int VarArrayDimCount(const Variant& v);
int VarArrayLowBound(const Variant& v, int dim);
int VarArrayHighBound(const Variant& v, int dim);

// The type's name as conversion errors show it: "Empty", "Integer", "OleStr", "String",
// "Array Variant", ...
std::string VarTypeAsText(TVarType type);

// ---------------------------------------------------------------------------------------------
// Conversion

// The variant as text; null gives "".
std::string VarToStr(const Variant& v);
// The variant as text; null gives defaultValue.
std::string VarToStrDef(const Variant& v, std::string_view defaultValue);
double VarToDateTime(const Variant& v);
// A copy converted to the type (a scalar type, varString or varOleStr); raises as the
// conversions do, EVariantTypeCastError for a type it cannot produce.
Variant VarAsType(const Variant& v, TVarType type);

// ---------------------------------------------------------------------------------------------
// Comparison

enum TVariantRelationship { vrEqual, vrLessThan, vrGreaterThan, vrNotEqual };

// Equality of variants (also as `a == b`, see the class), without raising.
bool VarSameValue(const Variant& a, const Variant& b);

// The relation of a to b: vrNotEqual when exactly one of them is unassigned or null, or for
// objects and arrays that differ; otherwise ordered by value (texts byte-wise). Raises
// EConvertError for a text against a number when the text is no number.
TVariantRelationship VarCompareValue(const Variant& a, const Variant& b);

// Readable form for logs and test output: 12, 'text', W'wide', Null, Unassigned, [1, 'a'].
// `out << v` writes the same.
std::string VarToDebugText(const Variant& v);

}  // namespace kv

#include "platform/core/Variant.h"

#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"
#include "platform/core/VariantInternals.h"

namespace kv {

namespace {

constexpr const char* kNotAnArray = "Variant is not an array";
constexpr const char* kArrayCreate = "Error creating variant or safe array";

bool IsElementType(TVarType type) {
    switch (type) {
        case varSmallint:
        case varInteger:
        case varSingle:
        case varDouble:
        case varCurrency:
        case varDate:
        case varOleStr:
        case varDispatch:
        case varError:
        case varBoolean:
        case varVariant:
        case varShortInt:
        case varByte:
        case varWord:
        case varLongWord:
        case varInt64:
        case varUInt64:
        case varString:
            return true;
        default:
            return false;
    }
}

// What a new element of an array of that type holds.
Variant DefaultElement(TVarType elementType) {
    switch (elementType) {
        case varVariant:
            return Variant();
        case varOleStr:
            return Variant::Wide("");
        case varString:
            return Variant(std::string());
        case varDispatch:
            return Variant(DispatchPtr());
        case varError:
            return Variant::Error(0);
        default:
            return VarAsType(Variant(0), elementType);
    }
}

std::int64_t ElementCount(const std::vector<VarArrayBound>& bounds) {
    bool empty = false;
    for (const auto& bound : bounds) {
        std::int64_t count = std::int64_t{bound.High} - bound.Low + 1;
        if (count < 0) throw EVariantError(std::string(kArrayCreate) + ": high bound below low");
        empty = empty || count == 0;
    }
    if (empty) return 0;
    std::int64_t total = 1;
    for (const auto& bound : bounds) {
        std::int64_t count = std::int64_t{bound.High} - bound.Low + 1;
        if (count > kMaxVarArrayElements || total * count > kMaxVarArrayElements)
            throw EVariantError(std::string(kArrayCreate) + ": too many elements");
        total *= count;
    }
    return total;
}

[[noreturn]] void RaiseBadIndex(const std::string& detail) {
    throw EVariantBadIndexError("Variant or safe array index out of bounds (" + detail + ")");
}

std::size_t Offset(const VariantInternals::ArrayData& data, const int* indexes, std::size_t count);

}  // namespace

// ---------------------------------------------------------------------------------------------
// Copying

Variant::ArrayBox::ArrayBox(std::unique_ptr<ArrayData> data) noexcept : data_(std::move(data)) {}
Variant::ArrayBox::ArrayBox(const ArrayBox& other)
    : data_(std::make_unique<ArrayData>(*other.data_)) {}
Variant::ArrayBox::ArrayBox(ArrayBox&& other) noexcept = default;
Variant::ArrayBox& Variant::ArrayBox::operator=(const ArrayBox& other) {
    data_ = std::make_unique<ArrayData>(*other.data_);
    return *this;
}
Variant::ArrayBox& Variant::ArrayBox::operator=(ArrayBox&& other) noexcept = default;
Variant::ArrayBox::~ArrayBox() = default;

Variant::Variant(const Variant& other) = default;
Variant::Variant(Variant&& other) noexcept
    : type_(std::exchange(other.type_, varEmpty)),
      payload_(std::exchange(other.payload_, std::monostate{})) {}

// `other` may be an element of this variant's own array; it is copied or moved out before the
// array is released.
Variant& Variant::operator=(const Variant& other) {
    if (this != &other) *this = Variant(other);
    return *this;
}

Variant& Variant::operator=(Variant&& other) noexcept {
    if (this == &other) return *this;
    TVarType type = std::exchange(other.type_, varEmpty);
    Payload moved(std::exchange(other.payload_, std::monostate{}));
    payload_ = std::move(moved);
    type_ = type;
    return *this;
}

Variant::~Variant() = default;

// ---------------------------------------------------------------------------------------------
// Construction

Variant::Variant(TVarType type, Payload payload) noexcept
    : type_(type), payload_(std::move(payload)) {}

Variant::Variant(bool value) noexcept : type_(varBoolean), payload_(value) {}
Variant::Variant(char value) : type_(varString), payload_(std::string(1, value)) {}
Variant::Variant(signed char value) noexcept : type_(varShortInt), payload_(std::int64_t{value}) {}
Variant::Variant(unsigned char value) noexcept : type_(varByte), payload_(std::int64_t{value}) {}
Variant::Variant(short value) noexcept : type_(varSmallint), payload_(std::int64_t{value}) {}
Variant::Variant(unsigned short value) noexcept : type_(varWord), payload_(std::int64_t{value}) {}
Variant::Variant(int value) noexcept : type_(varInteger), payload_(std::int64_t{value}) {}
Variant::Variant(unsigned int value) noexcept : type_(varLongWord), payload_(std::int64_t{value}) {}
Variant::Variant(long value) noexcept : type_(varInt64), payload_(std::int64_t{value}) {}
Variant::Variant(long long value) noexcept
    : type_(varInt64), payload_(static_cast<std::int64_t>(value)) {}
Variant::Variant(unsigned long value) noexcept : type_(varUInt64), payload_(std::uint64_t{value}) {}
Variant::Variant(unsigned long long value) noexcept
    : type_(varUInt64), payload_(static_cast<std::uint64_t>(value)) {}
Variant::Variant(float value) noexcept : type_(varSingle), payload_(static_cast<double>(value)) {}
Variant::Variant(double value) noexcept : type_(varDouble), payload_(value) {}
Variant::Variant(const char* value)
    : type_(varString), payload_(std::string(value != nullptr ? value : "")) {}
Variant::Variant(char* value) : Variant(static_cast<const char*>(value)) {}
Variant::Variant(std::string value) noexcept : type_(varString), payload_(std::move(value)) {}
Variant::Variant(std::string_view value) : type_(varString), payload_(std::string(value)) {}
Variant::Variant(DispatchPtr value) noexcept : type_(varDispatch), payload_(std::move(value)) {}

Variant Variant::Wide(std::string_view utf8) {
    return Variant(varOleStr, std::string(utf8));
}
Variant Variant::Date(double days) noexcept {
    return Variant(varDate, days);
}
Variant Variant::Error(std::int32_t code) noexcept {
    return Variant(varError, std::int64_t{code});
}
Variant Variant::Null() noexcept {
    return Variant(varNull, std::monostate{});
}
Variant Variant::Ref(Variant& target) noexcept {
    return Variant(varByRef | varVariant, &target.Deref());
}

Variant Variant::Currency(double value) {
    double scaled = std::nearbyint(value * 10000.0);
    if (!(scaled >= -9223372036854775808.0 && scaled < 9223372036854775808.0))
        RaiseVarOverflow(varDouble, varCurrency);
    return Variant(varCurrency, static_cast<std::int64_t>(scaled));
}

const Variant& Variant::Deref() const noexcept {
    if (type_ == (varByRef | varVariant)) return *std::get<Variant*>(payload_);
    return *this;
}

Variant& Variant::Deref() noexcept {
    if (type_ == (varByRef | varVariant)) return *std::get<Variant*>(payload_);
    return *this;
}

// ---------------------------------------------------------------------------------------------
// Arrays

const Variant::ArrayData& Variant::Array() const {
    const Variant& self = Deref();
    if ((self.type_ & varArray) == 0) throw EVariantInvalidOpError(kNotAnArray);
    return *std::get<ArrayBox>(self.payload_);
}

Variant::ArrayData& Variant::Array() {
    Variant& self = Deref();
    if ((self.type_ & varArray) == 0) throw EVariantInvalidOpError(kNotAnArray);
    return *std::get<ArrayBox>(self.payload_);
}

int Variant::DimCount() const {
    return static_cast<int>(Array().bounds.size());
}

int Variant::LowBound(int dim) const {
    const ArrayData& data = Array();
    if (dim < 1 || dim > static_cast<int>(data.bounds.size()))
        RaiseBadIndex("no dimension " + std::to_string(dim));
    return data.bounds[static_cast<std::size_t>(dim - 1)].Low;
}

int Variant::HighBound(int dim) const {
    const ArrayData& data = Array();
    if (dim < 1 || dim > static_cast<int>(data.bounds.size()))
        RaiseBadIndex("no dimension " + std::to_string(dim));
    return data.bounds[static_cast<std::size_t>(dim - 1)].High;
}

TVarType Variant::ElementType() const {
    return Array().elementType;
}

namespace {

std::size_t Offset(const VariantInternals::ArrayData& data, const int* indexes, std::size_t count) {
    if (count != data.bounds.size()) {
        RaiseBadIndex(std::to_string(count) + " indexes for " + std::to_string(data.bounds.size()) +
                      " dimensions");
    }
    std::size_t offset = 0;
    std::size_t stride = 1;
    for (std::size_t d = 0; d < count; ++d) {
        const VarArrayBound& bound = data.bounds[d];
        int index = indexes[d];
        if (index < bound.Low || index > bound.High) {
            RaiseBadIndex(std::to_string(index) + " not in " + std::to_string(bound.Low) + ".." +
                          std::to_string(bound.High));
        }
        offset += static_cast<std::size_t>(std::int64_t{index} - bound.Low) * stride;
        stride *= static_cast<std::size_t>(std::int64_t{bound.High} - bound.Low + 1);
    }
    return offset;
}

}  // namespace

Variant& Variant::At(const std::vector<int>& indexes) {
    ArrayData& data = Array();
    return data.items[Offset(data, indexes.data(), indexes.size())];
}

const Variant& Variant::Get(const std::vector<int>& indexes) const {
    const ArrayData& data = Array();
    return data.items[Offset(data, indexes.data(), indexes.size())];
}

Variant& Variant::operator[](int index) {
    ArrayData& data = Array();
    return data.items[Offset(data, &index, 1)];
}

const Variant& Variant::operator[](int index) const {
    const ArrayData& data = Array();
    return data.items[Offset(data, &index, 1)];
}

Variant& Variant::At(int index1, int index2) {
    const int indexes[] = {index1, index2};
    ArrayData& data = Array();
    return data.items[Offset(data, indexes, 2)];
}

const Variant& Variant::Get(int index1, int index2) const {
    const int indexes[] = {index1, index2};
    const ArrayData& data = Array();
    return data.items[Offset(data, indexes, 2)];
}

namespace {

// Stores a value (never a Ref marker), converted to the element type of a typed array.
void Store(const VariantInternals::ArrayData& data, Variant& slot, const Variant& value) {
    if (data.elementType == varVariant) {
        slot = value.Deref();
    } else {
        slot = VarAsType(value, data.elementType);
    }
}

}  // namespace

void Variant::Put(const std::vector<int>& indexes, Variant value) {
    ArrayData& data = Array();
    Store(data, data.items[Offset(data, indexes.data(), indexes.size())], value);
}

void Variant::Put(int index, Variant value) {
    ArrayData& data = Array();
    Store(data, data.items[Offset(data, &index, 1)], value);
}

void Variant::Put(int index1, int index2, Variant value) {
    const int indexes[] = {index1, index2};
    ArrayData& data = Array();
    Store(data, data.items[Offset(data, indexes, 2)], value);
}

Variant VarArrayCreate(const std::vector<VarArrayBound>& bounds, TVarType elementType) {
    if (bounds.empty()) throw EVariantError(std::string(kArrayCreate) + ": no dimensions");
    if (!IsElementType(elementType)) {
        throw EVariantError(std::string(kArrayCreate) + ": invalid element type " +
                            VarTypeAsText(elementType));
    }
    auto count = static_cast<std::size_t>(ElementCount(bounds));
    auto data = std::make_unique<Variant::ArrayData>();
    data->elementType = elementType;
    data->bounds = bounds;
    data->items.assign(count, DefaultElement(elementType));
    return Variant(static_cast<TVarType>(varArray | elementType),
                   Variant::ArrayBox(std::move(data)));
}

Variant VarArrayCreate(std::initializer_list<int> bounds, TVarType elementType) {
    if (bounds.size() == 0 || bounds.size() % 2 != 0)
        throw EVariantError(std::string(kArrayCreate) + ": bounds must come in low/high pairs");
    std::vector<VarArrayBound> pairs;
    for (auto it = bounds.begin(); it != bounds.end(); it += 2)
        pairs.push_back({it[0], it[1]});
    return VarArrayCreate(pairs, elementType);
}

Variant VarArrayOf(const std::vector<Variant>& values) {
    if (values.size() > static_cast<std::size_t>(kMaxVarArrayElements))
        throw EVariantError(std::string(kArrayCreate) + ": too many elements");
    int high = static_cast<int>(values.size()) - 1;
    Variant array = VarArrayCreate(std::vector<VarArrayBound>{{0, high}}, varVariant);
    for (std::size_t i = 0; i < values.size(); ++i)
        array.Put(static_cast<int>(i), values[i]);
    return array;
}

Variant VarArrayOf(std::initializer_list<Variant> values) {
    return VarArrayOf(std::vector<Variant>(values));
}

void VarArrayRedim(Variant& array, int highBound) {
    Variant::ArrayData& data = array.Array();
    std::vector<VarArrayBound> bounds = data.bounds;
    bounds.back().High = highBound;
    auto count = static_cast<std::size_t>(ElementCount(bounds));
    data.items.resize(count, DefaultElement(data.elementType));
    data.bounds = std::move(bounds);
}

int VarArrayDimCount(const Variant& v) {
    return v.DimCount();
}
int VarArrayLowBound(const Variant& v, int dim) {
    return v.LowBound(dim);
}
int VarArrayHighBound(const Variant& v, int dim) {
    return v.HighBound(dim);
}

// ---------------------------------------------------------------------------------------------
// Inspection

VarKind VariantInternals::Kind(const Variant& v) noexcept {
    TVarType type = v.Type();
    if ((type & varArray) != 0) return VarKind::Array;
    switch (type) {
        case varEmpty:
            return VarKind::Empty;
        case varNull:
            return VarKind::Null;
        case varBoolean:
            return VarKind::Boolean;
        case varSmallint:
        case varInteger:
        case varShortInt:
        case varByte:
        case varWord:
        case varLongWord:
        case varInt64:
            return VarKind::Signed;
        case varUInt64:
            return VarKind::Unsigned;
        case varCurrency:
            return VarKind::Currency;
        case varSingle:
        case varDouble:
        case varDate:
            return VarKind::Real;
        case varString:
        case varOleStr:
            return VarKind::Text;
        case varDispatch:
            return VarKind::Object;
        case varError:
            return VarKind::Error;
        default:
            return v.IsByRef() ? Kind(v.Deref()) : VarKind::Error;
    }
}

bool VarIsClear(const Variant& v) noexcept {
    const Variant& value = v.Deref();
    if (value.Type() == varEmpty) return true;
    return value.Type() == varDispatch && VariantInternals::Object(value) == nullptr;
}

bool VarIsStr(const Variant& v) noexcept {
    return VarIsType(v, {varString, varOleStr});
}

bool VarIsOrdinal(const Variant& v) noexcept {
    VarKind kind = VariantInternals::Kind(v);
    return kind == VarKind::Boolean || kind == VarKind::Signed || kind == VarKind::Unsigned;
}

bool VarIsFloat(const Variant& v) noexcept {
    return VarIsType(v, {varSingle, varDouble, varCurrency});
}

bool VarIsNumeric(const Variant& v) noexcept {
    return VarIsOrdinal(v) || VarIsFloat(v);
}

bool VarIsType(const Variant& v, TVarType type) noexcept {
    return VarType(v) == type;
}

bool VarIsType(const Variant& v, std::initializer_list<TVarType> types) noexcept {
    TVarType actual = VarType(v);
    for (TVarType type : types) {
        if (actual == type) return true;
    }
    return false;
}

std::string VarTypeAsText(TVarType type) {
    if ((type & varByRef) != 0)
        return "ByRef " + VarTypeAsText(static_cast<TVarType>(type & ~varByRef));
    if ((type & varArray) != 0)
        return "Array " + VarTypeAsText(static_cast<TVarType>(type & ~varArray));
    static const char* const kNames[] = {
        "Empty",    "Null",     "Smallint", "Integer",  "Single",  "Double",  "Currency", "Date",
        "OleStr",   "Dispatch", "Error",    "Boolean",  "Variant", "Unknown", "Decimal",  "$000F",
        "ShortInt", "Byte",     "Word",     "LongWord", "Int64",   "UInt64"};
    if (type < std::size(kNames)) return kNames[type];
    if (type == varString) return "String";
    return "$" + IntToHex(int{type}, 4);
}

}  // namespace kv

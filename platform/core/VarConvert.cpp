// Conversions of Variant: to the C++ types, to another variant type, and to text.
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"
#include "platform/core/Variant.h"
#include "platform/core/VariantInternals.h"

namespace kv {

using VI = VariantInternals;

void RaiseVarCastError(TVarType from, TVarType to) {
    throw EVariantTypeCastError("Could not convert variant of type (" + VarTypeAsText(from) +
                                ") into type (" + VarTypeAsText(to) + ")");
}

void RaiseVarOverflow(TVarType from, TVarType to) {
    throw EVariantError("Arithmetic overflow converting variant of type (" + VarTypeAsText(from) +
                        ") into type (" + VarTypeAsText(to) + ")");
}

namespace {

constexpr double kTwoTo63 = 9223372036854775808.0;
constexpr double kTwoTo64 = 18446744073709551616.0;

// Rounds half to even, as the platform's conversions of fractions to integers do.
std::int64_t RoundToInt64(double value, TVarType from, TVarType to) {
    double rounded = std::nearbyint(value);
    if (!(rounded >= -kTwoTo63 && rounded < kTwoTo63)) RaiseVarOverflow(from, to);
    return static_cast<std::int64_t>(rounded);
}

// A text read as an integer: whole numbers exactly, other numbers rounded.
std::int64_t TextToInt64(const std::string& text, TVarType from, TVarType to) {
    std::int64_t whole = 0;
    if (TryStrToInt64(text, whole)) return whole;
    double real = 0;
    if (!TryStrToFloat(text, real)) StrToInt64(text);  // raises EConvertError with its message
    return RoundToInt64(real, from, to);
}

double CurrencyValue(const Variant& v) {
    return static_cast<double>(VI::Int(v)) / 10000.0;
}

std::int64_t ToInt64(const Variant& v, TVarType to) {
    switch (VI::Kind(v)) {
        case VarKind::Empty:
            return 0;
        case VarKind::Boolean:
            return VI::Bool(v) ? -1 : 0;
        case VarKind::Signed:
            return VI::Int(v);
        case VarKind::Unsigned:
            if (VI::UInt(v) > static_cast<std::uint64_t>(INT64_MAX)) RaiseVarOverflow(v.Type(), to);
            return static_cast<std::int64_t>(VI::UInt(v));
        case VarKind::Currency:
            return RoundToInt64(CurrencyValue(v), v.Type(), to);
        case VarKind::Real:
            return RoundToInt64(VI::Real(v), v.Type(), to);
        case VarKind::Text:
            return TextToInt64(VI::Text(v), v.Type(), to);
        default:
            RaiseVarCastError(v.Type(), to);
    }
}

std::uint64_t ToUInt64(const Variant& v) {
    if (VI::Kind(v) == VarKind::Unsigned) return VI::UInt(v);
    if (VI::Kind(v) == VarKind::Real && VI::Real(v) >= kTwoTo63) {
        double rounded = std::nearbyint(VI::Real(v));
        if (!(rounded < kTwoTo64)) RaiseVarOverflow(v.Type(), varUInt64);
        return static_cast<std::uint64_t>(rounded);
    }
    std::int64_t value = ToInt64(v, varUInt64);
    if (value < 0) RaiseVarOverflow(v.Type(), varUInt64);
    return static_cast<std::uint64_t>(value);
}

double ToDouble(const Variant& v, TVarType to) {
    switch (VI::Kind(v)) {
        case VarKind::Empty:
            return 0;
        case VarKind::Boolean:
            return VI::Bool(v) ? -1 : 0;
        case VarKind::Signed:
            return static_cast<double>(VI::Int(v));
        case VarKind::Unsigned:
            return static_cast<double>(VI::UInt(v));
        case VarKind::Currency:
            return CurrencyValue(v);
        case VarKind::Real:
            return VI::Real(v);
        case VarKind::Text:
            return StrToFloat(VI::Text(v));
        default:
            RaiseVarCastError(v.Type(), to);
    }
}

bool ToBoolean(const Variant& v) {
    switch (VI::Kind(v)) {
        case VarKind::Empty:
            return false;
        case VarKind::Boolean:
            return VI::Bool(v);
        case VarKind::Signed:
        case VarKind::Currency:
            return VI::Int(v) != 0;
        case VarKind::Unsigned:
            return VI::UInt(v) != 0;
        case VarKind::Real:
            return VI::Real(v) != 0;
        case VarKind::Text:
            return StrToBool(VI::Text(v));
        default:
            RaiseVarCastError(v.Type(), varBoolean);
    }
}

std::string ToText(const Variant& v, TVarType to) {
    switch (VI::Kind(v)) {
        case VarKind::Empty:
            return "";
        case VarKind::Boolean:
            return VI::Bool(v) ? "True" : "False";
        case VarKind::Signed:
            return IntToStr(VI::Int(v));
        case VarKind::Unsigned:
            return IntToStr(VI::UInt(v));
        case VarKind::Currency:
            return FloatToStr(CurrencyValue(v));
        case VarKind::Real:
            if (v.Type() == varDate) return DateTimeToStr(VI::Real(v));
            // A single has about seven significant digits; more would show binary noise.
            if (v.Type() == varSingle) return FloatToStrF(VI::Real(v), ffGeneral, 7, 0);
            return FloatToStr(VI::Real(v));
        case VarKind::Text:
            return VI::Text(v);
        default:
            RaiseVarCastError(v.Type(), to);
    }
}

double ToDate(const Variant& v) {
    if (VI::Kind(v) == VarKind::Text) return StrToDateTime(VI::Text(v));
    return ToDouble(v, varDate);
}

std::int64_t CheckedRange(const Variant& v, TVarType to, std::int64_t low, std::int64_t high) {
    std::int64_t value = ToInt64(v, to);
    if (value < low || value > high) RaiseVarOverflow(v.Type(), to);
    return value;
}

Variant ToSingle(const Variant& v) {
    double value = ToDouble(v, varSingle);
    if (std::isfinite(value) && std::fabs(value) > static_cast<double>(FLT_MAX))
        RaiseVarOverflow(v.Type(), varSingle);
    return Variant(static_cast<float>(value));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Members

std::int64_t Variant::AsInt64() const {
    return ToInt64(Deref(), varInt64);
}

int Variant::AsInteger() const {
    return static_cast<int>(CheckedRange(Deref(), varInteger, INT32_MIN, INT32_MAX));
}

double Variant::AsDouble() const {
    return ToDouble(Deref(), varDouble);
}
bool Variant::AsBoolean() const {
    return ToBoolean(Deref());
}
std::string Variant::AsString() const {
    return ToText(Deref(), varString);
}
double Variant::AsDate() const {
    return ToDate(Deref());
}

DispatchPtr Variant::AsDispatch() const {
    const Variant& v = Deref();
    if (VI::Kind(v) == VarKind::Empty) return nullptr;
    if (VI::Kind(v) != VarKind::Object) RaiseVarCastError(v.Type(), varDispatch);
    return VI::Object(v);
}

// ---------------------------------------------------------------------------------------------
// Free functions

std::string VarToStr(const Variant& v) {
    return v.IsNull() ? std::string() : v.AsString();
}

std::string VarToStrDef(const Variant& v, std::string_view defaultValue) {
    return v.IsNull() ? std::string(defaultValue) : v.AsString();
}

double VarToDateTime(const Variant& v) {
    return v.AsDate();
}

Variant VarAsType(const Variant& source, TVarType type) {
    const Variant& v = source.Deref();
    if (type == varVariant || type == VarType(v)) return v;
    if (type == varNull) return Null();
    if (type == varEmpty) return Unassigned();
    if (v.IsNull() || v.IsArray()) RaiseVarCastError(v.Type(), type);
    switch (type) {
        case varSmallint:
            return Variant(static_cast<short>(CheckedRange(v, type, INT16_MIN, INT16_MAX)));
        case varInteger:
            return Variant(static_cast<int>(CheckedRange(v, type, INT32_MIN, INT32_MAX)));
        case varShortInt:
            return Variant(static_cast<signed char>(CheckedRange(v, type, INT8_MIN, INT8_MAX)));
        case varByte:
            return Variant(static_cast<unsigned char>(CheckedRange(v, type, 0, 255)));
        case varWord:
            return Variant(static_cast<unsigned short>(CheckedRange(v, type, 0, UINT16_MAX)));
        case varLongWord:
            return Variant(static_cast<unsigned int>(CheckedRange(v, type, 0, UINT32_MAX)));
        case varInt64:
            return Variant(static_cast<long long>(ToInt64(v, type)));
        case varUInt64:
            return Variant(static_cast<unsigned long long>(ToUInt64(v)));
        case varSingle:
            return ToSingle(v);
        case varDouble:
            return Variant(ToDouble(v, type));
        case varCurrency:
            if (VI::Kind(v) == VarKind::Signed) {  // exact for every amount that fits
                std::int64_t whole = VI::Int(v);
                if (whole > INT64_MAX / 10000 || whole < INT64_MIN / 10000)
                    RaiseVarOverflow(v.Type(), type);
                return VI::Make(varCurrency, whole * 10000);
            }
            return Variant::Currency(ToDouble(v, type));
        case varDate:
            return Variant::Date(ToDate(v));
        case varBoolean:
            return Variant(ToBoolean(v));
        case varString:
            return Variant(ToText(v, type));
        case varOleStr:
            return Variant::Wide(ToText(v, type));
        case varDispatch:
            return Variant(v.AsDispatch());
        default:
            RaiseVarCastError(v.Type(), type);
    }
}

}  // namespace kv

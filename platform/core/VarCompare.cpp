// Comparison of variants and their readable form.
#include <cmath>
#include <cstdint>
#include <ostream>
#include <string>

#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"
#include "platform/core/Variant.h"
#include "platform/core/VariantInternals.h"

namespace kv {

using VI = VariantInternals;

namespace {

bool IsNumber(VarKind kind) {
    return kind == VarKind::Boolean || kind == VarKind::Signed || kind == VarKind::Unsigned ||
           kind == VarKind::Currency || kind == VarKind::Real;
}

int Sign(double a, double b) {
    return a < b ? -1 : (a > b ? 1 : 0);
}

// An integer (Booleans included) as sign and magnitude, so that signed and unsigned values
// compare exactly.
struct Whole {
    bool negative = false;
    std::uint64_t magnitude = 0;
};

bool AsWhole(const Variant& v, Whole& out) {
    switch (VI::Kind(v)) {
        case VarKind::Boolean:
            out = {VI::Bool(v), VI::Bool(v) ? 1u : 0u};
            return true;
        case VarKind::Signed: {
            std::int64_t value = VI::Int(v);
            auto bits = static_cast<std::uint64_t>(value);
            out = {value < 0, value < 0 ? 0 - bits : bits};
            return true;
        }
        case VarKind::Unsigned:
            out = {false, VI::UInt(v)};
            return true;
        default:
            return false;
    }
}

int CompareWhole(const Whole& a, const Whole& b) {
    if (a.negative != b.negative) return a.negative ? -1 : 1;
    int order = a.magnitude < b.magnitude ? -1 : (a.magnitude > b.magnitude ? 1 : 0);
    return a.negative ? -order : order;
}

// Orders two numbers; integers and two currency amounts compare exactly, everything else as
// doubles. NaN gives 2 (unordered).
int CompareNumbers(const Variant& a, const Variant& b) {
    Whole wa;
    Whole wb;
    if (AsWhole(a, wa) && AsWhole(b, wb)) return CompareWhole(wa, wb);
    if (VI::Kind(a) == VarKind::Currency && VI::Kind(b) == VarKind::Currency)
        return VI::Int(a) < VI::Int(b) ? -1 : (VI::Int(a) > VI::Int(b) ? 1 : 0);
    double da = a.AsDouble();
    double db = b.AsDouble();
    if (std::isnan(da) || std::isnan(db)) return 2;
    return Sign(da, db);
}

// A text against a number or a Boolean, the text read as the other's kind. Raises
// EConvertError when it cannot be read.
int CompareTextWithNumber(const std::string& text, const Variant& number, bool textFirst) {
    int result = 0;
    if (VI::Kind(number) == VarKind::Boolean) {
        int t = StrToBool(text) ? -1 : 0;
        int n = VI::Bool(number) ? -1 : 0;
        result = t < n ? -1 : (t > n ? 1 : 0);
    } else {
        double t = StrToFloat(text);
        double n = number.AsDouble();
        if (std::isnan(t) || std::isnan(n)) return 2;
        result = Sign(t, n);
    }
    return textFirst || result == 2 ? result : -result;
}

bool ArraysEqual(const Variant& a, const Variant& b) {
    const auto& da = VI::Array(a);
    const auto& db = VI::Array(b);
    if (da.bounds != db.bounds) return false;
    for (std::size_t i = 0; i < da.items.size(); ++i) {
        if (!(da.items[i] == db.items[i])) return false;
    }
    return true;
}

// Equality of two values that are neither unassigned nor null.
bool SameValue(const Variant& a, const Variant& b) {
    VarKind ka = VI::Kind(a);
    VarKind kb = VI::Kind(b);
    if (ka == VarKind::Text && kb == VarKind::Text) return VI::Text(a) == VI::Text(b);
    if (IsNumber(ka) && IsNumber(kb)) return CompareNumbers(a, b) == 0;
    try {
        if (ka == VarKind::Text && IsNumber(kb))
            return CompareTextWithNumber(VI::Text(a), b, true) == 0;
        if (IsNumber(ka) && kb == VarKind::Text)
            return CompareTextWithNumber(VI::Text(b), a, true) == 0;
    } catch (const EConvertError&) {
        return false;  // a text that is no number differs from every number
    }
    if (ka != kb) return false;
    switch (ka) {
        case VarKind::Object:
            return VI::Object(a) == VI::Object(b);
        case VarKind::Error:
            return VI::Int(a) == VI::Int(b);
        case VarKind::Array:
            return ArraysEqual(a, b);
        default:
            return false;
    }
}

// Unassigned against another value: that value's zero.
bool EqualsUnassigned(const Variant& v) {
    switch (VI::Kind(v)) {
        case VarKind::Empty:
            return true;
        case VarKind::Text:
            return VI::Text(v).empty();
        case VarKind::Object:
            return VI::Object(v) == nullptr;
        default:
            return IsNumber(VI::Kind(v)) && CompareNumbers(v, Variant(0)) == 0;
    }
}

}  // namespace

bool VarSameValue(const Variant& left, const Variant& right) {
    const Variant& a = left.Deref();
    const Variant& b = right.Deref();
    if (a.IsNull() || b.IsNull()) return a.IsNull() && b.IsNull();
    if (a.IsEmpty()) return EqualsUnassigned(b);
    if (b.IsEmpty()) return EqualsUnassigned(a);
    return SameValue(a, b);
}

bool operator==(const Variant& a, const Variant& b) {
    return VarSameValue(a, b);
}

TVariantRelationship VarCompareValue(const Variant& left, const Variant& right) {
    const Variant& a = left.Deref();
    const Variant& b = right.Deref();
    if (a.IsEmpty()) return b.IsEmpty() ? vrEqual : vrNotEqual;
    if (a.IsNull()) return b.IsNull() ? vrEqual : vrNotEqual;
    if (b.IsEmpty() || b.IsNull()) return vrNotEqual;
    VarKind ka = VI::Kind(a);
    VarKind kb = VI::Kind(b);
    int order = 2;
    if (ka == VarKind::Text && kb == VarKind::Text) {
        order = CompareStr(VI::Text(a), VI::Text(b));
        order = order < 0 ? -1 : (order > 0 ? 1 : 0);
    } else if (IsNumber(ka) && IsNumber(kb)) {
        order = CompareNumbers(a, b);
    } else if (ka == VarKind::Text && IsNumber(kb)) {
        order = CompareTextWithNumber(VI::Text(a), b, true);
    } else if (IsNumber(ka) && kb == VarKind::Text) {
        order = CompareTextWithNumber(VI::Text(b), a, false);
    } else {
        return SameValue(a, b) ? vrEqual : vrNotEqual;
    }
    switch (order) {
        case -1:
            return vrLessThan;
        case 0:
            return vrEqual;
        case 1:
            return vrGreaterThan;
        default:
            return vrNotEqual;
    }
}

// ---------------------------------------------------------------------------------------------
// Readable form

namespace {

void AppendDebugText(std::string& out, const Variant& v);

// A day outside the calendar has no date text; the number still shows it.
void AppendDate(std::string& out, double day) {
    std::string text;
    try {
        text = DateTimeToStr(day);
    } catch (const EConvertError&) {
        text = FloatToStr(day);
    }
    out += "Date(" + text + ")";
}

// The elements of dimension `dim` onwards, starting at `offset` with the given stride.
void AppendDimension(std::string& out, const VI::ArrayData& data, std::size_t dim,
                     std::size_t offset, std::size_t stride) {
    const VarArrayBound& bound = data.bounds[dim];
    if (bound.Low != 0) out += std::to_string(bound.Low) + "..";
    out += '[';
    auto count = static_cast<std::size_t>(std::int64_t{bound.High} - bound.Low + 1);
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) out += ", ";
        if (dim + 1 == data.bounds.size()) {
            AppendDebugText(out, data.items[offset + i * stride]);
        } else {
            AppendDimension(out, data, dim + 1, offset + i * stride, stride * count);
        }
    }
    out += ']';
}

void AppendDebugText(std::string& out, const Variant& value) {
    const Variant& v = value.Deref();
    switch (VI::Kind(v)) {
        case VarKind::Empty:
            out += "Unassigned";
            return;
        case VarKind::Null:
            out += "Null";
            return;
        case VarKind::Text:
            out += v.Type() == varOleStr ? "W'" : "'";
            out += VI::Text(v) + "'";
            return;
        case VarKind::Object:
            out += VI::Object(v) ? "Dispatch" : "Dispatch(nil)";
            return;
        case VarKind::Error:
            out += "Error(" + std::to_string(VI::Int(v)) + ")";
            return;
        case VarKind::Array: {
            // The first index is outermost, as callers write [row][column].
            AppendDimension(out, VI::Array(v), 0, 0, 1);
            return;
        }
        default:
            if (v.Type() == varDate) {
                AppendDate(out, VI::Real(v));
            } else {
                out += v.AsString();
            }
            return;
    }
}

}  // namespace

std::string VarToDebugText(const Variant& v) {
    std::string out;
    AppendDebugText(out, v);
    return out;
}

std::ostream& operator<<(std::ostream& out, const Variant& v) {
    return out << VarToDebugText(v);
}

}  // namespace kv

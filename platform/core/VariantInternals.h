// The representation of Variant, shared by the units that implement it (Variant, VarConvert).
// Not for use outside them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/Variant.h"

namespace kv {

// Elements are stored with the first index running fastest, so that changing the high bound
// of the last dimension keeps every element in place.
struct Variant::ArrayData {
    TVarType elementType = varVariant;
    std::vector<VarArrayBound> bounds;
    std::vector<Variant> items;
};

// What a stored value is, for the conversion rules.
enum class VarKind {
    Empty,
    Null,
    Boolean,
    Signed,
    Unsigned,
    Currency,
    Real,
    Text,
    Object,
    Error,
    Array
};

struct VariantInternals {
    using ArrayData = Variant::ArrayData;

    static VarKind Kind(const Variant& v) noexcept;
    static bool Bool(const Variant& v) { return std::get<bool>(v.payload_); }
    // Signed integers, currency (in ten-thousandths) and error codes.
    static std::int64_t Int(const Variant& v) { return std::get<std::int64_t>(v.payload_); }
    static std::uint64_t UInt(const Variant& v) { return std::get<std::uint64_t>(v.payload_); }
    // Single, double and date.
    static double Real(const Variant& v) { return std::get<double>(v.payload_); }
    static const std::string& Text(const Variant& v) { return std::get<std::string>(v.payload_); }
    static const DispatchPtr& Object(const Variant& v) { return std::get<DispatchPtr>(v.payload_); }
    static const Variant::ArrayData& Array(const Variant& v) { return v.Array(); }

    static Variant Make(TVarType type, std::int64_t value) { return Variant(type, value); }
    static Variant MakeReal(TVarType type, double value) { return Variant(type, value); }
};

// Messages of the conversion errors, naming the types involved.
[[noreturn]] void RaiseVarCastError(TVarType from, TVarType to);
[[noreturn]] void RaiseVarOverflow(TVarType from, TVarType to);

}  // namespace kv

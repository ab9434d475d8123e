// Lossless binary encoding of variants, the body of every frame between a socket connection
// and the application server, and the form in which the server stores job arrays.
//
// Encoding: one type code (16 bits, the automation type number; varArray added for arrays),
// then the value: integers and floats in their own width, little-endian; Booleans one byte;
// currency as a 64-bit count of ten-thousandths; dates as doubles; texts as a 32-bit byte
// count and UTF-8 bytes; an array as its element type, its dimension count (1 to 4), a low and
// high bound per dimension (32 bits each) and its elements, the last index running fastest.
// Only a cleared object reference can be encoded: a live automation object cannot travel.
//
// Decoding trusts nothing: every count is checked against the bytes that remain and the
// limits below before anything is allocated, and any fault raises EVariantDecodeError.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/core/Exceptions.h"
#include "platform/core/Variant.h"

namespace kv {

// A malformed encoding: truncated, an unknown type code, a bound or count out of range.
KV_DECLARE_EXCEPTION(EVariantDecodeError, EReadError);
// A value that has no encoding (a live automation object, too deep a nesting).
KV_DECLARE_EXCEPTION(EVariantEncodeError, EOleError);

struct TVariantLimits {
    // Arrays nested deeper than this are refused on both sides.
    int maxDepth = 32;
    // Elements of all arrays of one value together.
    std::size_t maxElements = std::size_t{1} << 20;
};

// Appends the encoding of value to out. A by-reference marker encodes the value it refers to.
void EncodeVariant(const Variant& value, std::string& out, const TVariantLimits& limits = {});
std::string EncodeVariant(const Variant& value, const TVariantLimits& limits = {});

// Decodes exactly one value that fills bytes entirely.
Variant DecodeVariant(std::string_view bytes, const TVariantLimits& limits = {});

}  // namespace kv

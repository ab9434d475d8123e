// LibStrs: variant helpers and the code-page conversion of variant arrays.
#include <iconv.h>

#include <cerrno>
#include <string>

#include "platform/core/Exceptions.h"
#include "platform/core/SystemInfo.h"
#include "platform/core/Utf8.h"
#include "platform/core/Variant.h"
#include "src/runtime/AlertLog.h"
#include "src/runtime/LibStrs.h"

namespace kv {

namespace {

// Arrays nested deeper than this are refused rather than walked, so that a hostile array
// cannot exhaust the stack.
constexpr int kMaxNesting = 64;

// The converter's name of a code page.
std::string CharsetOf(unsigned int codePage) {
    switch (codePage) {
        case 936:
            return "GBK";
        case 950:
            return "BIG5";
        case 54936:
            return "GB18030";
        case 65001:
            return "UTF-8";
        default:
            return "CP" + std::to_string(codePage);
    }
}

// bytes decoded from the code page into UTF-8; empty when the code page is unknown or the
// bytes are not text of it.
std::string DecodeCodePage(std::string_view bytes, unsigned int codePage) {
    iconv_t cd = iconv_open("UTF-8", CharsetOf(codePage).c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return {};
    std::string in(bytes);
    std::string out(bytes.size() * 4 + 16, '\0');
    char* inPtr = in.data();
    size_t inLeft = in.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1) || inLeft != 0) return {};
    out.resize(out.size() - outLeft);
    return out;
}

// The last resort: every byte above 127 becomes the character of the same number.
std::string WidenBytes(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out.push_back(c);
        } else {
            out.push_back(static_cast<char>(0xC0 | (byte >> 6)));
            out.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
        }
    }
    return out;
}

enum class Direction { ToWide, ToAnsi };

bool IsStringKind(const Variant& v) {
    TVarType type = VarType(v);
    return type == varString || type == varOleStr;
}

Variant ConvertString(const Variant& v, Direction direction, int codePage) {
    std::string text = v.AsString();
    if (direction == Direction::ToWide) return Variant::Wide(AnsiToWideCP(text, codePage));
    return Variant(WideToAnsiCP(text, codePage));
}

void Walk(Variant& value, Direction direction, int codePage, int depth);

void WalkOneDimension(Variant& array, Direction direction, int codePage, int depth) {
    for (int i = array.LowBound(1); i <= array.HighBound(1); ++i) {
        Variant& element = array[i];
        if (element.IsArray()) {
            Walk(element, direction, codePage, depth + 1);
        } else if (IsStringKind(element)) {
            array.Put(i, ConvertString(element, direction, codePage));
        }
    }
}

// Elements of a two-dimensional array are converted in place; nested arrays stay as they are.
void WalkTwoDimensions(Variant& array, Direction direction, int codePage) {
    for (int i = array.LowBound(1); i <= array.HighBound(1); ++i) {
        for (int j = array.LowBound(2); j <= array.HighBound(2); ++j) {
            const Variant& element = array.Get(i, j);
            if (IsStringKind(element)) array.Put(i, j, ConvertString(element, direction, codePage));
        }
    }
}

void Walk(Variant& value, Direction direction, int codePage, int depth) {
    if (depth > kMaxNesting) throw EVariantError("Variant arrays nested too deeply");
    if (value.IsArray()) {
        int dims = value.DimCount();
        if (dims == 1) WalkOneDimension(value, direction, codePage, depth);
        if (dims == 2) WalkTwoDimensions(value, direction, codePage);
    } else if (IsStringKind(value)) {
        value = ConvertString(value, direction, codePage);
    }
}

Variant ConvertVariant(const Variant& value, Direction direction, int codePage,
                       const char* logPrefix) {
    Variant result = value.Deref();
    try {
        Variant converted = result;
        Walk(converted, direction, codePage, 0);
        return converted;
    } catch (const std::exception& error) {
        WriteAlertLog("libstrs", std::string(logPrefix) + error.what(), "D");
    }
    return result;
}

}  // namespace

Variant VarIIf(bool flag, const Variant& a, const Variant& b) {
    return flag ? a : b;
}

bool VarIsBlank(const Variant& v) {
    return v.IsEmpty() || v.IsNull();
}

std::string JoinVarArray(std::string_view prefix, const Variant& array) {
    std::string result(prefix);
    result += kFieldSep;
    if (!array.IsArray() || array.DimCount() != 1) return result + "0" + std::string(kFieldSep);
    auto textAt = [&array](int i) -> std::string {
        if (i < array.LowBound(1) || i > array.HighBound(1)) return {};
        try {
            return VarToStr(array[i]);
        } catch (const std::exception&) {
            return {};  // an element with no text form (an object, an array) joins as empty
        }
    };
    std::string count = textAt(0);
    result += count;
    result += kFieldSep;
    int n = StrToIntDef(Trim(count), 0);
    for (int i = 1; i <= n && i <= array.HighBound(1); ++i) {
        result += textAt(i);
        result += kFieldSep;
    }
    return result;
}

std::string AnsiToWideCP(std::string_view text, int codePage) {
    if (IsValidUtf8(text)) return std::string(text);
    if (codePage > 0) {
        std::string decoded = DecodeCodePage(text, static_cast<unsigned int>(codePage));
        if (!decoded.empty()) return decoded;
    }
    std::string decoded = DecodeCodePage(text, GetACP());
    return decoded.empty() ? WidenBytes(text) : decoded;
}

std::string WideToAnsiCP(std::string_view wide, int codePage) {
    // Both kinds of string hold Unicode text, so there is nothing to narrow; a wide text that
    // carries stray bytes is decoded like an 8-bit one so that the result is always text.
    return AnsiToWideCP(wide, codePage);
}

Variant VarToWideCP(const Variant& value, int codePage) {
    return ConvertVariant(value, Direction::ToWide, codePage, "LINE[115] ");
}

Variant VarToAnsiCP(const Variant& value, int codePage) {
    return ConvertVariant(value, Direction::ToAnsi, codePage, "LINE[2735] ");
}

}  // namespace kv

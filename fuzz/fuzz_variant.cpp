// Variants built from arbitrary bytes, as a decoder of files or network frames may hand them
// on: every conversion, type change, comparison and array operation must answer or raise a
// platform exception, never crash; copies must behave like their originals and comparisons
// must agree in both directions.
//
// Input: a sequence of tagged values (see Build); the first two become the variants checked.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/core/Exceptions.h"
#include "platform/core/Variant.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }

    template <class T>
    T Raw() {
        unsigned char bytes[sizeof(T)] = {};
        for (auto& b : bytes)
            b = Byte();
        T value;
        std::memcpy(&value, bytes, sizeof(T));
        return value;
    }

    std::string Text() {
        std::size_t length = Byte() % 24;
        std::string text;
        for (std::size_t i = 0; i < length; ++i)
            text += static_cast<char>(Byte());
        return text;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

constexpr kv::TVarType kTypes[] = {kv::varEmpty,    kv::varNull,     kv::varSmallint,
                                   kv::varInteger,  kv::varSingle,   kv::varDouble,
                                   kv::varCurrency, kv::varDate,     kv::varOleStr,
                                   kv::varDispatch, kv::varError,    kv::varBoolean,
                                   kv::varVariant,  kv::varShortInt, kv::varByte,
                                   kv::varWord,     kv::varLongWord, kv::varInt64,
                                   kv::varUInt64,   kv::varString,   kv::varArray | kv::varVariant};

kv::TVarType AnyType(Reader& in) {
    return kTypes[in.Byte() % std::size(kTypes)];
}

kv::Variant Build(Reader& in, int depth);

kv::Variant BuildArray(Reader& in, int depth, int dims) {
    std::vector<kv::VarArrayBound> bounds;
    for (int d = 0; d < dims; ++d) {
        int low = static_cast<std::int8_t>(in.Byte());
        bounds.push_back({low, low + in.Byte() % 5 - 1});
    }
    kv::TVarType element = (in.Byte() & 1) != 0 ? kv::varVariant : AnyType(in);
    kv::Variant array = kv::VarArrayCreate(bounds, element);
    int puts = in.Byte() % 6;
    for (int i = 0; i < puts; ++i) {
        std::vector<int> at;
        for (const auto& b : bounds)
            at.push_back(b.Low + in.Byte() % 5);
        kv::Variant value = Build(in, depth + 1);
        try {
            array.Put(at, value);
        } catch (const kv::Exception&) {
            // a bad index or an element the element type cannot take
        }
    }
    return array;
}

kv::Variant Build(Reader& in, int depth) {
    try {
        switch (in.Byte() % (depth < 3 ? 16 : 13)) {
            case 0:
                return kv::Variant();
            case 1:
                return kv::Null();
            case 2:
                return kv::Variant((in.Byte() & 1) != 0);
            case 3:
                return kv::Variant(in.Raw<int>());
            case 4:
                return kv::Variant(in.Raw<long long>());
            case 5:
                return kv::Variant(in.Raw<unsigned long long>());
            case 6:
                return kv::Variant(in.Raw<double>());
            case 7:
                return kv::Variant(in.Raw<float>());
            case 8:
                return kv::Variant::Currency(in.Raw<double>());
            case 9:
                return kv::Variant::Date(in.Raw<double>());
            case 10:
                return kv::Variant(in.Text());
            case 11:
                return kv::Variant::Wide(in.Text());
            case 12:
                return kv::Variant::Error(in.Raw<std::int32_t>());
            case 13:
                return BuildArray(in, depth, 1);
            case 14:
                return BuildArray(in, depth, 2);
            default:
                return kv::VarAsType(kv::Variant(in.Text()), AnyType(in));
        }
    } catch (const kv::Exception&) {
        return kv::Variant();  // an amount out of range, a text the type cannot take
    }
}

void Convert(const kv::Variant& v) {
    auto guarded = [](auto f) {
        try {
            f();
        } catch (const kv::Exception&) {
        }
    };
    guarded([&] { (void)v.AsInteger(); });
    guarded([&] { (void)v.AsInt64(); });
    guarded([&] { (void)v.AsDouble(); });
    guarded([&] { (void)v.AsBoolean(); });
    guarded([&] { (void)v.AsDate(); });
    guarded([&] { (void)v.AsDispatch(); });
    guarded([&] { (void)kv::VarToStr(v); });
    for (kv::TVarType type : kTypes)
        guarded([&] { (void)kv::VarAsType(v, type); });
    if (kv::VarIsArray(v)) {
        for (int d = 1; d <= kv::VarArrayDimCount(v); ++d) {
            Check(kv::VarArrayHighBound(v, d) >= kv::VarArrayLowBound(v, d) - 1);
        }
    }
}

void Compare(const kv::Variant& a, const kv::Variant& b) {
    Check((a == b) == (b == a));
    kv::TVariantRelationship ab = kv::vrNotEqual;
    kv::TVariantRelationship ba = kv::vrNotEqual;
    try {
        ab = kv::VarCompareValue(a, b);
        ba = kv::VarCompareValue(b, a);
    } catch (const kv::EConvertError&) {
        return;  // a text against a number that it is not
    }
    if (ab == kv::vrLessThan) Check(ba == kv::vrGreaterThan);
    if (ab == kv::vrGreaterThan) Check(ba == kv::vrLessThan);
    if (ab == kv::vrEqual) Check(ba == kv::vrEqual);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Reader in(data, size);
    kv::Variant a = Build(in, 0);
    kv::Variant b = Build(in, 0);
    kv::Variant copy = a;
    Check(kv::VarToDebugText(copy) == kv::VarToDebugText(a));
    Check((copy == a) == (a == a));
    Convert(a);
    Convert(b);
    Compare(a, b);
    Compare(a, copy);
    if (kv::VarIsArray(a) && kv::VarArrayDimCount(a) == 1) {
        int low = kv::VarArrayLowBound(a, 1);
        try {
            kv::VarArrayRedim(a, low + in.Byte() % 6 - 1);
        } catch (const kv::Exception&) {
        }
        // An element assigned over its own array.
        if (kv::VarArrayHighBound(a, 1) >= low) a = a[low];
        Check(kv::VarToDebugText(a).size() < 1000000);
    }
    return 0;
}

#include "platform/net/VariantCodec.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace kv {

namespace {

constexpr int kMaxDims = 4;

template <class T>
void Put(std::string& out, T value) {
    static_assert(std::endian::native == std::endian::little, "little-endian hosts only");
    char bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    out.append(bytes, sizeof(T));
}

void PutText(std::string& out, const std::string& text) {
    if (text.size() > UINT32_MAX) throw EVariantEncodeError("Text too long to encode");
    Put(out, static_cast<std::uint32_t>(text.size()));
    out += text;
}

// Visits every index vector of an array in encoding order (the last index fastest).
template <class Fn>
void ForEachIndex(const std::vector<VarArrayBound>& bounds, Fn&& fn) {
    for (const auto& b : bounds)
        if (b.High < b.Low) return;
    std::vector<int> index;
    for (const auto& b : bounds)
        index.push_back(b.Low);
    for (;;) {
        fn(index);
        std::size_t dim = bounds.size();
        while (dim > 0) {
            --dim;
            if (index[dim] < bounds[dim].High) {
                ++index[dim];
                break;
            }
            index[dim] = bounds[dim].Low;
            if (dim == 0) return;
        }
    }
}

std::vector<VarArrayBound> BoundsOf(const Variant& array) {
    std::vector<VarArrayBound> bounds;
    for (int dim = 1; dim <= array.DimCount(); ++dim)
        bounds.push_back({array.LowBound(dim), array.HighBound(dim)});
    return bounds;
}

// An error code converts to no number; its readable form "Error(code)" is the one place the
// variant shows it.
std::int32_t ErrorCode(const Variant& v) {
    const std::string text = VarToDebugText(v);
    const auto open = text.find('(');
    return static_cast<std::int32_t>(
        std::stoll(text.substr(open == std::string::npos ? 0 : open + 1)));
}

class TEncoder {
public:
    TEncoder(std::string& out, const TVariantLimits& limits) : out_(out), limits_(limits) {}

    void Value(const Variant& ref, int depth) {
        const Variant& v = ref.Deref();
        const TVarType type = v.Type();
        if (type & varArray) return Array(v, depth);
        Put(out_, type);
        switch (type) {
            case varEmpty:
            case varNull:
                return;
            case varBoolean:
                return Put(out_, static_cast<std::uint8_t>(v.AsBoolean() ? 1 : 0));
            case varShortInt:
                return Put(out_, static_cast<std::int8_t>(v.AsInt64()));
            case varByte:
                return Put(out_, static_cast<std::uint8_t>(v.AsInt64()));
            case varSmallint:
                return Put(out_, static_cast<std::int16_t>(v.AsInt64()));
            case varWord:
                return Put(out_, static_cast<std::uint16_t>(v.AsInt64()));
            case varInteger:
                return Put(out_, static_cast<std::int32_t>(v.AsInt64()));
            case varError:
                return Put(out_, ErrorCode(v));
            case varLongWord:
                return Put(out_, static_cast<std::uint32_t>(v.AsInt64()));
            case varInt64:
                return Put(out_, v.AsInt64());
            case varUInt64:
                return Put(out_, static_cast<std::uint64_t>(std::stoull(VarToStr(v))));
            case varSingle:
                return Put(out_, static_cast<float>(v.AsDouble()));
            case varDouble:
                return Put(out_, v.AsDouble());
            case varDate:
                return Put(out_, v.AsDate());
            case varCurrency:
                return Put(out_, static_cast<std::int64_t>(std::llround(v.AsDouble() * 10000.0)));
            case varString:
            case varOleStr:
                return PutText(out_, v.AsString());
            case varDispatch:
                if (v.AsDispatch())
                    throw EVariantEncodeError(
                        "An automation object cannot be passed over the connection");
                return;
            default:
                throw EVariantEncodeError("Variant type " + std::to_string(type) +
                                          " cannot be encoded");
        }
    }

private:
    void Array(const Variant& v, int depth) {
        if (depth >= limits_.maxDepth) throw EVariantEncodeError("Arrays nested too deeply");
        const auto bounds = BoundsOf(v);
        if (bounds.empty() || bounds.size() > kMaxDims)
            throw EVariantEncodeError("Arrays of " + std::to_string(bounds.size()) +
                                      " dimensions cannot be encoded");
        Put(out_, static_cast<TVarType>(varArray | varVariant));
        Put(out_, v.ElementType());
        Put(out_, static_cast<std::uint8_t>(bounds.size()));
        for (const auto& b : bounds) {
            Put(out_, static_cast<std::int32_t>(b.Low));
            Put(out_, static_cast<std::int32_t>(b.High));
        }
        ForEachIndex(bounds,
                     [&](const std::vector<int>& index) { Value(v.Get(index), depth + 1); });
    }

    std::string& out_;
    const TVariantLimits& limits_;
};

class TDecoder {
public:
    TDecoder(std::string_view bytes, const TVariantLimits& limits)
        : bytes_(bytes), limits_(limits) {}

    Variant Value(int depth) {
        const auto type = Get<TVarType>();
        switch (type) {
            case varEmpty:
                return Variant();
            case varNull:
                return Variant::Null();
            case varBoolean:
                return Variant(Get<std::uint8_t>() != 0);
            case varShortInt:
                return Variant(Get<std::int8_t>());
            case varByte:
                return Variant(Get<std::uint8_t>());
            case varSmallint:
                return Variant(Get<std::int16_t>());
            case varWord:
                return Variant(Get<std::uint16_t>());
            case varInteger:
                return Variant(Get<std::int32_t>());
            case varError:
                return Variant::Error(Get<std::int32_t>());
            case varLongWord:
                return Variant(Get<std::uint32_t>());
            case varInt64:
                return Variant(static_cast<long long>(Get<std::int64_t>()));
            case varUInt64:
                return Variant(static_cast<unsigned long long>(Get<std::uint64_t>()));
            case varSingle:
                return Variant(Get<float>());
            case varDouble:
                return Variant(Get<double>());
            case varDate:
                return Variant::Date(Get<double>());
            case varCurrency:
                return Variant::Currency(static_cast<double>(Get<std::int64_t>()) / 10000.0);
            case varString:
                return Variant(Text());
            case varOleStr:
                return Variant::Wide(Text());
            case varDispatch:
                return Variant(DispatchPtr());
            case varArray | varVariant:
                return Array(depth);
            default:
                throw EVariantDecodeError("Unknown variant type " + std::to_string(type) +
                                          " at byte " + std::to_string(pos_ - sizeof type));
        }
    }

    void Finish() const {
        if (pos_ != bytes_.size())
            throw EVariantDecodeError(std::to_string(bytes_.size() - pos_) +
                                      " bytes left over after the value");
    }

private:
    template <class T>
    T Get() {
        Need(sizeof(T));
        T value;
        std::memcpy(&value, bytes_.data() + pos_, sizeof(T));
        pos_ += sizeof(T);
        return value;
    }

    void Need(std::size_t size) const {
        if (bytes_.size() - pos_ < size)
            throw EVariantDecodeError("Truncated value: " + std::to_string(size) +
                                      " bytes needed at byte " + std::to_string(pos_));
    }

    std::string Text() {
        const auto size = Get<std::uint32_t>();
        Need(size);
        std::string text(bytes_.substr(pos_, size));
        pos_ += size;
        return text;
    }

    Variant Array(int depth) {
        if (depth >= limits_.maxDepth) throw EVariantDecodeError("Arrays nested too deeply");
        const auto elementType = Get<TVarType>();
        const auto dims = Get<std::uint8_t>();
        if (dims < 1 || dims > kMaxDims)
            throw EVariantDecodeError("Array of " + std::to_string(dims) + " dimensions");
        std::vector<VarArrayBound> bounds;
        std::size_t count = 1;
        for (int d = 0; d < dims; ++d) {
            const auto low = Get<std::int32_t>();
            const auto high = Get<std::int32_t>();
            const std::int64_t length = std::int64_t{high} - low + 1;
            if (length < 0) throw EVariantDecodeError("Array bound below its low bound");
            // Every element takes at least two bytes, so the remaining bytes bound the count
            // before anything is allocated.
            if (length > 0 && count > (bytes_.size() - pos_) / static_cast<std::size_t>(length))
                throw EVariantDecodeError("Array larger than its encoding");
            count *= static_cast<std::size_t>(length);
            bounds.push_back({low, high});
        }
        if (count > (bytes_.size() - pos_) / sizeof(TVarType))
            throw EVariantDecodeError("Array larger than its encoding");
        elements_ += count;
        if (elements_ > limits_.maxElements) throw EVariantDecodeError("Too many array elements");
        Variant array = MakeArray(bounds, elementType);
        ForEachIndex(bounds, [&](const std::vector<int>& index) {
            Variant element = Value(depth + 1);
            try {
                array.Put(index, std::move(element));
            } catch (const EVariantDecodeError&) {
                throw;
            } catch (const Exception& error) {
                throw EVariantDecodeError("Invalid array element: " + error.Message());
            }
        });
        return array;
    }

    static Variant MakeArray(const std::vector<VarArrayBound>& bounds, TVarType elementType) {
        try {
            return VarArrayCreate(bounds, elementType);
        } catch (const Exception& error) {
            throw EVariantDecodeError("Invalid array: " + error.Message());
        }
    }

    std::string_view bytes_;
    const TVariantLimits& limits_;
    std::size_t pos_ = 0;
    std::size_t elements_ = 0;
};

}  // namespace

void EncodeVariant(const Variant& value, std::string& out, const TVariantLimits& limits) {
    TEncoder(out, limits).Value(value, 0);
}

std::string EncodeVariant(const Variant& value, const TVariantLimits& limits) {
    std::string out;
    EncodeVariant(value, out, limits);
    return out;
}

Variant DecodeVariant(std::string_view bytes, const TVariantLimits& limits) {
    TDecoder decoder(bytes, limits);
    try {
        Variant value = decoder.Value(0);
        decoder.Finish();
        return value;
    } catch (const EVariantDecodeError&) {
        throw;
    } catch (const Exception& error) {
        // A value the variant itself refuses, such as a currency out of range.
        throw EVariantDecodeError("Invalid value: " + error.Message());
    }
}

}  // namespace kv

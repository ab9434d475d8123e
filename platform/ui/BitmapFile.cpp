// .bmp files of TBitmap: a file header, an information header, a colour table for pictures of
// up to 8 bits per pixel, and rows padded to four bytes, bottom-up unless the height is negative.
#include <array>
#include <fstream>
#include <iterator>

#include "platform/core/SysUtils.h"
#include "platform/ui/Bitmap.h"

namespace kv {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::uint32_t kRgb = 0;        // uncompressed
constexpr std::uint32_t kBitFields = 3;  // uncompressed with colour masks (32-bit pictures)

[[noreturn]] void Invalid(const std::string& why) {
    throw EInvalidGraphic("Bitmap image is not valid: " + why);
}

class TReader {
public:
    explicit TReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::uint32_t U32(std::size_t at) const {
        Need(at, 4);
        return static_cast<std::uint32_t>(bytes_[at]) |
               static_cast<std::uint32_t>(bytes_[at + 1]) << 8 |
               static_cast<std::uint32_t>(bytes_[at + 2]) << 16 |
               static_cast<std::uint32_t>(bytes_[at + 3]) << 24;
    }
    std::uint16_t U16(std::size_t at) const {
        Need(at, 2);
        return static_cast<std::uint16_t>(bytes_[at] | bytes_[at + 1] << 8);
    }
    std::int32_t I32(std::size_t at) const { return static_cast<std::int32_t>(U32(at)); }
    std::uint8_t U8(std::size_t at) const {
        Need(at, 1);
        return bytes_[at];
    }
    void Need(std::size_t at, std::size_t count) const {
        if (at > bytes_.size() || count > bytes_.size() - at) Invalid("the file is cut short");
    }

private:
    std::span<const std::uint8_t> bytes_;
};

struct THeader {
    int width = 0;
    int height = 0;
    bool topDown = false;
    int bits = 0;
    std::size_t pixelOffset = 0;
    std::size_t stride = 0;
    std::vector<TColor> palette;
};

TColor Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return r | g << 8 | b << 16;
}

std::vector<TColor> ReadPalette(const TReader& in, std::size_t at, std::uint32_t used, int bits) {
    const std::uint32_t full = 1u << bits;
    const std::uint32_t count = used == 0 ? full : used;
    if (count > full) Invalid("the colour table is too long");
    std::vector<TColor> palette;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t entry = at + i * 4;
        palette.push_back(Rgb(in.U8(entry + 2), in.U8(entry + 1), in.U8(entry)));
    }
    return palette;
}

THeader ReadHeader(const TReader& in, std::size_t size) {
    if (in.U16(0) != 0x4D42) Invalid("no BM signature");
    THeader h;
    const std::uint32_t infoSize = in.U32(kFileHeaderSize);
    if (infoSize < kInfoHeaderSize) Invalid("unsupported information header");
    const std::int32_t width = in.I32(kFileHeaderSize + 4);
    const std::int32_t height = in.I32(kFileHeaderSize + 8);
    h.bits = in.U16(kFileHeaderSize + 14);
    const std::uint32_t compression = in.U32(kFileHeaderSize + 16);
    if (width <= 0 || height == 0 || height == INT32_MIN) Invalid("bad size");
    h.width = width;
    h.topDown = height < 0;
    h.height = h.topDown ? -height : height;
    if (static_cast<std::int64_t>(h.width) * h.height > TBitmap::kMaxPixels)
        Invalid("the picture is too large");
    const bool plain = compression == kRgb || (compression == kBitFields && h.bits == 32);
    if (!plain) Invalid("compressed pictures are not supported");
    if (h.bits != 1 && h.bits != 4 && h.bits != 8 && h.bits != 24 && h.bits != 32)
        Invalid(IntToStr(h.bits) + " bits per pixel are not supported");
    h.stride = (static_cast<std::size_t>(h.width) * static_cast<std::size_t>(h.bits) + 31) / 32 * 4;
    h.pixelOffset = in.U32(10);
    if (h.bits <= 8) {
        const std::size_t tableAt = kFileHeaderSize + infoSize;
        h.palette = ReadPalette(in, tableAt, in.U32(kFileHeaderSize + 32), h.bits);
    }
    const std::size_t rows = static_cast<std::size_t>(h.height);
    if (h.pixelOffset > size || h.stride * rows > size - h.pixelOffset)
        Invalid("the pixels lie outside the file");
    return h;
}

TColor ReadPixel(const TReader& in, const THeader& h, std::size_t row, int x) {
    const auto ux = static_cast<std::size_t>(x);
    switch (h.bits) {
        case 24:
        case 32: {
            const std::size_t at = row + ux * static_cast<std::size_t>(h.bits / 8);
            return Rgb(in.U8(at + 2), in.U8(at + 1), in.U8(at));
        }
        default: {
            const auto bits = static_cast<std::size_t>(h.bits);
            const std::size_t bit = ux * bits;
            const std::uint8_t byte = in.U8(row + bit / 8);
            const int shift = 8 - static_cast<int>(bits) - static_cast<int>(bit % 8);
            const std::size_t index = (byte >> shift) & ((1u << bits) - 1);
            if (index >= h.palette.size()) Invalid("a pixel names no colour of the table");
            return h.palette[index];
        }
    }
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void Put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

}  // namespace

void TBitmap::LoadFromBytes(std::span<const std::uint8_t> bytes) {
    const TReader in(bytes);
    const THeader h = ReadHeader(in, bytes.size());
    TBitmap loaded(h.width, h.height);
    for (int y = 0; y < h.height; ++y) {
        const int fileRow = h.topDown ? y : h.height - 1 - y;
        const std::size_t row = h.pixelOffset + static_cast<std::size_t>(fileRow) * h.stride;
        for (int x = 0; x < h.width; ++x)
            loaded.pixels_[loaded.Offset(x, y)] = ReadPixel(in, h, row, x);
    }
    loaded.pixelFormat_ = h.bits == 1 ? pf1bit : h.bits == 32 ? pf32bit : pf24bit;
    if (h.bits == 1 &&
        (h.palette.size() != 2 || h.palette[0] != clBlack || h.palette[1] != clWhite))
        loaded.pixelFormat_ = pf24bit;  // a two-colour picture that is no black-and-white one
    pixels_ = std::move(loaded.pixels_);
    width_ = h.width;
    height_ = h.height;
    pixelFormat_ = loaded.pixelFormat_;
    Changed();
}

std::vector<std::uint8_t> TBitmap::SaveToBytes() const {
    const std::size_t stride = (static_cast<std::size_t>(width_) * 3 + 3) / 4 * 4;
    const std::size_t imageSize = stride * static_cast<std::size_t>(height_);
    const std::size_t offset = kFileHeaderSize + kInfoHeaderSize;
    std::vector<std::uint8_t> out;
    out.reserve(offset + imageSize);
    Put16(out, 0x4D42);
    Put32(out, static_cast<std::uint32_t>(offset + imageSize));
    Put32(out, 0);
    Put32(out, static_cast<std::uint32_t>(offset));
    Put32(out, kInfoHeaderSize);
    Put32(out, static_cast<std::uint32_t>(width_));
    Put32(out, static_cast<std::uint32_t>(height_));
    Put16(out, 1);   // planes
    Put16(out, 24);  // bits per pixel
    Put32(out, kRgb);
    Put32(out, static_cast<std::uint32_t>(imageSize));
    Put32(out, 3780);  // 96 pixels per inch, in pixels per metre
    Put32(out, 3780);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = height_ - 1; y >= 0; --y) {
        for (int x = 0; x < width_; ++x) {
            const auto c = static_cast<std::uint32_t>(pixels_[Offset(x, y)]);
            out.push_back(static_cast<std::uint8_t>(c >> 16));
            out.push_back(static_cast<std::uint8_t>(c >> 8));
            out.push_back(static_cast<std::uint8_t>(c));
        }
        out.resize(out.size() + stride - static_cast<std::size_t>(width_) * 3, 0);
    }
    return out;
}

void TBitmap::LoadFromFile(const std::string& fileName) {
    std::ifstream file(fileName, std::ios::binary);
    if (!file || DirectoryExists(fileName))
        throw EFOpenError("Cannot open file \"" + fileName + "\"");
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file),
                                          std::istreambuf_iterator<char>()};
    try {
        LoadFromBytes(bytes);
    } catch (const EInvalidGraphic& error) {
        throw EInvalidGraphic(error.Message() + " (" + fileName + ")");
    }
}

void TBitmap::SaveToFile(const std::string& fileName) const {
    const std::vector<std::uint8_t> bytes = SaveToBytes();
    std::ofstream file(fileName, std::ios::binary | std::ios::trunc);
    if (!file) throw EStreamError("Cannot create file \"" + fileName + "\"");
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    if (!file.flush()) throw EStreamError("Cannot write file \"" + fileName + "\"");
}

}  // namespace kv

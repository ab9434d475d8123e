// Format of the SysUtils unit: the platform's "%" directives over a list of arguments.
#include <cstdint>

#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"

namespace kv {

namespace {

constexpr int kNone = -1;
// Generous bounds that keep a hostile format from asking for gigabytes of padding.
constexpr int kMaxWidth = 1 << 16;

struct Directive {
    bool leftAlign = false;
    int width = kNone;
    int precision = kNone;
    char type = '\0';
};

class Formatter {
public:
    Formatter(std::string_view fmt, const std::vector<FormatArg>& args,
              const TFormatSettings& settings)
        : fmt_(fmt), args_(args), settings_(settings) {}

    std::string Run();

private:
    [[noreturn]] void Fail() const {
        throw EConvertError("Format '" + std::string(fmt_) +
                            "' invalid or incompatible with argument");
    }
    char Peek() const { return pos_ < fmt_.size() ? fmt_[pos_] : '\0'; }
    bool AtDigit() const { return Peek() >= '0' && Peek() <= '9'; }
    int ReadNumber();
    int ReadNumberOrStar();
    Directive ReadDirective();
    const FormatArg& NextArg();
    int IntegerArg();
    std::string Convert(const Directive& d);
    std::string IntegerText(const Directive& d);
    std::string FloatText(const Directive& d);
    std::string Text(const Directive& d);

    std::string_view fmt_;
    const std::vector<FormatArg>& args_;
    const TFormatSettings& settings_;
    std::size_t pos_ = 0;
    std::size_t argIndex_ = 0;
};

// Display width of UTF-8 text: a character outside ASCII counts two, as in the double-byte
// code pages the reports were laid out for.
int DisplayWidth(std::string_view s) {
    int width = 0;
    for (char c : s) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            ++width;
        } else if ((byte & 0xC0) != 0x80) {
            width += 2;
        }
    }
    return width;
}

// The longest leading part of s that is at most `width` wide, never splitting a character.
std::string TruncateToWidth(std::string_view s, int width) {
    int used = 0;
    std::size_t i = 0;
    while (i < s.size()) {
        const auto byte = static_cast<unsigned char>(s[i]);
        std::size_t length = 1;
        if (byte >= 0xF0) {
            length = 4;
        } else if (byte >= 0xE0) {
            length = 3;
        } else if (byte >= 0xC0) {
            length = 2;
        }
        const int charWidth = byte < 0x80 ? 1 : 2;
        if (used + charWidth > width) break;
        used += charWidth;
        i = std::min(s.size(), i + length);
    }
    return std::string(s.substr(0, i));
}

std::string Pad(std::string text, const Directive& d) {
    const int missing = d.width - DisplayWidth(text);
    if (missing <= 0) return text;
    const std::string blanks(static_cast<std::size_t>(missing), ' ');
    return d.leftAlign ? text + blanks : blanks + text;
}

int Formatter::ReadNumber() {
    int value = 0;
    while (AtDigit()) {
        value = value * 10 + (Peek() - '0');
        if (value > kMaxWidth) Fail();
        ++pos_;
    }
    return value;
}

int Formatter::ReadNumberOrStar() {
    if (Peek() == '*') {
        ++pos_;
        return IntegerArg();
    }
    return AtDigit() ? ReadNumber() : kNone;
}

Directive Formatter::ReadDirective() {
    Directive d;
    int number = ReadNumberOrStar();
    if (Peek() == ':') {
        // An index moves the argument pointer; later directives go on from there.
        ++pos_;
        if (number < 0) number = 0;
        argIndex_ = static_cast<std::size_t>(number);
        number = kNone;
    }
    if (number == kNone) {
        if (Peek() == '-') {
            d.leftAlign = true;
            ++pos_;
        }
        number = ReadNumberOrStar();
    }
    d.width = number;
    if (Peek() == '.') {
        ++pos_;
        d.precision = ReadNumberOrStar();
        if (d.precision == kNone) d.precision = 0;
    }
    if (d.width > kMaxWidth || d.precision > kMaxWidth) Fail();
    if (pos_ >= fmt_.size()) Fail();
    d.type = fmt_[pos_++];
    return d;
}

const FormatArg& Formatter::NextArg() {
    if (argIndex_ >= args_.size()) Fail();
    return args_[argIndex_++];
}

int Formatter::IntegerArg() {
    const FormatArg& arg = NextArg();
    std::int64_t value = 0;
    if (arg.GetKind() == FormatArg::Kind::Signed) {
        value = arg.AsSigned();
    } else if (arg.GetKind() == FormatArg::Kind::Unsigned && arg.AsUnsigned() <= kMaxWidth) {
        value = static_cast<std::int64_t>(arg.AsUnsigned());
    } else {
        Fail();
    }
    if (value > kMaxWidth) Fail();
    return value < 0 ? kNone : static_cast<int>(value);
}

// The bits of a negative integer as its own size shows them ("%u", "%x").
std::uint64_t UnsignedBits(const FormatArg& arg) {
    if (arg.GetKind() == FormatArg::Kind::Unsigned) return arg.AsUnsigned();
    const auto bits = static_cast<std::uint64_t>(arg.AsSigned());
    return arg.IntegerBytes() == 4 ? (bits & 0xFFFFFFFFu) : bits;
}

std::string Formatter::IntegerText(const Directive& d) {
    const FormatArg& arg = NextArg();
    if (arg.GetKind() != FormatArg::Kind::Signed && arg.GetKind() != FormatArg::Kind::Unsigned) {
        Fail();
    }
    const char type = static_cast<char>(d.type | 0x20);
    bool negative = false;
    std::string digits;
    if (type == 'x') {
        digits = HexDigits(UnsignedBits(arg), 0);
    } else if (type == 'u') {
        digits = UIntToStr(UnsignedBits(arg));
    } else if (arg.GetKind() == FormatArg::Kind::Signed && arg.AsSigned() < 0) {
        negative = true;
        digits = UIntToStr(0 - static_cast<std::uint64_t>(arg.AsSigned()));
    } else {
        digits = UIntToStr(UnsignedBits(arg));
    }
    if (d.precision > static_cast<int>(digits.size())) {
        digits.insert(0, static_cast<std::size_t>(d.precision) - digits.size(), '0');
    }
    return (negative ? "-" : "") + digits;
}

std::string Formatter::FloatText(const Directive& d) {
    const FormatArg& arg = NextArg();
    if (arg.GetKind() != FormatArg::Kind::Float) Fail();
    const double value = arg.AsFloat();
    const int precision = d.precision;
    switch (d.type | 0x20) {
        case 'e':
            return FloatToStrF(value, ffExponent, precision == kNone ? 15 : precision, 3,
                               settings_);
        case 'f':
            return FloatToStrF(value, ffFixed, 18, precision == kNone ? 2 : precision, settings_);
        case 'g':
            return FloatToStrF(value, ffGeneral, precision == kNone ? 15 : precision, 0, settings_);
        case 'n':
            return FloatToStrF(value, ffNumber, 18, precision == kNone ? 2 : precision, settings_);
        default:
            return FloatToStrF(value, ffCurrency, 18,
                               precision == kNone ? settings_.CurrencyDecimals : precision,
                               settings_);
    }
}

std::string Formatter::Text(const Directive& d) {
    const FormatArg& arg = NextArg();
    if (arg.GetKind() != FormatArg::Kind::Text) Fail();
    if (d.precision == kNone) return arg.AsText();
    return TruncateToWidth(arg.AsText(), d.precision);
}

std::string Formatter::Convert(const Directive& d) {
    switch (d.type | 0x20) {
        case 'd':
        case 'u':
        case 'x':
            return IntegerText(d);
        case 'e':
        case 'f':
        case 'g':
        case 'n':
        case 'm':
            return FloatText(d);
        case 's':
            return Text(d);
        case 'p': {
            const FormatArg& arg = NextArg();
            if (arg.GetKind() != FormatArg::Kind::Pointer) Fail();
            return HexDigits(reinterpret_cast<std::uintptr_t>(arg.AsPointer()), 16);
        }
        default:
            Fail();
    }
}

std::string Formatter::Run() {
    std::string out;
    while (pos_ < fmt_.size()) {
        const char c = fmt_[pos_++];
        if (c != '%') {
            out += c;
        } else if (Peek() == '%') {
            out += '%';
            ++pos_;
        } else {
            const Directive d = ReadDirective();
            out += Pad(Convert(d), d);
        }
    }
    return out;
}

}  // namespace

std::string Format(std::string_view fmt, std::initializer_list<FormatArg> args) {
    return Format(fmt, std::vector<FormatArg>(args), FormatSettings);
}

std::string Format(std::string_view fmt, const std::vector<FormatArg>& args) {
    return Format(fmt, args, FormatSettings);
}

std::string Format(std::string_view fmt, const std::vector<FormatArg>& args,
                   const TFormatSettings& settings) {
    return Formatter(fmt, args, settings).Run();
}

}  // namespace kv

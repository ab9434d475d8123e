// FormatFloat of the SysUtils unit: numbers written by a picture such as "#,##0.00".
#include <cmath>
#include <cstdlib>

#include "platform/core/FloatDigits.h"
#include "platform/core/SysUtils.h"

namespace kv {

namespace {

constexpr int kPrecision = 15;

// Splits the format at ";" outside quotes into at most three sections.
std::vector<std::string_view> Sections(std::string_view format) {
    std::vector<std::string_view> sections;
    std::size_t start = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c == '"' || c == '\'') {
            const std::size_t close = format.find(c, i + 1);
            i = close == std::string_view::npos ? format.size() : close;
        } else if (c == ';' && sections.size() < 2) {
            sections.push_back(format.substr(start, i - start));
            start = i + 1;
        }
    }
    sections.push_back(format.substr(start));
    return sections;
}

bool IsExponentAt(std::string_view s, std::size_t i) {
    return (s[i] == 'E' || s[i] == 'e') && i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-');
}

// What a section asks for, found by one pass over it.
struct Picture {
    int integerPlaces = 0;  // '0' and '#' before the decimal point
    int minInteger = 0;     // places from the first '0' on
    int maxDecimals = 0;
    int minDecimals = 0;  // up to the last '0' after the point
    bool thousands = false;
    bool scientific = false;
    int exponentDigits = 0;
};

Picture Analyse(std::string_view section) {
    Picture p;
    bool afterPoint = false;
    bool sawZero = false;
    for (std::size_t i = 0; i < section.size(); ++i) {
        const char c = section[i];
        if (c == '"' || c == '\'') {
            const std::size_t close = section.find(c, i + 1);
            i = close == std::string_view::npos ? section.size() : close;
        } else if (IsExponentAt(section, i) && !p.scientific) {
            p.scientific = true;
            for (i += 2; i < section.size() && section[i] == '0'; ++i)
                ++p.exponentDigits;
            --i;
        } else if (c == '.' && !p.scientific) {
            afterPoint = true;
        } else if (c == ',' && !afterPoint) {
            p.thousands = true;
        } else if ((c == '0' || c == '#') && !p.scientific) {
            if (afterPoint) {
                ++p.maxDecimals;
                if (c == '0') p.minDecimals = p.maxDecimals;
            } else {
                ++p.integerPlaces;
                sawZero = sawZero || c == '0';
                if (sawZero) ++p.minInteger;
            }
        }
    }
    return p;
}

struct Digits {
    std::string integer;
    std::string fraction;
    int exponent = 0;
};

Digits Prepare(double value, const Picture& p) {
    Digits out;
    FloatDigits d;
    if (p.scientific) {
        const int places = p.integerPlaces > 0 ? p.integerPlaces : 1;
        const int significant = std::min(kPrecision, places + p.maxDecimals);
        d = RoundToDigits(value, significant, kUnlimitedDecimals);
        out.exponent = d.digits.empty() ? 0 : d.exponent - places;
        d.exponent = d.digits.empty() ? 0 : places;
    } else {
        d = RoundToDigits(value, kPrecision, p.maxDecimals);
    }
    const auto count = static_cast<int>(d.digits.size());
    for (int i = std::min(d.exponent, 0); i < std::max(count, d.exponent); ++i) {
        const char digit = (i >= 0 && i < count) ? d.digits[static_cast<std::size_t>(i)] : '0';
        (i < d.exponent ? out.integer : out.fraction) += digit;
    }
    if (static_cast<int>(out.integer.size()) < p.minInteger) {
        out.integer.insert(0, static_cast<std::size_t>(p.minInteger) - out.integer.size(), '0');
    }
    if (static_cast<int>(out.fraction.size()) < p.minDecimals) {
        out.fraction.append(static_cast<std::size_t>(p.minDecimals) - out.fraction.size(), '0');
    }
    return out;
}

class PictureWriter {
public:
    PictureWriter(const Picture& p, const Digits& d, const TFormatSettings& settings)
        : p_(p), d_(d), settings_(settings) {}

    std::string Write(std::string_view section);

private:
    void IntegerPlace(std::string& out);
    void EmitIntegerDigit(std::size_t index, std::string& out);
    std::size_t Exponent(std::string_view section, std::size_t i, std::string& out) const;

    const Picture& p_;
    const Digits& d_;
    const TFormatSettings& settings_;
    int integerPlace_ = 0;
    std::size_t fractionIndex_ = 0;
};

void PictureWriter::EmitIntegerDigit(std::size_t index, std::string& out) {
    out += d_.integer[index];
    const std::size_t remaining = d_.integer.size() - 1 - index;
    if (p_.thousands && remaining > 0 && remaining % 3 == 0) out += settings_.ThousandSeparator;
}

// The digits of the integer part line up with the places from the right; digits beyond the
// places all go to the first place.
void PictureWriter::IntegerPlace(std::string& out) {
    const auto length = static_cast<int>(d_.integer.size());
    const int firstDigit = length - p_.integerPlaces + integerPlace_;
    if (integerPlace_ == 0) {
        for (int i = 0; i < firstDigit; ++i)
            EmitIntegerDigit(static_cast<std::size_t>(i), out);
    }
    if (firstDigit >= 0 && firstDigit < length) {
        EmitIntegerDigit(static_cast<std::size_t>(firstDigit), out);
    }
    ++integerPlace_;
}

std::size_t PictureWriter::Exponent(std::string_view section, std::size_t i,
                                    std::string& out) const {
    out += section[i];
    const bool alwaysSign = section[i + 1] == '+';
    if (d_.exponent < 0) {
        out += '-';
    } else if (alwaysSign) {
        out += '+';
    }
    std::string digits = std::to_string(std::abs(d_.exponent));
    if (static_cast<int>(digits.size()) < p_.exponentDigits) {
        digits.insert(0, static_cast<std::size_t>(p_.exponentDigits) - digits.size(), '0');
    }
    out += digits;
    i += 2;
    while (i < section.size() && section[i] == '0')
        ++i;
    return i;
}

std::string PictureWriter::Write(std::string_view section) {
    std::string out;
    bool afterPoint = false;
    bool exponentDone = false;
    std::size_t i = 0;
    while (i < section.size()) {
        const char c = section[i];
        if (c == '"' || c == '\'') {
            std::size_t close = section.find(c, i + 1);
            if (close == std::string_view::npos) close = section.size();
            out += section.substr(i + 1, close - i - 1);
            i = close + 1;
            continue;
        }
        if (IsExponentAt(section, i) && !exponentDone) {
            if (p_.integerPlaces == 0 && integerPlace_ == 0 && !afterPoint) IntegerPlace(out);
            exponentDone = true;
            i = Exponent(section, i, out);
            continue;
        }
        if ((c == '0' || c == '#') && !exponentDone) {
            if (!afterPoint) {
                IntegerPlace(out);
            } else if (fractionIndex_ < d_.fraction.size()) {
                out += d_.fraction[fractionIndex_++];
            }
        } else if (c == '.' && !afterPoint && !exponentDone) {
            // A picture without integer places still shows the integer digits.
            if (p_.integerPlaces == 0) IntegerPlace(out);
            afterPoint = true;
            if (!d_.fraction.empty()) out += settings_.DecimalSeparator;
        } else if (c != ',' || afterPoint || exponentDone) {
            out += c;
        }
        ++i;
    }
    return out;
}

}  // namespace

std::string FormatFloat(std::string_view format, double value) {
    return FormatFloat(format, value, FormatSettings);
}

std::string FormatFloat(std::string_view format, double value, const TFormatSettings& settings) {
    if (!std::isfinite(value) || format.empty()) return FloatToStr(value, settings);
    const std::vector<std::string_view> sections = Sections(format);
    std::string_view section = sections[0];
    bool writeSign = value < 0;
    if (value < 0 && sections.size() >= 2 && !sections[1].empty()) {
        section = sections[1];
        writeSign = false;
    }
    Picture picture = Analyse(section);
    Digits digits = Prepare(value, picture);
    const bool roundsToZero =
        RoundToDigits(value, kPrecision,
                      picture.scientific ? kUnlimitedDecimals : picture.maxDecimals)
            .digits.empty();
    if (roundsToZero) {
        writeSign = false;
        if (sections.size() == 3 && !sections[2].empty()) {
            section = sections[2];
            picture = Analyse(section);
            digits = Prepare(0, picture);
        }
    }
    std::string text = PictureWriter(picture, digits, settings).Write(section);
    return writeSign ? "-" + text : text;
}

}  // namespace kv

// Floating-point texts of the SysUtils unit: FloatToStr, FloatToStrF, StrToFloat.
#include <charconv>
#include <cmath>
#include <cstdio>

#include "platform/core/Exceptions.h"
#include "platform/core/FloatDigits.h"
#include "platform/core/SysUtils.h"

namespace kv {

namespace {

// A double carries about 15 reliable decimal digits, the precision of the platform's
// general form.
constexpr int kDoublePrecision = 15;

std::string SpecialText(double value) {
    if (std::isnan(value)) return "NAN";
    return value < 0 ? "-INF" : "INF";
}

std::string ExponentText(int exponent, bool alwaysSign, int minDigits) {
    std::string digits = std::to_string(exponent < 0 ? -exponent : exponent);
    if (static_cast<int>(digits.size()) < minDigits) {
        digits.insert(0, static_cast<std::size_t>(minDigits) - digits.size(), '0');
    }
    if (exponent < 0) return "E-" + digits;
    return (alwaysSign ? "E+" : "E") + digits;
}

// Mantissa d.ddd with exactly `count` digits (fewer are padded with zeros) and the exponent.
std::string ScientificText(const FloatDigits& d, int count, bool trim, bool alwaysSign,
                           int minExponentDigits, char decimalSeparator) {
    std::string digits = d.digits.empty() ? std::string("0") : d.digits;
    if (!trim && static_cast<int>(digits.size()) < count) {
        digits.append(static_cast<std::size_t>(count) - digits.size(), '0');
    }
    std::string text = d.negative ? "-" : "";
    text += digits[0];
    if (digits.size() > 1) {
        text += decimalSeparator;
        text.append(digits, 1);
    }
    const int exponent = d.digits.empty() ? 0 : d.exponent - 1;
    return text + ExponentText(exponent, alwaysSign, minExponentDigits);
}

std::string GeneralText(double value, int precision, int minExponentDigits,
                        const TFormatSettings& settings) {
    const FloatDigits d = RoundToDigits(value, precision, kUnlimitedDecimals);
    if (d.digits.empty()) return "0";
    if (d.exponent > precision || d.exponent < -3) {
        return ScientificText(d, 0, true, false, minExponentDigits, settings.DecimalSeparator);
    }
    return PositionalText(d, 0, '\0', settings.DecimalSeparator);
}

std::string FixedText(double value, int precision, int decimals, char thousands,
                      const TFormatSettings& settings) {
    FloatDigits d = RoundToDigits(value, precision, decimals);
    // Too many integer digits for the precision: the platform switches to scientific form.
    if (d.exponent > precision) {
        d = RoundToDigits(value, precision, kUnlimitedDecimals);
        return ScientificText(d, precision, false, true, 3, settings.DecimalSeparator);
    }
    return PositionalText(d, decimals, thousands, settings.DecimalSeparator);
}

std::string CurrencyText(double value, int decimals, const TFormatSettings& settings) {
    std::string number =
        FixedText(std::fabs(value), 18, decimals, settings.ThousandSeparator, settings);
    const bool negative = value < 0 && RoundToDigits(value, 18, decimals).negative;
    return (negative ? "-" : "") + settings.CurrencyString + number;
}

int ClampPrecision(int precision) {
    if (precision < 1) return 1;
    return precision > 18 ? 18 : precision;
}

}  // namespace

std::string FloatToStr(double value) {
    return FloatToStr(value, FormatSettings);
}

std::string FloatToStr(double value, const TFormatSettings& settings) {
    return FloatToStrF(value, ffGeneral, kDoublePrecision, 0, settings);
}

std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits) {
    return FloatToStrF(value, format, precision, digits, FormatSettings);
}

std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits,
                        const TFormatSettings& settings) {
    if (!std::isfinite(value)) return SpecialText(value);
    precision = ClampPrecision(precision);
    digits = digits < 0 ? 0 : (digits > 18 ? 18 : digits);
    switch (format) {
        case ffGeneral:
            return GeneralText(value, precision, digits, settings);
        case ffExponent:
            return ScientificText(RoundToDigits(value, precision, kUnlimitedDecimals), precision,
                                  false, true, digits, settings.DecimalSeparator);
        case ffFixed:
            return FixedText(value, precision, digits, '\0', settings);
        case ffNumber:
            return FixedText(value, precision, digits, settings.ThousandSeparator, settings);
        case ffCurrency:
            return CurrencyText(value, digits, settings);
    }
    return GeneralText(value, precision, 0, settings);
}

// ---------------------------------------------------------------------------------------------
// Reading

bool TryStrToFloat(std::string_view s, double& value) {
    return TryStrToFloat(s, value, FormatSettings);
}

bool TryStrToFloat(std::string_view s, double& value, const TFormatSettings& settings) {
    const std::string text = Trim(s);
    // Copy into the form std::from_chars reads: '.' as the decimal point, no '+' sign.
    std::string plain;
    bool sawDigit = false;
    bool sawPoint = false;
    bool sawExponent = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool signAllowed =
            i == 0 || (sawExponent && (text[i - 1] == 'e' || text[i - 1] == 'E'));
        if (c >= '0' && c <= '9') {
            sawDigit = true;
            plain += c;
        } else if (c == settings.DecimalSeparator && !sawPoint && !sawExponent) {
            sawPoint = true;
            plain += '.';
        } else if ((c == 'e' || c == 'E') && sawDigit && !sawExponent) {
            sawExponent = true;
            plain += 'e';
        } else if ((c == '+' || c == '-') && signAllowed) {
            if (c == '-') plain += c;
        } else {
            return false;
        }
    }
    if (!sawDigit || plain.empty() || plain.back() == 'e' || plain.back() == '-') return false;
    double result = 0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), result);
    if (error != std::errc() || end != plain.data() + plain.size()) return false;
    if (!std::isfinite(result)) return false;
    value = result;
    return true;
}

double StrToFloat(std::string_view s) {
    return StrToFloat(s, FormatSettings);
}

double StrToFloat(std::string_view s, const TFormatSettings& settings) {
    double value = 0;
    if (!TryStrToFloat(s, value, settings)) {
        throw EConvertError("'" + std::string(s) + "' is not a valid floating point value");
    }
    return value;
}

double StrToFloatDef(std::string_view s, double defaultValue) {
    double value = 0;
    return TryStrToFloat(s, value) ? value : defaultValue;
}

}  // namespace kv

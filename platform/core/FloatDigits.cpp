#include "platform/core/FloatDigits.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace kv {

namespace {

// Digits enough to decide almost every rounding without the exact expansion.
constexpr int kProbeDigits = 40;
// A double's exact decimal expansion has at most 767 significant digits.
constexpr int kExactDigits = 770;

// The first `count` significant digits of a positive value (printf rounding) and the
// exponent of the first digit.
std::string SignificantDigits(double value, int count, int& firstExponent) {
    std::vector<char> buffer(static_cast<std::size_t>(count) + 16);
    std::snprintf(buffer.data(), buffer.size(), "%.*e", count - 1, value);
    std::string digits;
    const char* p = buffer.data();
    for (; *p != 'e' && *p != '\0'; ++p) {
        if (*p != '.') digits += *p;
    }
    firstExponent = *p == 'e' ? std::atoi(p + 1) : 0;
    return digits;
}

// True when the digits from `from` on make at least half a unit of the last kept digit.
// Ties round away from zero; only an apparent tie needs the exact expansion.
bool RoundsUp(double value, const std::string& probe, std::size_t from) {
    if (from >= probe.size()) return false;
    if (probe[from] != '5') return probe[from] > '5';
    const bool apparentTie = std::all_of(probe.begin() + static_cast<std::ptrdiff_t>(from) + 1,
                                         probe.end(), [](char c) { return c == '0'; });
    if (!apparentTie) return true;
    int exponent = 0;
    const std::string exact = SignificantDigits(value, kExactDigits, exponent);
    return exact[from] >= '5';
}

void StripTrailingZeros(std::string& digits) {
    while (!digits.empty() && digits.back() == '0')
        digits.pop_back();
}

}  // namespace

FloatDigits RoundToDigits(double value, int significant, int decimals) {
    FloatDigits result;
    if (value == 0 || !std::isfinite(value)) return result;
    const double magnitude = std::fabs(value);
    int firstExponent = 0;
    const std::string probe = SignificantDigits(magnitude, kProbeDigits, firstExponent);
    int position = firstExponent + 1;
    const int keep = std::min(significant, position + decimals);
    if (keep < 0) return result;
    std::string kept = probe.substr(0, static_cast<std::size_t>(keep));
    if (RoundsUp(magnitude, probe, static_cast<std::size_t>(keep))) {
        int i = keep - 1;
        for (; i >= 0 && kept[static_cast<std::size_t>(i)] == '9'; --i) {
            kept[static_cast<std::size_t>(i)] = '0';
        }
        if (i >= 0) {
            ++kept[static_cast<std::size_t>(i)];
        } else {
            kept.insert(kept.begin(), '1');
            ++position;
        }
    }
    StripTrailingZeros(kept);
    if (kept.empty()) return result;
    result.digits = std::move(kept);
    result.exponent = position;
    result.negative = value < 0;
    return result;
}

std::string PositionalText(const FloatDigits& d, int minDecimals, char thousands,
                           char decimalSeparator) {
    std::string integer;
    std::string fraction;
    const auto count = static_cast<int>(d.digits.size());
    for (int i = std::min(d.exponent, 0); i < std::max(count, d.exponent); ++i) {
        const char digit = (i >= 0 && i < count) ? d.digits[static_cast<std::size_t>(i)] : '0';
        (i < d.exponent ? integer : fraction) += digit;
    }
    if (integer.empty()) integer = "0";
    if (static_cast<int>(fraction.size()) < minDecimals) {
        fraction.append(static_cast<std::size_t>(minDecimals) - fraction.size(), '0');
    }
    std::string text = d.negative ? "-" : "";
    for (std::size_t i = 0; i < integer.size(); ++i) {
        text += integer[i];
        const std::size_t remaining = integer.size() - 1 - i;
        if (thousands != '\0' && remaining > 0 && remaining % 3 == 0) text += thousands;
    }
    if (!fraction.empty()) text += decimalSeparator + fraction;
    return text;
}

}  // namespace kv

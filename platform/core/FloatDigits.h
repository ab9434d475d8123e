// Decimal digits of a double rounded the platform's way (half away from zero, in decimal),
// shared by the SysUtils number formatters.
#pragma once

#include <string>

namespace kv {

// No limit on the decimals that RoundToDigits keeps.
inline constexpr int kUnlimitedDecimals = 1000;

// |value| = 0.digits x 10^exponent; digits has no trailing zeros; empty digits mean zero
// (and then negative is false).
struct FloatDigits {
    std::string digits;
    int exponent = 0;
    bool negative = false;
};

// Rounds a finite value to at most `significant` digits and at most `decimals` digits after
// the decimal point, whichever keeps fewer.
FloatDigits RoundToDigits(double value, int significant, int decimals);

// Writes the digits without exponent: at least one integer digit, at least minDecimals
// decimals, thousands separators when `thousands` is not '\0'.
std::string PositionalText(const FloatDigits& d, int minDecimals, char thousands,
                           char decimalSeparator);

}  // namespace kv

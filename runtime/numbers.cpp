#include "runtime/numbers.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace tavola {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

double leadingNumber(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;

    // Copy the longest prefix that has the shape of a decimal number into a
    // clean buffer, so strtod never sees forms we do not accept (hex, "inf", "nan").
    std::string number;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        number += text[i++];
    bool digits = false;
    while (i < text.size() && isDigit(text[i])) {
        number += text[i++];
        digits = true;
    }
    if (i < text.size() && text[i] == '.') {
        number += text[i++];
        while (i < text.size() && isDigit(text[i])) {
            number += text[i++];
            digits = true;
        }
    }
    if (!digits)
        return 0.0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < text.size() && (text[j] == '-' || text[j] == '+'))
            exponent += text[j++];
        bool expDigits = false;
        while (j < text.size() && isDigit(text[j])) {
            exponent += text[j++];
            expDigits = true;
        }
        if (expDigits)
            number += exponent;
    }
    return std::strtod(number.c_str(), nullptr);
}

std::optional<std::int16_t> roundToInt16(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    // nearbyint rounds ties to even under the default rounding mode.
    const double rounded = std::nearbyint(value);
    if (rounded < std::numeric_limits<std::int16_t>::min() || rounded > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

std::optional<std::int16_t> checkedAdd16(std::int16_t a, std::int16_t b)
{
    const int sum = int{a} + int{b};
    if (sum < std::numeric_limits<std::int16_t>::min() || sum > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(sum);
}

std::int32_t composeRgb(int red, int green, int blue)
{
    auto clamp = [](int c) { return std::clamp(c, 0, 255); };
    return clamp(red) + 256 * clamp(green) + 65536 * clamp(blue);
}

std::string formatInteger(long long value) { return std::to_string(value); }

}  // namespace tavola

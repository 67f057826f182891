#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavola {

// A blank, as every reader of a typed or pasted text skips it: space, tab, or
// the line break a paste may bring along (a line edit shows it as a space).
constexpr bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// The number a text begins with, as the answer box is read: leading blanks
// skipped, an optional sign, digits with an optional decimal point and an
// optional exponent ("9e99"). Reads 0 when the text begins with no number;
// never fails. Huge exponents give an infinity.
double leadingNumber(std::string_view text);

// Rounds to the nearest integer, ties to even; nothing when the result lies
// outside the 16-bit range (or the value is not finite).
std::optional<std::int16_t> roundToInt16(double value);

// 16-bit addition that reports overflow instead of wrapping.
std::optional<std::int16_t> checkedAdd16(std::int16_t a, std::int16_t b);

// A colour as red + 256 green + 65536 blue, each component clamped to 0..255.
std::int32_t composeRgb(int red, int green, int blue);

// An integer's digits, with a leading "-" when negative, no blanks.
std::string formatInteger(long long value);

}  // namespace tavola

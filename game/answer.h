#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tavola {

inline constexpr std::int16_t kKeyBackspace = 8;
inline constexpr std::int16_t kKeyEnter = 13;

// What the answer box does with a typed character.
enum class KeyAction { pass, score, discard };

// Only the characters of a signed integer and Backspace get in; Enter scores.
KeyAction classifyKey(std::int16_t keyAscii);

// The answer a text stands for: the number it begins with (0 when none),
// rounded to 16 bits. Nothing when that number lies outside 16 bits.
std::optional<std::int16_t> readAnswer(std::string_view text);

}  // namespace tavola

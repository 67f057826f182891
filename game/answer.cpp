#include "game/answer.h"

#include "runtime/numbers.h"

namespace tavola {

KeyAction classifyKey(std::int16_t keyAscii)
{
    if (keyAscii == '-' || (keyAscii >= '0' && keyAscii <= '9') || keyAscii == kKeyBackspace)
        return KeyAction::pass;
    if (keyAscii == kKeyEnter)
        return KeyAction::score;
    return KeyAction::discard;
}

std::optional<std::int16_t> readAnswer(std::string_view text) { return roundToInt16(leadingNumber(text)); }

}  // namespace tavola

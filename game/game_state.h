#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "runtime/time_value.h"

namespace tavola {

// The end of the game: a text (empty for none, or an entry that was rejected)
// or an accepted time value.
using EndTime = std::variant<std::string, TimeValue>;

// The game's state; it lives as long as the window object, across new games.
struct GameState {
    std::int16_t expectedAnswer = 0;
    std::int16_t correctCount = 0;
    std::int16_t wrongCount = 0;
    EndTime endTime = std::string();
    std::int16_t operandB = 0;
    std::int16_t signB = 0;
};

}  // namespace tavola

#pragma once

#include <cstdint>
#include <string>

#include "runtime/time_value.h"

namespace tavola {

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

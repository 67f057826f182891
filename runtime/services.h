#pragma once

#include <string>
#include <string_view>

#include "runtime/time_value.h"

namespace tavola {

enum class MsgBoxButtons { okOnly, yesNoDefaultNo };
enum class MsgBoxResult { ok, yes, no };

// The platform services the game logic calls. Texts are UTF-8.
class Services {
public:
    virtual ~Services() = default;

    // The current date and time.
    virtual TimeValue now() = 0;

    // Reseeds the random source from the clock; next value is uniform in [0, 1).
    virtual void randomize() = 0;
    virtual double nextRandom() = 0;

    virtual void beep() = 0;

    // Modal boxes: they return when the pupil answers. The input box returns
    // "" when cancelled.
    virtual MsgBoxResult msgBox(std::string_view prompt, MsgBoxButtons buttons, std::string_view title) = 0;
    virtual std::string inputBox(std::string_view prompt, std::string_view title, std::string_view defaultText) = 0;

    // Ends the program at once.
    virtual void end() = 0;
};

}  // namespace tavola

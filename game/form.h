#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tavola {

// The controls that the game logic reads and writes, and the exit button,
// whose click it handles.
enum class Control {
    txtAnswer, cmdNext, lblNum1, lblNum2, lblMessage, lblTime, lblScore, lblScore1, lblScore2, cmdExit
};
inline constexpr std::size_t kControlCount = 10;

inline constexpr int kWindowMinimized = 1;

// What the game logic does to the window and its controls. Texts are UTF-8.
class Form {
public:
    virtual ~Form() = default;

    // The caption of a label, or the text of the answer box.
    virtual std::string text(Control control) const = 0;
    virtual void setText(Control control, std::string_view text) = 0;
    virtual void setEnabled(Control control, bool enabled) = 0;
    virtual void setFocus(Control control) = 0;

    // Colour as red + 256 green + 65536 blue.
    virtual void setBackColor(std::int32_t rgb) = 0;

    // 1 when minimised; anything else is a normal or maximised window.
    virtual int windowState() const = 0;
    virtual std::string caption() const = 0;
    virtual void setCaption(std::string_view caption) = 0;

    // What a screen reader says of a control, beside its caption or text.
    virtual void setAccessibleName(Control control, std::string_view name) = 0;
    virtual void setAccessibleDescription(Control control, std::string_view description) = 0;
    // Tells a screen reader something that the window shows nowhere.
    virtual void announce(std::string_view message) = 0;

    // Builds every control as at program start; unload destroys them. show
    // puts the window on screen in its normal (or maximised) state.
    virtual void load() = 0;
    virtual void unload() = 0;
    virtual void show() = 0;
};

}  // namespace tavola

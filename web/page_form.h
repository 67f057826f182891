#pragma once

#include <functional>

#include "game/form.h"
#include "runtime/random_source.h"
#include "runtime/services.h"

namespace tavola {

// The page's elements as the game logic's controls; every call goes to the
// page's script (page.js), which owns the elements and nothing else.
class PageForm : public Form {
public:
    std::string text(Control control) const override;
    void setText(Control control, std::string_view text) override;
    void setEnabled(Control control, bool enabled) override;
    void setFocus(Control control) override;
    void setBackColor(std::int32_t rgb) override;
    int windowState() const override;
    std::string caption() const override;
    void setCaption(std::string_view caption) override;
    void setAccessibleName(Control control, std::string_view name) override;
    void setAccessibleDescription(Control control, std::string_view description) override;
    void announce(std::string_view message) override;
    void load() override;
    void unload() override;
    void show() override;
};

// What reaches the game while one of its boxes is open: the page calls
// nothing in the module then, and hands these to the box's wait instead.
enum class PageEvent { tick = 0, resize = 3 };

class PageServices : public Services {
public:
    explicit PageServices(std::function<void(PageEvent)> onEvent) : m_onEvent(std::move(onEvent)) {}

    TimeValue now() override;
    void randomize() override { m_random.randomize(); }
    double nextRandom() override { return m_random.next(); }
    void beep() override;
    MsgBoxResult msgBox(std::string_view prompt, MsgBoxButtons buttons, std::string_view title) override;
    std::string inputBox(std::string_view prompt, std::string_view title, std::string_view defaultText) override;
    void end() override;

private:
    // Waits for the pupil's answer to the open box, handling what comes meanwhile.
    int waitForAnswer();

    std::function<void(PageEvent)> m_onEvent;
    RandomSource m_random;
};

}  // namespace tavola

#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "game/form.h"
#include "game/tavola.h"
#include "runtime/services.h"

namespace tavola::testing {

// A window in memory: captions, colours, focus, what a screen reader would
// read, and a log of what was done to it.
class FakeForm : public Form {
public:
    FakeForm();

    std::string text(Control control) const override;
    void setText(Control control, std::string_view text) override;
    void setEnabled(Control control, bool enabled) override;
    void setFocus(Control control) override;
    void setBackColor(std::int32_t rgb) override;
    int windowState() const override { return state; }
    std::string caption() const override { return windowCaption; }
    void setCaption(std::string_view caption) override;
    void setAccessibleName(Control control, std::string_view name) override;
    void setAccessibleDescription(Control control, std::string_view description) override;
    void announce(std::string_view message) override;
    void load() override;
    void unload() override;
    void show() override;

    void reset();

    std::map<Control, std::string> texts;
    std::map<Control, std::string> names;
    std::map<Control, std::string> descriptions;
    std::vector<std::string> announcements;
    bool nextEnabled = false;
    Control focus = Control::cmdNext;
    bool focusSet = false;
    std::int32_t backColor = -1;
    int state = 0;
    std::string windowCaption = "Vorlando";
    int loads = 0;
    std::vector<std::string> log;
};

struct BoxCall {
    std::string kind;  // "msg" or "input"
    std::string prompt;
    std::string title;
    std::string defaultText;
};

// Scripted clock, random source and boxes. A box answers from its queue and
// may run `whileOpen` first, as events that arrive while a modal box is open.
class FakeServices : public Services {
public:
    TimeValue now() override { return clock; }
    void randomize() override;
    double nextRandom() override;
    void beep() override { ++beeps; }
    MsgBoxResult msgBox(std::string_view prompt, MsgBoxButtons buttons, std::string_view title) override;
    std::string inputBox(std::string_view prompt, std::string_view title, std::string_view defaultText) override;
    void end() override { ended = true; }

    TimeValue clock = 0.5;
    std::deque<double> randoms;
    int reseeds = 0;
    int beeps = 0;
    bool ended = false;
    std::deque<MsgBoxResult> answers;
    std::deque<std::string> entries;
    std::vector<BoxCall> boxes;
    std::vector<MsgBoxButtons> buttons;
    std::function<void()> whileOpen;
};

// A window object on a fake window, started as at program start.
struct Game {
    Game();
    // Scripts the four random values of the next draw and draws it.
    void draw(double r1, double r2, double r3, double r4);
    // Types a text into the answer box through the key filter, then Enter.
    void type(std::string_view keys);
    void answer(std::string_view text);

    FakeForm form;
    FakeServices services;
    Tavola tavola{form, services};
};

// Random values that draw the given operands (|value| 1..20).
struct Draw {
    double r1, r2, r3, r4;
};
Draw drawFor(int operandA, int operandB);

}  // namespace tavola::testing

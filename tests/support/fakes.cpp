#include "support/fakes.h"

#include <cstdlib>
#include <stdexcept>

#include "game/answer.h"

namespace tavola::testing {

namespace {

// Controls by name in the log, so that the log reads as the window does.
std::string nameOf(Control control)
{
    static const char* const names[] = {"txtAnswer", "cmdNext",  "lblNum1",   "lblNum2",   "lblMessage",
                                        "lblTime",   "lblScore", "lblScore1", "lblScore2", "cmdExit"};
    static_assert(std::size(names) == kControlCount);
    return names[static_cast<std::size_t>(control)];
}

}  // namespace

FakeForm::FakeForm() { reset(); }

void FakeForm::reset()
{
    texts = {{Control::txtAnswer, ""}, {Control::lblNum1, ""},  {Control::lblNum2, ""},
             {Control::lblMessage, ""}, {Control::lblTime, ""}, {Control::lblScore, "0"},
             {Control::lblScore1, "0"}, {Control::lblScore2, "0"}};
    nextEnabled = false;
    focus = Control::cmdNext;
    focusSet = false;
    backColor = -1;
    names.clear();
    descriptions = {{Control::txtAnswer, "risposta"}, {Control::cmdNext, "nuovo calcolo"}};
}

std::string FakeForm::text(Control control) const { return texts.at(control); }

void FakeForm::setText(Control control, std::string_view text)
{
    texts[control] = std::string(text);
    log.push_back("text " + nameOf(control) + " " + std::string(text));
}

void FakeForm::setEnabled(Control control, bool enabled)
{
    if (control != Control::cmdNext)
        throw std::logic_error("only cmdNext is ever enabled or disabled");
    nextEnabled = enabled;
    log.push_back(enabled ? "enable" : "disable");
}

void FakeForm::setFocus(Control control)
{
    focus = control;
    focusSet = true;
    log.push_back("focus " + nameOf(control));
}

void FakeForm::setBackColor(std::int32_t rgb)
{
    backColor = rgb;
    log.push_back("back " + std::to_string(rgb));
}

void FakeForm::setCaption(std::string_view caption)
{
    windowCaption = std::string(caption);
    log.push_back("caption " + windowCaption);
}

void FakeForm::setAccessibleName(Control control, std::string_view name)
{
    names[control] = std::string(name);
    log.push_back("name " + nameOf(control) + " " + std::string(name));
}

void FakeForm::setAccessibleDescription(Control control, std::string_view description)
{
    descriptions[control] = std::string(description);
    log.push_back("description " + nameOf(control) + " " + std::string(description));
}

void FakeForm::announce(std::string_view message) { announcements.emplace_back(message); }

void FakeForm::load()
{
    reset();
    ++loads;
    log.push_back("load");
}

void FakeForm::unload() { log.push_back("unload"); }

void FakeForm::show()
{
    state = 0;
    log.push_back("show");
}

void FakeServices::randomize() { ++reseeds; }

double FakeServices::nextRandom()
{
    if (randoms.empty())
        return 0.5;
    const double value = randoms.front();
    randoms.pop_front();
    return value;
}

MsgBoxResult FakeServices::msgBox(std::string_view prompt, MsgBoxButtons kind, std::string_view title)
{
    boxes.push_back({"msg", std::string(prompt), std::string(title), ""});
    buttons.push_back(kind);
    if (whileOpen)
        whileOpen();
    if (kind == MsgBoxButtons::okOnly)
        return MsgBoxResult::ok;
    if (answers.empty())
        return MsgBoxResult::no;
    const MsgBoxResult result = answers.front();
    answers.pop_front();
    return result;
}

std::string FakeServices::inputBox(std::string_view prompt, std::string_view title, std::string_view defaultText)
{
    boxes.push_back({"input", std::string(prompt), std::string(title), std::string(defaultText)});
    if (whileOpen)
        whileOpen();
    if (entries.empty())
        return "";
    std::string entry = entries.front();
    entries.pop_front();
    return entry;
}

Game::Game() { tavola.start(); }

void Game::draw(double r1, double r2, double r3, double r4)
{
    services.randoms = {r1, r2, r3, r4};
    tavola.cmdNext_Click();
}

void Game::type(std::string_view keys)
{
    for (const char c : keys) {
        std::int16_t code = static_cast<unsigned char>(c);
        tavola.txtAnswer_KeyPress(code);
        if (code == kKeyBackspace) {
            std::string text = form.text(Control::txtAnswer);
            if (!text.empty())
                text.pop_back();
            form.texts[Control::txtAnswer] = text;
        } else if (code != 0 && code != kKeyEnter && form.text(Control::txtAnswer).size() < 4) {
            form.texts[Control::txtAnswer] += static_cast<char>(code);
        }
    }
}

void Game::answer(std::string_view text)
{
    form.texts[Control::txtAnswer] = std::string(text);
    type("\r");
}

Draw drawFor(int operandA, int operandB)
{
    // floor(r * -20) = -k for r in ((k-1)/20, k/20]; take the middle of the interval.
    auto sizeValue = [](int value) { return (std::abs(value) - 0.5) / 20.0; };
    return {sizeValue(operandA), sizeValue(operandB), operandA > 0 ? 0.9 : 0.1, operandB > 0 ? 0.9 : 0.1};
}

}  // namespace tavola::testing

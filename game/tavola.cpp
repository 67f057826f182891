#include "game/tavola.h"

#include <cmath>

#include "game/answer.h"
#include "game/texts.h"
#include "runtime/numbers.h"

namespace tavola {

namespace {

constexpr std::int16_t kMaxCount = 32767;

// Floor of a real that is known to be small (the draw multiplies values in [0, 1)).
std::int16_t floorSmall(double value) { return static_cast<std::int16_t>(std::floor(value)); }

std::string countText(long long count, bool capped) { return formatInteger(count) + (capped ? "+" : ""); }

// Adds one, stopping at the top of the 16-bit range; reports whether it stopped.
bool addOne(std::int16_t& counter)
{
    if (const auto sum = checkedAdd16(counter, 1)) {
        counter = *sum;
        return false;
    }
    counter = kMaxCount;
    return true;
}

}  // namespace

Tavola::Tavola(Form& form, Services& services) : m_form(form), m_services(services) {}

void Tavola::start()
{
    m_form.load();
    Form_Load();
    m_form.show();
    Form_Resize();
    Form_Activate();
}

void Tavola::Form_Load()
{
    m_state.endTime = std::string();
    m_state.correctCount = 0;
    m_state.wrongCount = 0;
    m_correctCapped = false;
    m_wrongCapped = false;
}

void Tavola::Form_Activate() { cmdNext_Click(); }

void Tavola::cmdNext_Click()
{
    m_form.setText(Control::lblMessage, "");

    m_services.randomize();
    const std::int16_t drawA = floorSmall(m_services.nextRandom() * -20.0);
    const std::int16_t drawB = floorSmall(m_services.nextRandom() * -20.0);
    m_services.randomize();
    const std::int16_t signA = floorSmall(m_services.nextRandom() * 3.0);
    const std::int16_t operandA = signA == 2 ? static_cast<std::int16_t>(-drawA) : drawA;
    m_state.signB = floorSmall(m_services.nextRandom() * 2.0);
    m_state.operandB = m_state.signB == 1 ? static_cast<std::int16_t>(-drawB) : drawB;

    m_form.setText(Control::lblNum1, formatInteger(operandA));
    m_form.setText(Control::lblNum2, formatInteger(m_state.operandB));
    m_state.expectedAnswer = static_cast<std::int16_t>(operandA - m_state.operandB);
    // Disabling the focused button already moves the focus into the answer
    // box, so the box is named after the new problem first.
    m_form.setAccessibleName(Control::txtAnswer, spoken::question(operandA, m_state.operandB));
    m_form.setEnabled(Control::cmdNext, false);
    m_form.setBackColor(composeRgb(-20 * drawA, -20 * drawB, -50 * drawA));
    m_form.setFocus(Control::txtAnswer);
    // Emptied once it has the focus: a screen reader that sees the text change
    // first moves there silently and then no longer reads the box out.
    m_form.setText(Control::txtAnswer, "");
}

void Tavola::txtAnswer_KeyPress(std::int16_t& keyAscii)
{
    switch (classifyKey(keyAscii)) {
    case KeyAction::pass:
        return;
    case KeyAction::score:
        scoreAnswer();
        return;
    case KeyAction::discard:
        keyAscii = 0;
        return;
    }
}

void Tavola::scoreAnswer()
{
    // A pasted text may read outside 16 bits ("9e99"): that is no right answer.
    const auto answer = readAnswer(m_form.text(Control::txtAnswer));
    const bool right = answer && *answer == m_state.expectedAnswer;
    if (right)
        m_correctCapped = addOne(m_state.correctCount) || m_correctCapped;
    else
        m_wrongCapped = addOne(m_state.wrongCount) || m_wrongCapped;
    const std::string correct = countText(m_state.correctCount, m_correctCapped);
    const std::string wrong = countText(m_state.wrongCount, m_wrongCapped);
    // The total is counted wider than the counters, so it never overflows.
    const long long sum = static_cast<long long>(m_state.wrongCount) + m_state.correctCount;
    const std::string total = countText(sum, m_correctCapped || m_wrongCapped);

    // A screen reader reads the verdict as the button takes the focus, so it
    // is in place before the focus moves. It is the button's name, which a
    // braille display shows too (a description it never shows).
    const long long operandA = static_cast<long long>(m_state.expectedAnswer) + m_state.operandB;
    m_form.setAccessibleName(
        Control::cmdNext,
        spoken::verdict(right, operandA, m_state.operandB, m_state.expectedAnswer, correct, wrong, total));

    if (right) {
        m_form.setText(Control::lblMessage, text::kRight);
    } else {
        m_form.setText(Control::lblMessage, std::string(text::kWrongPrefix) + formatInteger(m_state.expectedAnswer));
        m_form.setBackColor(composeRgb(0, 0, 0));
        m_form.setText(Control::lblScore1, wrong);
        m_form.setEnabled(Control::cmdNext, true);
        m_form.setFocus(Control::cmdNext);
    }
    m_form.setText(Control::lblScore, correct);
    m_form.setEnabled(Control::cmdNext, true);
    m_form.setFocus(Control::cmdNext);
    m_form.setText(Control::lblScore2, total);
    m_form.setEnabled(Control::cmdNext, true);
    m_form.setFocus(Control::cmdNext);
    m_form.setAccessibleDescription(Control::txtAnswer, spoken::answerBox(true, right, correct, wrong, total));
}

void Tavola::Next_Click()
{
    // The menu cannot be reached behind a modal box, but a queued request might.
    if (boxOpen())
        return;
    if (messageBox(text::kNewGamePrompt, MsgBoxButtons::yesNoDefaultNo, text::kNewGameTitle) == MsgBoxResult::no)
        return;
    m_form.unload();
    start();
}

void Tavola::cmdExit_Click() { m_services.end(); }

MsgBoxResult Tavola::messageBox(std::string_view prompt, MsgBoxButtons buttons, std::string_view title)
{
    ++m_openBoxes;
    const MsgBoxResult result = m_services.msgBox(prompt, buttons, title);
    --m_openBoxes;
    return result;
}

std::string Tavola::inputBox(std::string_view prompt, std::string_view title, std::string_view defaultText)
{
    ++m_openBoxes;
    std::string result = m_services.inputBox(prompt, title, defaultText);
    --m_openBoxes;
    return result;
}

}  // namespace tavola

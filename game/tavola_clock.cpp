// The window object's clock, end-of-game alarm and end-time entry.
#include "game/end_time.h"
#include "game/tavola.h"
#include "game/texts.h"

namespace tavola {

void Tavola::Timer1_Timer()
{
    // One reading of the clock serves the whole tick, up to any box it opens.
    TimeValue now = m_services.now();
    std::string shown = clockText(now);
    if (!m_alarmWaiting && m_form.text(Control::lblTime) == shown)
        return;

    const bool due = endTimeReached(now, m_state.endTime) && !m_alarmGiven;
    // Never a box on top of a box: an alarm due while another box is open
    // rings at the first tick after that box, even within the same second;
    // while its own boxes are open it is given. It waits only as long as the
    // ticks find it due: an end time changed meanwhile makes it wait no more.
    if (due && boxOpen()) {
        m_alarmWaiting = !m_alarmRinging;
    } else if (due) {
        m_alarmWaiting = false;
        m_alarmRinging = true;
        m_services.beep();
        messageBox(std::string(text::kEndPrefix) + shown, MsgBoxButtons::okOnly, text::kEndTitle);
        Next_Click();
        m_alarmRinging = m_alarmWaiting = false;
        m_alarmGiven = true;
        // The pupil may have kept the boxes open a long while.
        now = m_services.now();
        shown = clockText(now);
    } else {
        m_alarmWaiting = false;
        if (beforeEndTime(now, m_state.endTime))
            m_alarmGiven = false;
    }

    if (m_form.windowState() == kWindowMinimized) {
        // A caption that no longer reads as a time is simply written again.
        const auto caption = readTimeValue(m_form.caption());
        if (!caption || minuteOfHour(*caption) != minuteOfHour(now))
            ShowClockInCaption();
    } else {
        m_form.setText(Control::lblTime, shown);
    }
}

void Tavola::Form_Resize()
{
    if (m_form.windowState() == kWindowMinimized)
        ShowClockInCaption();
    else
        m_form.setCaption(text::kCaption);
}

void Tavola::ShowClockInCaption() { m_form.setCaption(mediumTimeText(m_services.now())); }

void Tavola::Form_Click()
{
    if (boxOpen())
        return;
    m_state.endTime = inputBox(text::kEndTimePrompt, text::kEndTimeTitle, endTimeText(m_state.endTime));
    const std::string& entry = std::get<std::string>(m_state.endTime);
    if (entry.empty())
        return;
    if (const auto value = readTimeValue(entry)) {
        m_state.endTime = *value;
        m_form.announce(spoken::endTimeSet(endTimeText(m_state.endTime)));
        return;
    }
    messageBox(text::kBadEndTime, MsgBoxButtons::okOnly, text::kBadEndTimeTitle);
}

}  // namespace tavola

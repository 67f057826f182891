#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "game/form.h"
#include "game/game_state.h"
#include "runtime/services.h"

namespace tavola {

// The window object: it owns the game state for the whole run and holds
// every handler of the window. The controls themselves live behind Form and
// are rebuilt for every new game; this object survives.
class Tavola {
public:
    Tavola(Form& form, Services& services);

    // Game lifecycle and the drill.
    void Form_Load();
    void Form_Activate();
    void cmdNext_Click();
    void txtAnswer_KeyPress(std::int16_t& keyAscii);
    void Next_Click();
    void cmdExit_Click();

    // Clock, alarm and end-time entry.
    void Timer1_Timer();
    void Form_Resize();
    void Form_Click();

    // The toolkit reports every activation of the window (a box closing or a
    // return from another program included); only the first one after a load
    // is the activation that draws the first problem.
    void windowActivated();

    const GameState& state() const { return m_state; }
    bool alarmGiven() const { return m_alarmGiven; }
    bool boxOpen() const { return m_openBoxes > 0; }

private:
    void ShowClockInCaption();
    void scoreAnswer();
    void showCounters();
    MsgBoxResult messageBox(std::string_view prompt, MsgBoxButtons buttons, std::string_view title);
    std::string inputBox(std::string_view prompt, std::string_view title, std::string_view defaultText);

    Form& m_form;
    Services& m_services;
    GameState m_state;

    bool m_activatePending = false;

    // A counter that reached the top of its range stops there; the labels then
    // say "at least" rather than show a false count.
    bool m_correctCapped = false;
    bool m_wrongCapped = false;

    bool m_alarmGiven = false;
    // An alarm fell due while a box was open; it rings at the first tick after.
    bool m_alarmWaiting = false;
    int m_openBoxes = 0;
};

}  // namespace tavola

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

    // Loads the window, shows it and draws the first problem: at program
    // start and for every new game. Drawing does not wait for the desktop to
    // activate the window, which some desktops never do.
    void start();

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

    const GameState& state() const { return m_state; }
    bool alarmGiven() const { return m_alarmGiven; }
    bool boxOpen() const { return m_openBoxes > 0; }

private:
    void ShowClockInCaption();
    void scoreAnswer();
    MsgBoxResult messageBox(std::string_view prompt, MsgBoxButtons buttons, std::string_view title);
    std::string inputBox(std::string_view prompt, std::string_view title, std::string_view defaultText);

    Form& m_form;
    Services& m_services;
    GameState m_state;

    // A counter that reached the top of its range stops there; the labels then
    // say "at least" rather than show a false count.
    bool m_correctCapped = false;
    bool m_wrongCapped = false;

    bool m_alarmGiven = false;
    // An alarm fell due while another box was open; it rings at the first
    // tick after. The alarm's own boxes never make it wait.
    bool m_alarmWaiting = false;
    bool m_alarmRinging = false;
    int m_openBoxes = 0;
};

}  // namespace tavola

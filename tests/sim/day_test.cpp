// Two days of play on the fake window: the clock ticks every 500 ms and a
// seeded generator picks what the pupil does in between. The test keeps its
// own account of what must have happened (answers, end times, alarms, boxes)
// and compares it with the window after every tick and every event.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <optional>
#include <random>
#include <string>

#include "game/end_time.h"
#include "support/answer_examples.h"
#include "support/fakes.h"
#include <utility>

namespace tavola::testing {
namespace {

constexpr long long kDay = 86400;
constexpr long long kFirstDay = 46363;                    // Monday 7 December 2026
constexpr long long kStart = kFirstDay * kDay + 8 * 3600;  // 08:00:00 that day
constexpr long long kTicks = 48LL * 3600 * 2;             // two days of 500 ms ticks

// Dates an entry may name, counted by hand from 30 December 1899.
const std::map<long long, std::string> kDates = {
    {46023, "01/01/2026"}, {46362, "06/12/2026"}, {46363, "07/12/2026"}, {46364, "08/12/2026"},
    {46365, "09/12/2026"}, {46366, "10/12/2026"}, {46752, "31/12/2027"},
};

template <typename... Fields>
std::string format(const char* pattern, Fields... fields)
{
    char text[64];
    std::snprintf(text, sizeof text, pattern, fields...);
    return text;
}

std::string clockOf(long long second)
{
    const long long s = second % kDay;
    return format("%02lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
}

std::string captionOf(long long second)
{
    const long long s = second % kDay;
    const long long hour = s / 3600;
    return format("%02lld:%02lld %s", hour % 12 == 0 ? 12 : hour % 12, s / 60 % 60, hour < 12 ? "AM" : "PM");
}

// What a box holding only '-' and digits reads as.
int readBox(const std::string& box)
{
    std::size_t at = 0;
    const bool negative = !box.empty() && box[0] == '-';
    at += negative;
    int value = 0;
    for (; at < box.size() && box[at] >= '0' && box[at] <= '9'; ++at)
        value = value * 10 + (box[at] - '0');
    return negative ? -value : value;
}

// Ways of writing the right answer that all read as it.
const char* const kRightForms[] = {"%d", " %d", "%d.0", "%d abc", "%de0", "%d-"};

// Entries that are no time and must be refused.
const char* const kRejected[] = {"24.00", "14.60", "abc", "31/02/2026 10.00", "13.00 PM", "14.5", "   ", "7/12"};

struct EndModel {
    enum class Kind { none, timeOfDay, dated } kind = Kind::none;
    long long seconds = 0;  // of the day, or since the epoch when dated

    bool reached(long long now) const
    {
        switch (kind) {
        case Kind::none: return false;
        case Kind::timeOfDay: return now % kDay >= seconds;
        case Kind::dated: return now >= seconds;
        }
        return false;
    }
};

class DayOfPlay {
public:
    explicit DayOfPlay(unsigned seed) : m_random(seed)
    {
        m_game.services.whileOpen = [this] { insideBox(); };
    }

    void run()
    {
        while (m_tick < kTicks && m_failure.empty()) {
            tick();
            check("tick");
            // Events come between a tick that kept the second and the one that
            // shows the next, so the next tick always looks at the clock.
            if (m_tick % 2 == 1 && chance(1, 12) && m_failure.empty()) {
                const char* what = event();
                check(what);
            }
            m_game.form.log.clear();
        }
    }

    const std::string& failure() const { return m_failure; }
    const std::map<std::string, int>& counts() const { return m_counts; }

private:
    // --- the generator ---------------------------------------------------------
    bool chance(int in, int of) { return std::uniform_int_distribution<int>(1, of)(m_random) <= in; }
    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }
    void count(const std::string& what) { ++m_counts[what]; }

    // Draws take four random values; keep enough queued for any new game.
    void topUpRandoms()
    {
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        while (m_game.services.randoms.size() < 8)
            m_game.services.randoms.push_back(unit(m_random));
    }

    // --- the clock -------------------------------------------------------------
    // Tick k comes at 0.25 s + k * 0.5 s, so no tick falls on a half second,
    // where rounding to the nearest second could go either way.
    static long long secondOfTick(long long tick) { return kStart + (tick + 1) / 2; }
    static TimeValue valueOfTick(long long tick) { return (kStart + 0.25 + 0.5 * tick) / kDay; }
    long long now() const { return secondOfTick(m_tick - 1); }

    // A tick, and what it rang, checked against what must hold of any alarm:
    // it rings only when its end time is reached, once until the time is no
    // longer past, never behind a box, within a second once it is due with
    // no box open, and always as the end message and then the new-game question.
    void tick()
    {
        const long long second = secondOfTick(m_tick);
        if (m_tick > 0 && second / kDay != secondOfTick(m_tick - 1) / kDay)
            count("midnight");
        const bool reached = m_end.reached(second);
        // The alarm counts as given until a tick of a later second than its
        // own last one finds the end time not reached (a new game's too).
        if (!reached && second > m_givenUntil)
            m_armed = true, m_held = false;
        const bool due = reached && m_armed;
        m_held = m_held || (due && m_depth > 0);
        // The alarm's question gets an answer of its own; behind a box the
        // queue belongs to that box.
        const bool yes = chance(1, 3);
        if (m_depth == 0)
            m_game.services.answers = {yes ? MsgBoxResult::yes : MsgBoxResult::no};
        const std::size_t boxesBefore = m_game.services.boxes.size();
        const int loadsBefore = m_game.form.loads;
        const int beepsBefore = m_game.services.beeps;

        m_game.services.clock = valueOfTick(m_tick);
        ++m_tick;
        m_game.tavola.Timer1_Timer();

        const bool rang = m_game.services.beeps != beepsBefore;
        if (m_depth == 0)
            m_game.services.answers.clear();
        m_dueTicks = due && m_depth == 0 && !rang ? m_dueTicks + 1 : 0;
        if (m_dueTicks > 2)
            fail("the alarm of " + endText() + " was due with no box open and did not ring");
        if (!rang) {
            if (!m_minimised)
                m_labelFresh = true;
            return;
        }
        if (m_game.services.beeps != beepsBefore + 1 || !due || m_depth > 0)
            fail(std::to_string(m_game.services.beeps - beepsBefore) + " alarms at " + clockOf(second) + " for "
                 + endText() + (due ? "" : ", which was not due") + (m_depth > 0 ? ", behind a box" : ""));
        const auto& boxes = m_game.services.boxes;
        if (boxes.size() < boxesBefore + 2) {
            fail("the alarm at " + clockOf(second) + " opened " + std::to_string(boxes.size() - boxesBefore) + " boxes");
            return;
        }
        const std::string prompt = "Gioco fino alle " + clockOf(second);
        if (boxes[boxesBefore].title != "Fine" || boxes[boxesBefore].prompt != prompt)
            fail("alarm box \"" + boxes[boxesBefore].prompt + "\", expected \"" + prompt + "\"");
        if (boxes[boxesBefore + 1].title != "INIZIARE NUOVA GARA")
            fail("after the alarm came \"" + boxes[boxesBefore + 1].title + "\"");
        m_armed = false;
        m_givenUntil = now();
        ++m_rings;
        m_boxes += 2;
        topUpRandoms();
        count(yes ? "alarm answered yes" : "alarm answered no");
        if (std::exchange(m_held, false))
            count("alarm held while a box was open");
        if (m_minimised)
            count("alarm while minimised");
        if (m_end.kind == EndModel::Kind::dated)
            count("alarm of a dated end");
        if ((m_game.form.loads != loadsBefore) != yes)
            fail(std::string("the alarm's question answered ") + (yes ? "Yes" : "No") + " left "
                 + std::to_string(m_game.form.loads - loadsBefore) + " new games");
        if (yes)
            newGame();
        if (!m_minimised)
            m_labelFresh = true;
    }

    std::string endText() const { return endTimeText(m_game.tavola.state().endTime); }

    // Whether the end time falls due within the next `seconds`, not yet rung.
    bool alarmWithin(long long seconds) const
    {
        return m_armed && !m_end.reached(now()) && m_end.reached(now() + seconds);
    }

    // --- inside a modal box ----------------------------------------------------
    void insideBox()
    {
        if (m_depth > 0) {
            fail("a box opened inside another: " + m_game.services.boxes.back().title);
            return;
        }
        ++m_depth;
        if (!m_game.tavola.boxOpen())
            fail("a box is open but the window object does not know it");
        // The pupil takes a while; the clock goes on, often past an alarm
        // that is about to fall due.
        if (alarmWithin(10) ? chance(3, 4) : chance(1, 2)) {
            const int ticks = 2 * between(alarmWithin(10) ? 10 : 0, 12);
            for (int i = 0; i < ticks && m_failure.empty(); ++i)
                tick();
        }
        // A click on the window or the menu reaching it must open nothing.
        if (chance(1, 3)) {
            const std::size_t before = m_game.services.boxes.size();
            m_game.tavola.Form_Click();
            if (m_game.services.boxes.size() != before)
                fail("a click opened the end-time box behind an open box");
            count("click refused behind a box");
        }
        if (chance(1, 3)) {
            const std::size_t before = m_game.services.boxes.size();
            m_game.tavola.Next_Click();
            if (m_game.services.boxes.size() != before)
                fail("the menu asked for a new game behind an open box");
            count("menu refused behind a box");
        }
        --m_depth;
    }

    // --- what the pupil does -----------------------------------------------------
    const char* event()
    {
        topUpRandoms();
        // Open a box just before an alarm now and then, so that it falls due behind it.
        if (alarmWithin(10) && chance(1, 2))
            return chance(1, 2) ? menuNewGame(false) : rejectEnd();
        const int pick = between(1, 100);
        if (pick <= 18)
            return answerRight();
        if (pick <= 28)
            return answerWrong();
        if (pick <= 36)
            return pasteJunk();
        if (pick <= 56)
            return typeKeys();
        if (pick <= 60)
            return enterAgain();
        if (pick <= 78)
            return nextProblem();
        if (pick <= 82)
            return minimiseOrRestore();
        if (pick <= 92)
            return setEnd();
        if (pick <= 95)
            return rejectEnd();
        if (pick <= 97)
            return clearEnd();
        return menuNewGame(chance(1, 2));
    }

    int expectedAnswer() const
    {
        return std::stoi(m_game.form.text(Control::lblNum1)) - std::stoi(m_game.form.text(Control::lblNum2));
    }

    void scored(bool right)
    {
        ++m_counts[right ? "scored right" : "scored wrong"];
        const int expected = expectedAnswer();
        (right ? m_right : m_wrong) += 1;
        m_nextEnabled = true;
        const std::string message =
            right ? std::string("Esatto, è incredibile!!!") : "Sbagliato!! " + std::to_string(expected);
        if (m_game.form.text(Control::lblMessage) != message)
            fail("message \"" + m_game.form.text(Control::lblMessage) + "\", expected \"" + message + "\"");
    }

    const char* answerRight()
    {
        const int expected = expectedAnswer();
        m_box = format(kRightForms[between(0, std::size(kRightForms) - 1)], expected);
        m_boxReading = expected;
        m_game.answer(m_box);
        scored(true);
        return "right answer";
    }

    const char* answerWrong()
    {
        const int expected = expectedAnswer();
        const int delta = chance(1, 2) ? between(1, 5) : -between(1, 5);
        m_box = std::to_string(expected + delta);
        m_boxReading = expected + delta;
        m_game.answer(m_box);
        scored(false);
        return "wrong answer";
    }

    const char* pasteJunk()
    {
        const auto& junk = kAnswerExamples[between(0, std::size(kAnswerExamples) - 1)];
        const int expected = expectedAnswer();
        m_box = junk.text;
        m_boxReading = junk.answer;
        m_game.answer(m_box);
        scored(junk.answer && *junk.answer == expected);
        return "pasted junk";
    }

    // Keys as a pupil types them: maybe clearing the box first, with stray
    // keys the box refuses and a slip mended with Backspace, then Enter.
    const char* typeKeys()
    {
        const int expected = expectedAnswer();
        const int target = chance(2, 3) ? expected : expected + between(1, 9);
        std::string keys;
        // A box holding a pasted text is cleared first, so it reads as typed.
        const bool typedOnly = m_box.find_first_not_of("-0123456789") == std::string::npos;
        if (!typedOnly || chance(3, 4))
            keys.append(m_box.size(), '\b');
        for (const char digit : std::to_string(target)) {
            if (chance(1, 6))
                keys += "a.+ e/"[between(0, 5)];
            if (chance(1, 6)) {
                keys += static_cast<char>('0' + between(0, 9));
                keys += '\b';
            }
            keys += digit;
        }
        for (const char key : keys) {
            if (key == '\b') {
                if (!m_box.empty())
                    m_box.pop_back();
            } else if ((key == '-' || (key >= '0' && key <= '9')) && m_box.size() < 4) {
                m_box += key;
            }
        }
        m_game.type(keys + "\r");
        m_boxReading = readBox(m_box);
        scored(m_boxReading == expected);
        return "typed keys";
    }

    const char* enterAgain()
    {
        const bool right = m_boxReading == expectedAnswer();
        m_game.type("\r");
        scored(right);
        return "enter again";
    }

    const char* nextProblem()
    {
        if (!m_nextEnabled)
            return "next refused (disabled)";
        m_game.tavola.cmdNext_Click();
        m_box.clear();
        m_boxReading = 0;
        m_nextEnabled = false;
        if (!m_game.form.text(Control::lblMessage).empty())
            fail("a new problem kept the message");
        return "next problem";
    }

    const char* minimiseOrRestore()
    {
        m_minimised = !m_minimised;
        m_game.form.state = m_minimised ? kWindowMinimized : 0;
        m_game.tavola.Form_Resize();
        m_labelFresh = false;
        count(m_minimised ? "minimise" : "restore");
        return m_minimised ? "minimise" : "restore";
    }

    // An end time near the present, in one of the forms a pupil types.
    const char* setEnd()
    {
        const long long present = now();
        long long target = present;
        const int kind = between(1, 100);
        if (kind <= 35)
            target += between(1, 20);
        else if (kind <= 70)
            target += between(21, 3600);
        else
            target -= between(0, 3600);
        const long long day = target / kDay;
        const long long ofDay = target % kDay;
        const int hour = static_cast<int>(ofDay / 3600);
        const int minute = static_cast<int>(ofDay / 60 % 60);
        const int second = static_cast<int>(ofDay % 60);
        const int hour12 = hour % 12 == 0 ? 12 : hour % 12;

        std::string entry;
        EndModel end;
        const int style = between(1, 8);
        if (style <= 5) {
            end.kind = EndModel::Kind::timeOfDay;
            end.seconds = hour * 3600LL + minute * 60;
            if (style == 1)
                entry = format("%d.%02d", hour, minute);
            else if (style == 2)
                entry = format("%02d:%02d", hour, minute);
            else if (style == 3)
                entry = format("%d.%02d %s", hour12, minute, hour < 12 ? "AM" : "p.m.");
            else {
                entry = format("%d:%02d:%02d", hour, minute, second);
                end.seconds += second;
            }
        } else {
            end.kind = EndModel::Kind::dated;
            long long onDay = day;
            if (style == 8)
                onDay = chance(1, 2) ? 46023 : 46752;  // long past, or far ahead
            else if (style == 7 && chance(1, 2))
                onDay = present / kDay + 1;  // the coming midnight
            end.seconds = onDay * kDay;
            if (style == 7) {
                entry = kDates.at(onDay);  // midnight of that day
                count("end at a midnight");
            } else {
                entry = kDates.at(onDay) + format(" %d.%02d", hour, minute);
                end.seconds += hour * 3600LL + minute * 60;
            }
        }
        count(m_end.kind == EndModel::Kind::none ? "end set" : "end changed");
        m_game.services.entries = {entry};
        m_game.tavola.Form_Click();
        m_end = end;
        m_boxes += 1;
        return "set end time";
    }

    const char* rejectEnd()
    {
        m_game.services.entries = {kRejected[between(0, std::size(kRejected) - 1)]};
        m_game.tavola.Form_Click();
        m_end = {};
        m_boxes += 2;
        count("end rejected");
        return "rejected end time";
    }

    const char* clearEnd()
    {
        m_game.services.entries.clear();  // the box is cancelled or left empty
        if (chance(1, 2))
            m_game.services.entries = {""};
        m_game.tavola.Form_Click();
        m_end = {};
        m_boxes += 1;
        count("end cleared");
        return "cleared end time";
    }

    const char* menuNewGame(bool yes)
    {
        m_game.services.answers = {yes ? MsgBoxResult::yes : MsgBoxResult::no};
        m_game.tavola.Next_Click();
        m_boxes += 1;
        if (yes) {
            newGame();
            m_labelFresh = false;
        }
        count(yes ? "menu new game" : "menu kept the game");
        return "menu new game";
    }

    void newGame()
    {
        m_right = 0;
        m_wrong = 0;
        m_end = {};
        m_box.clear();
        m_boxReading = 0;
        m_nextEnabled = false;
        // A new game brings a minimised window back, as at program start.
        m_minimised = false;
        count("new game");
    }

    // --- the comparison --------------------------------------------------------
    void fail(const std::string& what)
    {
        if (m_failure.empty())
            m_failure = what + " (at " + clockOf(now()) + ", day " + std::to_string(now() / kDay - kFirstDay) + ")";
    }

    void check(const char* after)
    {
        const std::string where = std::string(" after ") + after;
        const FakeForm& form = m_game.form;
        const FakeServices& services = m_game.services;
        const GameState& state = m_game.tavola.state();
        auto same = [&](const std::string& what, const std::string& shown, const std::string& expected) {
            if (shown != expected)
                fail(what + " shows \"" + shown + "\", expected \"" + expected + "\"" + where);
        };

        if (state.correctCount != m_right || state.wrongCount != m_wrong)
            fail("counted " + std::to_string(state.correctCount) + " right and " + std::to_string(state.wrongCount)
                 + " wrong, expected " + std::to_string(m_right) + " and " + std::to_string(m_wrong) + where);
        same("lblScore", form.text(Control::lblScore), std::to_string(m_right));
        same("lblScore1", form.text(Control::lblScore1), std::to_string(m_wrong));
        same("lblScore2", form.text(Control::lblScore2), std::to_string(m_right + m_wrong));

        for (; m_scanned < services.boxes.size(); ++m_scanned)
            m_fineBoxes += services.boxes[m_scanned].title == "Fine";
        if (m_fineBoxes != m_rings || services.beeps != m_rings)
            fail(std::to_string(m_fineBoxes) + " alarms and " + std::to_string(services.beeps) + " beeps, expected "
                 + std::to_string(m_rings) + where);
        if (services.boxes.size() != m_boxes)
            fail(std::to_string(services.boxes.size()) + " boxes opened, expected " + std::to_string(m_boxes) + where);
        if (m_game.tavola.boxOpen())
            fail("a box is still counted as open" + where);
        if (!services.answers.empty() || !services.entries.empty())
            fail("a box that was due never opened" + where);

        same("txtAnswer", form.text(Control::txtAnswer), m_box);
        if (form.nextEnabled != m_nextEnabled)
            fail(std::string("cmdNext is ") + (form.nextEnabled ? "enabled" : "disabled") + where);
        const int expected = expectedAnswer();
        if (state.expectedAnswer != expected)
            fail("expects " + std::to_string(state.expectedAnswer) + " for " + form.text(Control::lblNum1) + " - ("
                 + form.text(Control::lblNum2) + ")" + where);

        if (m_minimised)
            same("caption", form.caption(), captionOf(now()));
        else
            same("caption", form.caption(), "Vorlando");
        if (!m_minimised && m_labelFresh)
            same("lblTime", form.text(Control::lblTime), clockOf(now()));
    }

    std::mt19937 m_random;
    Game m_game;
    long long m_tick = 0;
    int m_depth = 0;

    // The test's own account.
    int m_right = 0;
    int m_wrong = 0;
    std::string m_box;
    std::optional<int> m_boxReading = 0;  // what the box reads as; nothing: no 16-bit number
    bool m_nextEnabled = false;
    bool m_minimised = false;
    bool m_labelFresh = false;
    EndModel m_end;
    bool m_armed = true;  // a tick found the end time not reached since the last alarm
    bool m_held = false;  // fell due while a box was open, and has not rung yet
    int m_dueTicks = 0;   // ticks since the alarm fell due with no box open
    long long m_givenUntil = 0;  // the second the last alarm's boxes closed in
    int m_rings = 0;
    std::size_t m_boxes = 0;

    int m_fineBoxes = 0;
    std::size_t m_scanned = 0;
    std::map<std::string, int> m_counts;
    std::string m_failure;
};

TEST(DayOfPlay, TwoDaysOfRandomPlayKeepEveryCountAndAlarm)
{
    for (const unsigned seed : {20261207u, 7u}) {
        DayOfPlay day(seed);
        day.run();
        ASSERT_EQ(day.failure(), "") << "seed " << seed;

        // The seed must have reached every kind of moment, or the run proves little.
        const struct {
            const char* what;
            int atLeast;
        } rows[] = {
            {"midnight", 2},
            {"alarm answered yes", 10},
            {"alarm answered no", 10},
            {"alarm held while a box was open", 5},
            {"alarm while minimised", 1},
            {"alarm of a dated end", 5},
            {"end at a midnight", 5},
            {"end set", 20},
            {"end changed", 20},
            {"end rejected", 20},
            {"end cleared", 10},
            {"menu new game", 10},
            {"menu kept the game", 10},
            {"click refused behind a box", 20},
            {"menu refused behind a box", 20},
            {"minimise", 10},
            {"restore", 10},
        };
        for (const auto& row : rows) {
            const auto found = day.counts().find(row.what);
            const int seen = found == day.counts().end() ? 0 : found->second;
            EXPECT_GE(seen, row.atLeast) << row.what << ", seed " << seed;
        }
        EXPECT_EQ(day.counts().at("midnight"), 2) << "seed " << seed;
    }
}

}  // namespace
}  // namespace tavola::testing

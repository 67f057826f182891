#include <gtest/gtest.h>

#include "game/end_time.h"
#include "support/fakes.h"

namespace tavola::testing {
namespace {

constexpr TimeValue kToday = 46363;  // 7 December 2026

TimeValue at(int h, int m, int s, TimeValue day = kToday) { return day + makeTime(h, m, s); }

struct ClockGame : Game {
    // Advances the clock and ticks twice a second, as the timer does.
    void runFor(int seconds)
    {
        for (int i = 0; i < 2 * seconds; ++i) {
            services.clock += 0.5 / 86400.0;
            tavola.Timer1_Timer();
        }
    }
    void setEnd(const std::string& entry)
    {
        services.entries = {entry};
        tavola.Form_Click();
    }
    int alarms() const
    {
        int n = 0;
        for (const auto& box : services.boxes)
            n += box.title == "Fine";
        return n;
    }
};

TEST(Clock, TickShowsTheTimeOnlyWhenItsTextChanges)
{
    ClockGame game;
    game.services.clock = at(9, 5, 7);
    game.tavola.Timer1_Timer();
    EXPECT_EQ(game.form.text(Control::lblTime), "09:05:07");
    game.form.log.clear();
    game.tavola.Timer1_Timer();
    EXPECT_TRUE(game.form.log.empty());
}

TEST(Clock, NoEndTimeNeverRings)
{
    ClockGame game;
    game.services.clock = at(23, 59, 0);
    game.runFor(120);
    game.setEnd("abc");
    game.runFor(60);
    EXPECT_EQ(game.services.beeps, 0);
    EXPECT_FALSE(game.tavola.alarmGiven());
}

TEST(Clock, RingsOnceWhenReachedAndNoKeepsTheGame)
{
    ClockGame game;
    game.services.clock = at(14, 21, 50);
    game.setEnd("14.22");
    game.runFor(9);
    EXPECT_EQ(game.services.beeps, 0);
    game.runFor(2);
    EXPECT_EQ(game.services.beeps, 1);
    ASSERT_EQ(game.alarms(), 1);
    EXPECT_EQ(game.services.boxes[1].prompt, "Gioco fino alle 14:22:00");
    EXPECT_EQ(game.services.boxes[2].prompt, "INIZIAMO UNA NUOVA GARA  ?");
    EXPECT_TRUE(game.tavola.alarmGiven());
    game.setEnd("10.00");  // also past: no second alarm
    game.runFor(600);
    EXPECT_EQ(game.services.beeps, 1);
    game.setEnd("14.40");  // later: re-arms and rings when reached
    game.runFor(600);
    EXPECT_EQ(game.services.beeps, 2);
}

TEST(Clock, YesStartsANewGameWithoutEndTimeAndReArms)
{
    ClockGame game;
    game.services.clock = at(10, 0, 0);
    game.setEnd("9.00");
    game.services.answers = {MsgBoxResult::yes};
    game.runFor(1);
    EXPECT_EQ(game.alarms(), 1);
    EXPECT_EQ(game.form.loads, 2);
    EXPECT_EQ(std::get<std::string>(game.tavola.state().endTime), "");
    EXPECT_EQ(game.form.text(Control::lblTime), "10:00:01");
    game.runFor(2);
    EXPECT_FALSE(game.tavola.alarmGiven());
}

TEST(Clock, RingsAgainAfterMidnight)
{
    ClockGame game;
    game.services.clock = at(23, 0, 0);
    game.setEnd("22.00");
    game.runFor(1);
    EXPECT_EQ(game.services.beeps, 1);
    game.runFor(3600 + 22 * 3600);
    EXPECT_EQ(game.services.beeps, 2);
}

TEST(Clock, EndTimeWithADateRingsWhenThatMomentComes)
{
    ClockGame game;
    game.services.clock = at(23, 59, 0);
    game.setEnd("08/12/2026 00.01");
    game.runFor(100);
    EXPECT_EQ(game.services.beeps, 0);
    game.runFor(30);
    EXPECT_EQ(game.services.beeps, 1);
    game.runFor(2 * 86400);
    EXPECT_EQ(game.services.beeps, 1);

    ClockGame past;
    past.services.clock = at(9, 0, 0);
    past.setEnd("01/01/2026 12.00");
    past.runFor(1);
    EXPECT_EQ(past.services.beeps, 1);
}

TEST(Clock, AlarmWaitsForAnOpenBoxAndRingsOnceAfter)
{
    ClockGame game;
    game.services.clock = at(14, 21, 59);
    game.setEnd("14.22");
    // The pupil has the end-time box open when the time comes: ticks go on.
    game.services.entries = {"14.22"};
    game.services.whileOpen = [&] { game.runFor(5); };
    game.tavola.Form_Click();
    EXPECT_EQ(game.services.beeps, 0);
    EXPECT_EQ(game.form.text(Control::lblTime), "14:22:04");
    // The first tick after the box rings, within the same second; ticks
    // while the alarm's own boxes are open raise nothing more.
    game.tavola.Timer1_Timer();
    EXPECT_EQ(game.services.beeps, 1);
    game.runFor(1);
    EXPECT_EQ(game.services.beeps, 1);
    EXPECT_EQ(game.alarms(), 1);
    game.services.whileOpen = nullptr;
    game.runFor(60);
    EXPECT_EQ(game.alarms(), 1);

    // Reached at 02:42:06 with a tick while its boxes are open, answered Yes,
    // then a tick and an end time already past within that second: the
    // alarm counts as given until a tick runs, so nothing rings.
    ClockGame yes;
    yes.services.clock = at(2, 42, 5);
    yes.tavola.Timer1_Timer();
    yes.setEnd("2.42");
    yes.services.answers = {MsgBoxResult::yes};
    yes.services.whileOpen = [&] { yes.tavola.Timer1_Timer(); };
    yes.runFor(1);
    yes.services.whileOpen = nullptr;
    yes.tavola.Timer1_Timer();
    yes.setEnd("2.42");
    yes.runFor(2);
    EXPECT_EQ(yes.alarms(), 1);

    // Due during a box, then no longer due at a tick: refused, or a day
    // away. Set again within that second, it rings at the next second, not
    // at a tick of the same one.
    ClockGame refused;
    refused.services.clock = at(9, 34, 2);
    refused.tavola.Timer1_Timer();
    refused.setEnd("9.34");
    refused.services.entries = {"14.22x"};
    refused.services.whileOpen = [&] { refused.runFor(1); };  // the entry box, then its complaint
    refused.tavola.Form_Click();
    refused.services.whileOpen = nullptr;
    refused.setEnd("09:34:01 AM");
    ClockGame jumped;
    jumped.services.clock = at(9, 59, 59);
    jumped.tavola.Timer1_Timer();
    jumped.setEnd("07/12/2026 10.00");
    jumped.services.entries = {"07/12/2026 10.00"};
    jumped.services.whileOpen = [&] {
        jumped.runFor(1);
        jumped.services.clock -= 1;  // the system clock put back a day
        jumped.tavola.Timer1_Timer();
    };
    jumped.tavola.Form_Click();
    jumped.services.whileOpen = nullptr;
    jumped.services.clock += 1;
    for (ClockGame* game : {&refused, &jumped}) {
        game->tavola.Timer1_Timer();
        EXPECT_EQ(game->services.beeps, 0);
        game->runFor(1);
        EXPECT_EQ(game->services.beeps, 1);
    }
}

TEST(Clock, RejectedAndClearedEntries)
{
    const struct {
        const char* entry;
        bool isTime;
        const char* stored;
        bool complaint;
    } rows[] = {
        {"", false, "", false},
        {"abc", false, "abc", true},
        {"   ", false, "   ", true},
        {"24.00", false, "24.00", true},
        {" 14.22 ", true, "14:22:00", false},
        {"2:05 PM", true, "14:05:00", false},
    };
    for (const auto& row : rows) {
        ClockGame game;
        game.setEnd(row.entry);
        EXPECT_EQ(std::holds_alternative<TimeValue>(game.tavola.state().endTime), row.isTime) << row.entry;
        EXPECT_EQ(endTimeText(game.tavola.state().endTime), row.stored);
        EXPECT_EQ(game.services.boxes.size(), row.complaint ? 2u : 1u) << row.entry;
        if (row.complaint) {
            EXPECT_EQ(game.services.boxes[1].prompt, "L'orario immesso non è valido.");
            EXPECT_EQ(game.services.boxes[1].title, "Orario di esempio  14.22");
        }
        // The next click offers the stored text again.
        game.tavola.Form_Click();
        EXPECT_EQ(game.services.boxes.back().defaultText, row.stored);
        EXPECT_EQ(game.services.boxes.back().prompt, "Immettere l'orario di fine  gioco");
        EXPECT_EQ(game.services.boxes.back().title, "Il gioco termina alle ore");
    }
}

TEST(Clock, MinimisedCaptionFollowsTheMinute)
{
    ClockGame game;
    game.services.clock = at(14, 22, 30);
    game.tavola.Timer1_Timer();
    game.form.state = kWindowMinimized;
    game.tavola.Form_Resize();
    EXPECT_EQ(game.form.windowCaption, "02:22 PM");
    game.form.log.clear();
    game.runFor(29);
    EXPECT_TRUE(game.form.log.empty());  // neither caption nor label rewritten
    game.runFor(1);
    EXPECT_EQ(game.form.windowCaption, "02:23 PM");
    // A clock change of whole hours keeps the hour until the minute changes.
    game.services.clock += 2.0 / 24;
    game.runFor(1);
    EXPECT_EQ(game.form.windowCaption, "02:23 PM");
    game.runFor(60);
    EXPECT_EQ(game.form.windowCaption, "04:24 PM");
    // A caption that is no time is rewritten, not trusted.
    game.form.windowCaption = "Vorlando";
    game.runFor(1);
    EXPECT_EQ(game.form.windowCaption, "04:24 PM");
    game.form.state = 0;
    game.tavola.Form_Resize();
    EXPECT_EQ(game.form.windowCaption, "Vorlando");
}

}  // namespace
}  // namespace tavola::testing

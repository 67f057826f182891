#include <gtest/gtest.h>

#include <algorithm>

#include "support/fakes.h"

namespace tavola::testing {
namespace {

// Where an entry first appears in the fake window's log; the log's size when absent.
std::size_t firstIndex(const std::vector<std::string>& log, const std::string& entry)
{
    return static_cast<std::size_t>(std::find(log.begin(), log.end(), entry) - log.begin());
}

// Start and every new game: the controls are built, the window is shown in
// its normal state with its caption, and then a problem is on show with the
// focus in the answer box, named after that problem for a screen reader.
// With no random values scripted, the fakes draw -10 - (10).
void expectStartedAfresh(const Game& game, std::size_t from)
{
    const std::vector<std::string> log(game.form.log.begin() + static_cast<long>(from), game.form.log.end());
    const std::size_t load = firstIndex(log, "load"), show = firstIndex(log, "show");
    const std::size_t caption = firstIndex(log, "caption Vorlando");
    const std::size_t drawn = firstIndex(log, "text lblNum1 -10");
    EXPECT_LT(load, show);
    EXPECT_LT(show, caption);
    EXPECT_LT(caption, drawn);
    EXPECT_LT(drawn, log.size());
    EXPECT_EQ(game.form.state, 0);
    EXPECT_EQ(game.form.windowCaption, "Vorlando");
    EXPECT_EQ(game.form.text(Control::lblNum2), "10");
    EXPECT_EQ(game.tavola.state().expectedAnswer, -20);
    EXPECT_EQ(game.form.names.at(Control::txtAnswer), "meno 10 meno, tra parentesi, 10?");
    EXPECT_EQ(game.form.focus, Control::txtAnswer);
    EXPECT_FALSE(game.form.nextEnabled);
}

TEST(Lifecycle, StartShowsTheWindowThenTheFirstProblem)
{
    Game game;
    EXPECT_EQ(game.form.loads, 1);
    expectStartedAfresh(game, 0);
}

TEST(Lifecycle, NewGameAnsweredNoChangesNothing)
{
    Game game;
    game.type("5\r");
    game.type("3");
    game.tavola.Form_Click();  // no entry typed: stays empty
    const auto texts = game.form.texts;
    const auto colour = game.form.backColor;
    game.form.log.clear();
    game.services.answers = {MsgBoxResult::no};
    game.tavola.Next_Click();
    EXPECT_TRUE(game.form.log.empty());
    EXPECT_EQ(game.form.texts, texts);
    EXPECT_EQ(game.form.backColor, colour);
    ASSERT_EQ(game.services.boxes.size(), 2u);
    EXPECT_EQ(game.services.boxes[1].prompt, "INIZIAMO UNA NUOVA GARA  ?");
    EXPECT_EQ(game.services.boxes[1].title, "INIZIARE NUOVA GARA");
    EXPECT_EQ(game.services.buttons.back(), MsgBoxButtons::yesNoDefaultNo);
}

TEST(Lifecycle, NewGameAnsweredYesStartsAgainAsAtStart)
{
    Game game;
    game.services.entries = {"14.22"};
    game.tavola.Form_Click();
    for (int i = 0; i < 10; ++i)
        game.answer(i < 7 ? std::to_string(game.tavola.state().expectedAnswer) : "99");
    ASSERT_EQ(game.form.text(Control::lblScore), "7");
    ASSERT_TRUE(std::holds_alternative<TimeValue>(game.tavola.state().endTime));
    game.form.state = kWindowMinimized;  // the alarm rang while the pupil was away

    const std::size_t before = game.form.log.size();
    game.services.answers = {MsgBoxResult::yes};
    game.tavola.Next_Click();

    EXPECT_EQ(game.form.log[before], "unload");
    EXPECT_EQ(game.form.loads, 2);
    expectStartedAfresh(game, before);
    EXPECT_EQ(std::get<std::string>(game.tavola.state().endTime), "");
    EXPECT_EQ(game.form.text(Control::lblScore), "0");
    EXPECT_EQ(game.form.text(Control::lblScore1), "0");
    EXPECT_EQ(game.form.text(Control::lblScore2), "0");
    EXPECT_EQ(game.form.text(Control::lblMessage), "");
    EXPECT_EQ(game.form.descriptions.at(Control::txtAnswer), "risposta");
}

TEST(Lifecycle, CappedCountersStartFromZeroInANewGame)
{
    Game game;
    game.draw(0.3, 0.3, 0.1, 0.1);  // expects 0
    for (int i = 0; i < 32768; ++i)
        game.answer("1");
    ASSERT_EQ(game.form.text(Control::lblScore1), "32767+");
    game.services.answers = {MsgBoxResult::yes};
    game.tavola.Next_Click();
    game.answer("99");
    EXPECT_EQ(game.form.text(Control::lblScore1), "1");
    EXPECT_EQ(game.form.text(Control::lblScore2), "1");
}

TEST(Lifecycle, NoSecondBoxFromClicksWhileABoxIsOpen)
{
    Game game;
    game.services.whileOpen = [&] {
        game.tavola.Next_Click();
        game.tavola.Form_Click();
    };
    game.tavola.Next_Click();
    EXPECT_EQ(game.services.boxes.size(), 1u);
    EXPECT_FALSE(game.tavola.boxOpen());
}

}  // namespace
}  // namespace tavola::testing

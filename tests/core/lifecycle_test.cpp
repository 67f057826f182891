#include <gtest/gtest.h>

#include "support/fakes.h"

namespace tavola::testing {
namespace {

TEST(Lifecycle, StartLoadsResizesAndDrawsTheFirstProblem)
{
    Game game;
    EXPECT_EQ(game.form.loads, 1);
    EXPECT_EQ(game.form.windowCaption, "Vorlando");
    EXPECT_FALSE(game.form.text(Control::lblNum1).empty());
    EXPECT_FALSE(game.form.nextEnabled);
    EXPECT_EQ(game.form.focus, Control::txtAnswer);
    EXPECT_EQ(std::get<std::string>(game.tavola.state().endTime), "");
}

TEST(Lifecycle, OnlyTheFirstActivationAfterALoadDraws)
{
    Game game;
    game.type("12");
    const auto problem = game.form.text(Control::lblNum1) + game.form.text(Control::lblNum2);
    game.form.log.clear();
    game.tavola.windowActivated();  // a box closed, or back from another program
    game.tavola.windowActivated();
    EXPECT_TRUE(game.form.log.empty());
    EXPECT_EQ(game.form.text(Control::txtAnswer), "12");
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
    game.tavola.windowActivated();
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

    game.form.log.clear();
    game.services.answers = {MsgBoxResult::yes};
    game.tavola.Next_Click();

    EXPECT_EQ(game.tavola.state().correctCount, 0);
    EXPECT_EQ(game.tavola.state().wrongCount, 0);
    EXPECT_EQ(std::get<std::string>(game.tavola.state().endTime), "");
    EXPECT_EQ(game.form.text(Control::lblScore), "0");
    EXPECT_EQ(game.form.text(Control::lblScore1), "0");
    EXPECT_EQ(game.form.text(Control::lblScore2), "0");
    EXPECT_EQ(game.form.text(Control::lblMessage), "");
    EXPECT_NE(game.form.backColor, -1);
    EXPECT_EQ(game.form.focus, Control::txtAnswer);
    // Unload, show, then the caption, then the draw of the first problem.
    ASSERT_GE(game.form.log.size(), 4u);
    EXPECT_EQ(game.form.log[0], "unload");
    EXPECT_EQ(game.form.log[1], "show");
    EXPECT_EQ(game.form.log[2], "caption Vorlando");
    EXPECT_EQ(game.form.log[3], "text 0 ");
}

TEST(Lifecycle, ExitEndsWithoutAQuestion)
{
    Game game;
    game.tavola.cmdExit_Click();
    EXPECT_TRUE(game.services.ended);
    EXPECT_TRUE(game.services.boxes.empty());
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

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "game/answer.h"
#include "support/answer_examples.h"
#include "support/fakes.h"

namespace tavola::testing {
namespace {

// Only "-", the digits and Backspace get in; a discarded key is zeroed.
TEST(KeyFilter, LetsInOnlyTheCharactersOfASignedIntegerAndBackspace)
{
    const KeyAction pass = KeyAction::pass, discard = KeyAction::discard;
    const struct {
        std::int16_t key;
        KeyAction action;
    } rows[] = {
        {'0', pass},     {'7', pass},     {'9', pass},     {'-', pass},     {8, pass},
        {'/', discard},  {':', discard},  {'a', discard},  {' ', discard},  {'+', discard},
        {'.', discard},  {',', discard},  {22, discard},   {27, discard},   {0, discard},
        {-1, discard},   {'7' + 256, discard},             {0x2212, discard},  // the typographic minus
        {13, KeyAction::score},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(classifyKey(row.key), row.action) << row.key;
        if (row.action == KeyAction::score)
            continue;
        Game game;
        std::int16_t key = row.key;
        game.tavola.txtAnswer_KeyPress(key);
        EXPECT_EQ(key, row.action == pass ? row.key : 0) << row.key;
        EXPECT_EQ(game.tavola.state().correctCount + game.tavola.state().wrongCount, 0);
    }
}

// A problem whose difference is `difference` (|difference| < 20): A - (±1).
Draw problemWith(int difference)
{
    const int b = difference >= 0 ? 1 : -1;
    return drawFor(difference + b, b);
}

TEST(ReadAnswer, TextsInTheBoxAndHowTheyScore)
{
    for (const auto& row : kAnswerExamples) {
        SCOPED_TRACE('"' + std::string(row.text) + '"');
        EXPECT_EQ(readAnswer(row.text), row.answer);

        // Pasted into the box for a problem whose difference is that number
        // (or 0, when no problem has it), it counts as right exactly when it
        // reads as the difference.
        const bool drawable = row.answer && std::abs(*row.answer) < 20;
        const int difference = drawable ? *row.answer : 0;
        Game game;
        const Draw d = problemWith(difference);
        game.draw(d.r1, d.r2, d.r3, d.r4);
        game.answer(row.text);
        const bool right = row.answer == difference;
        EXPECT_EQ(game.form.text(Control::lblMessage),
                  right ? "Esatto, è incredibile!!!" : "Sbagliato!! " + std::to_string(difference));
        EXPECT_EQ(game.form.text(right ? Control::lblScore : Control::lblScore1), "1");
    }
}

TEST(Scoring, RightAnswerCountsAndKeepsBackgroundAndWrongLabel)
{
    Game game;
    const Draw d = drawFor(7, -3);
    game.draw(d.r1, d.r2, d.r3, d.r4);
    const auto colour = game.form.backColor;
    game.form.texts[Control::lblScore1] = "marker";
    game.type("10\r");
    EXPECT_EQ(game.form.text(Control::lblMessage), "Esatto, è incredibile!!!");
    EXPECT_EQ(game.form.backColor, colour);
    EXPECT_EQ(game.form.text(Control::lblScore1), "marker");
    EXPECT_EQ(game.form.text(Control::lblScore), "1");
    EXPECT_EQ(game.form.text(Control::lblScore2), "1");
    EXPECT_TRUE(game.form.nextEnabled);
    EXPECT_EQ(game.form.focus, Control::cmdNext);
    EXPECT_EQ(game.form.text(Control::txtAnswer), "10");
}

TEST(Scoring, WrongAnswerShowsTheRightValueAndBlackens)
{
    const struct {
        int a, b;
        const char* typed;
        const char* message;
    } rows[] = {
        {3, 10, "7", "Sbagliato!! -7"},  {5, -7, "2", "Sbagliato!! 12"}, {-20, 20, "40", "Sbagliato!! -40"},
        {3, 10, "-", "Sbagliato!! -7"},  {1, 1, "1", "Sbagliato!! 0"},
    };
    for (const auto& row : rows) {
        Game game;
        const Draw d = drawFor(row.a, row.b);
        game.draw(d.r1, d.r2, d.r3, d.r4);
        game.type(std::string(row.typed) + "\r");
        EXPECT_EQ(game.form.text(Control::lblMessage), row.message);
        EXPECT_EQ(game.form.backColor, 0);
        EXPECT_EQ(game.form.text(Control::lblScore), "0");
        EXPECT_EQ(game.form.text(Control::lblScore1), "1");
        EXPECT_EQ(game.form.text(Control::lblScore2), "1");
        EXPECT_EQ(game.form.focus, Control::cmdNext);
    }
}

TEST(Scoring, TypingIsFilteredAndEnterScoresPastTheLengthLimit)
{
    Game game;
    const Draw d = drawFor(-20, 20);
    game.draw(d.r1, d.r2, d.r3, d.r4);
    game.type("-4a 0.+99\r");  // the box keeps "-409"; the fifth character is refused
    EXPECT_EQ(game.form.text(Control::txtAnswer), "-409");
    EXPECT_EQ(game.form.text(Control::lblMessage), "Sbagliato!! -40");
}

TEST(Scoring, EveryEnterCountsAgain)
{
    Game game;
    const Draw d = drawFor(2, 1);
    game.draw(d.r1, d.r2, d.r3, d.r4);
    game.type("1\r\r3\r");
    EXPECT_EQ(game.form.text(Control::lblScore), "2");
    EXPECT_EQ(game.form.text(Control::lblScore1), "1");
    EXPECT_EQ(game.form.text(Control::lblScore2), "3");
}

TEST(Scoring, CountersStopAtTheTopAndSaySo)
{
    // Whichever counter reaches the top, its label and the total say so.
    const struct {
        const char *filling, *other;  // answers to the problem 0 (right) or not
        Control full, counted;
        const char* verdict;
    } rows[] = {
        {"0", "5", Control::lblScore, Control::lblScore1, "Esatto, è incredibile!!!"},
        {"5", "0", Control::lblScore1, Control::lblScore, "Sbagliato!! 0"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.filling);
        Game game;
        game.draw(0.3, 0.3, 0.1, 0.1);  // expects 0
        for (int i = 0; i < 32767; ++i)
            game.answer(row.filling);
        EXPECT_EQ(game.form.text(row.full), "32767");
        EXPECT_EQ(game.form.text(Control::lblScore2), "32767");
        game.answer(row.filling);
        EXPECT_EQ(game.form.text(row.full), "32767+");
        EXPECT_EQ(game.form.text(Control::lblScore2), "32767+");
        EXPECT_EQ(game.form.text(Control::lblMessage), row.verdict);
        game.answer(row.other);
        EXPECT_EQ(game.form.text(row.full), "32767+");
        EXPECT_EQ(game.form.text(row.counted), "1");
        EXPECT_EQ(game.form.text(Control::lblScore2), "32768+");
    }
}

}  // namespace
}  // namespace tavola::testing

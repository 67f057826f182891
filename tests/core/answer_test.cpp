#include <gtest/gtest.h>

#include "game/answer.h"
#include "support/fakes.h"

namespace tavola::testing {
namespace {

TEST(KeyFilter, LetsInOnlyTheCharactersOfASignedIntegerAndBackspace)
{
    for (int code = 0; code < 256; ++code) {
        const bool passes = code == '-' || (code >= '0' && code <= '9') || code == 8;
        const KeyAction expected = passes ? KeyAction::pass : code == 13 ? KeyAction::score : KeyAction::discard;
        EXPECT_EQ(classifyKey(static_cast<std::int16_t>(code)), expected) << code;
    }
    EXPECT_EQ(classifyKey(-1), KeyAction::discard);
    EXPECT_EQ(classifyKey(0x2212), KeyAction::discard);  // the typographic minus
}

TEST(KeyFilter, DiscardedKeysAreZeroedAndPassingKeysKept)
{
    Game game;
    const struct {
        std::int16_t key, after;
    } rows[] = {{'7', '7'}, {'-', '-'}, {8, 8}, {'a', 0}, {' ', 0}, {'+', 0}, {'.', 0}, {22, 0}, {27, 0}};
    for (const auto& row : rows) {
        std::int16_t key = row.key;
        game.tavola.txtAnswer_KeyPress(key);
        EXPECT_EQ(key, row.after) << row.key;
    }
    EXPECT_EQ(game.tavola.state().correctCount + game.tavola.state().wrongCount, 0);
}

TEST(ReadAnswer, TextsInTheBox)
{
    const struct {
        const char* text;
        std::optional<std::int16_t> answer;
    } rows[] = {
        {"", 0},   {"-", 0},     {"--5", 0},  {"-0", 0},           {"5-", 5},
        {"3-2", 3}, {"007", 7},  {"-15", -15}, {"9999", 9999},     {"-999", -999},
        {"9e99", std::nullopt},  {"32768", std::nullopt},          {"2.5", 2},     {"ciao", 0},
    };
    for (const auto& row : rows)
        EXPECT_EQ(readAnswer(row.text), row.answer) << '"' << row.text << '"';
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

TEST(Scoring, EmptyOrLoneMinusIsTheAnswerZero)
{
    for (const char* typed : {"", "-", "--"}) {
        Game game;
        const Draw d = drawFor(-4, -4);
        game.draw(d.r1, d.r2, d.r3, d.r4);
        game.type(std::string(typed) + "\r");
        EXPECT_EQ(game.form.text(Control::lblMessage), "Esatto, è incredibile!!!") << typed;
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

TEST(Scoring, PastedOverflowIsAWrongAnswerNotACrash)
{
    for (const char* pasted : {"9e99", "40000", "-9e999"}) {
        Game game;
        game.draw(0.3, 0.3, 0.1, 0.1);
        game.answer(pasted);
        EXPECT_EQ(game.tavola.state().wrongCount, 1) << pasted;
        EXPECT_EQ(game.form.text(Control::lblMessage), "Sbagliato!! 0");
    }
}

TEST(Scoring, CountersStopAtTheTopAndSaySo)
{
    Game game;
    game.draw(0.3, 0.3, 0.1, 0.1);  // expects 0
    for (int i = 0; i < 32767; ++i)
        game.answer("0");
    EXPECT_EQ(game.form.text(Control::lblScore), "32767");
    EXPECT_EQ(game.form.text(Control::lblScore2), "32767");
    game.answer("0");
    EXPECT_EQ(game.tavola.state().correctCount, 32767);
    EXPECT_EQ(game.form.text(Control::lblScore), "32767+");
    EXPECT_EQ(game.form.text(Control::lblMessage), "Esatto, è incredibile!!!");
    game.answer("5");
    EXPECT_EQ(game.form.text(Control::lblScore1), "1");
    EXPECT_EQ(game.form.text(Control::lblScore2), "32768+");
}

}  // namespace
}  // namespace tavola::testing

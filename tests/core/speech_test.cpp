// What a screen reader gets from the window object, and that it gets it
// before the focus moves: a reader reads a control as it takes the focus and
// does not read it again when its name changes afterwards.
#include <gtest/gtest.h>

#include <algorithm>

#include "game/texts.h"
#include "support/fakes.h"

namespace tavola::testing {
namespace {

std::size_t indexOf(const std::vector<std::string>& log, std::string_view prefix)
{
    const auto found = std::find_if(log.begin(), log.end(), [&](const std::string& entry) {
        return entry.compare(0, prefix.size(), prefix) == 0;
    });
    return static_cast<std::size_t>(found - log.begin());
}

// The longest problem leaves a 40-cell braille display room for the caret.
TEST(Speech, ProblemsAreReadWithEveryMinusAsAWord)
{
    struct Row {
        int a, b;
        const char* heard;
    };
    const Row rows[] = {
        {7, -3, "7 meno, tra parentesi, meno 3?"},
        {-16, -16, "meno 16 meno, tra parentesi, meno 16?"},
        {-1, 20, "meno 1 meno, tra parentesi, 20?"},
        {-20, -20, "meno 20 meno, tra parentesi, meno 20?"},
    };
    for (const Row& row : rows) {
        Game game;
        const Draw draw = drawFor(row.a, row.b);
        game.form.log.clear();
        game.draw(draw.r1, draw.r2, draw.r3, draw.r4);
        EXPECT_EQ(game.form.names.at(Control::txtAnswer), row.heard);
        EXPECT_LE(game.form.names.at(Control::txtAnswer).size(), 37u);
        // Named before the button is disabled, which hands the focus to the box.
        EXPECT_LT(indexOf(game.form.log, "name txtAnswer "), indexOf(game.form.log, "disable"));
    }
}

TEST(Speech, TheVerdictIsOnTheButtonBeforeItTakesTheFocus)
{
    struct Row {
        int a, b;
        const char* answer;
        const char* heard;
        const char* box;
    };
    const char* const right = "risposta. Ultima risposta esatta. Risposte esatte 1, errate 0, totali 1.";
    const char* const wrong = "risposta. Ultima risposta sbagliata. Risposte esatte 0, errate 1, totali 1.";
    const Row rows[] = {
        {7, -3, "10", "Esatto, è incredibile! 7 meno, tra parentesi, meno 3 fa 10. Risposte esatte 1, errate 0, totali 1.",
         right},
        {7, -3, "-4", "Sbagliato! 7 meno, tra parentesi, meno 3 fa 10. Risposte esatte 0, errate 1, totali 1.", wrong},
        {-3, -3, "0", "Esatto, è incredibile! meno 3 meno, tra parentesi, meno 3 fa 0. Risposte esatte 1, errate 0, "
                      "totali 1.", right},
        {2, 9, "7", "Sbagliato! 2 meno, tra parentesi, 9 fa meno 7. Risposte esatte 0, errate 1, totali 1.", wrong},
    };
    for (const Row& row : rows) {
        Game game;
        const Draw draw = drawFor(row.a, row.b);
        game.draw(draw.r1, draw.r2, draw.r3, draw.r4);
        game.form.log.clear();
        game.answer(row.answer);
        // The button's name, which a braille display shows as well.
        EXPECT_EQ(game.form.names.at(Control::cmdNext), row.heard);
        EXPECT_EQ(game.form.descriptions.at(Control::txtAnswer), row.box);
        EXPECT_LT(indexOf(game.form.log, "name cmdNext "), indexOf(game.form.log, "focus cmdNext"));
        // The box is described anew only once it has lost the focus.
        EXPECT_GT(indexOf(game.form.log, "description txtAnswer "), indexOf(game.form.log, "focus cmdNext"));

        // The next problem: the box is emptied only once it has the focus,
        // or a reader moves there silently on the text change.
        game.form.log.clear();
        game.draw(draw.r1, draw.r2, draw.r3, draw.r4);
        EXPECT_EQ(game.form.text(Control::txtAnswer), "");
        EXPECT_GT(indexOf(game.form.log, "text txtAnswer "), indexOf(game.form.log, "focus txtAnswer"));
    }
}

TEST(Speech, AnAcceptedEndTimeIsConfirmedAndARejectedOneIsNot)
{
    struct Row {
        const char* entry;
        std::vector<std::string> heard;
    };
    const Row rows[] = {
        {"14.22", {"Il gioco termina alle ore 14:22:00"}},
        {"31/12/2026 8.05", {"Il gioco termina alle ore 31/12/2026 08:05:00"}},
        {"24.00", {}},
        {"", {}},
    };
    for (const Row& row : rows) {
        Game game;
        game.services.entries = {row.entry};
        game.tavola.Form_Click();
        EXPECT_EQ(game.form.announcements, row.heard) << row.entry;
    }
}

}  // namespace
}  // namespace tavola::testing

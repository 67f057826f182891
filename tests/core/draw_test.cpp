#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "runtime/random_source.h"
#include "support/fakes.h"

namespace tavola::testing {
namespace {

std::int32_t rgb(int r, int g, int b) { return r + 256 * g + 65536 * b; }

TEST(Draw, ShowsOperandsStoresDifferenceAndTints)
{
    const struct {
        int a, b;
        std::int32_t colour;
    } rows[] = {
        {1, -1, rgb(20, 20, 50)},     {-3, 7, rgb(60, 140, 150)},    {5, -12, rgb(100, 240, 250)},
        {-5, 12, rgb(100, 240, 250)}, {-6, 13, rgb(120, 255, 255)},  {12, -12, rgb(240, 240, 255)},
        {13, -20, rgb(255, 255, 255)}, {-20, 20, rgb(255, 255, 255)}, {20, -20, rgb(255, 255, 255)},
        {7, -3, rgb(140, 60, 255)},   {-6, -8, rgb(120, 160, 255)},
    };
    for (const auto& row : rows) {
        Game game;
        game.type("99\r");  // a wrong answer leaves its verdict, the black and the button enabled
        const Draw d = drawFor(row.a, row.b);
        game.draw(d.r1, d.r2, d.r3, d.r4);
        SCOPED_TRACE(std::to_string(row.a) + " - (" + std::to_string(row.b) + ")");
        EXPECT_EQ(game.form.text(Control::lblNum1), std::to_string(row.a));
        EXPECT_EQ(game.form.text(Control::lblNum2), std::to_string(row.b));
        EXPECT_EQ(game.tavola.state().expectedAnswer, row.a - row.b);
        EXPECT_EQ(game.tavola.state().operandB, row.b);
        EXPECT_EQ(game.tavola.state().signB, row.b > 0 ? 1 : 0);
        EXPECT_EQ(game.form.backColor, row.colour);
        // A clean box, waiting for the answer.
        EXPECT_EQ(game.form.text(Control::txtAnswer), "");
        EXPECT_EQ(game.form.text(Control::lblMessage), "");
        EXPECT_FALSE(game.form.nextEnabled);
        EXPECT_EQ(game.form.focus, Control::txtAnswer);
    }
}

TEST(Draw, RandomValueBoundaries)
{
    // floor(r * -20) is -k for r in ((k-1)/20, k/20], 0 only for r exactly 0.
    const struct {
        double r1, r2, r3, r4;
        const char *a, *b;
    } rows[] = {
        {0.0, 0.0, 0.9, 0.9, "0", "0"},
        {0.05, 0.05, 0.0, 0.0, "-1", "-1"},
        {0.050001, 0.999, 2.0 / 3.0, 0.5, "2", "20"},
        {0.999, 0.5, 0.6666, 0.4999, "-20", "-10"},
    };
    for (const auto& row : rows) {
        Game game;
        game.draw(row.r1, row.r2, row.r3, row.r4);
        EXPECT_EQ(game.form.text(Control::lblNum1), row.a) << row.r1 << ' ' << row.r3;
        EXPECT_EQ(game.form.text(Control::lblNum2), row.b) << row.r2 << ' ' << row.r4;
    }
    Game zero;
    zero.draw(0.0, 0.0, 0.9, 0.9);
    EXPECT_EQ(zero.form.backColor, 0);
}

// With the real generator and the draw's double reseed, every value of A and
// B must come up as often as the odds say: A positive one time in three
// whatever its size, each size equally likely.
class RealRandomServices : public FakeServices {
public:
    void randomize() override { m_random.randomize(); }
    double nextRandom() override { return m_random.next(); }

private:
    RandomSource m_random;
};

TEST(Draw, ProbabilityTableHolds)
{
    FakeForm form;
    RealRandomServices services;
    Tavola tavola(form, services);
    constexpr int kDraws = 60000;
    std::map<int, int> countA, countB;
    for (int i = 0; i < kDraws; ++i) {
        tavola.cmdNext_Click();
        ++countA[std::stoi(form.text(Control::lblNum1))];
        ++countB[std::stoi(form.text(Control::lblNum2))];
    }
    // Five standard deviations of a binomial count, so the test fails only on a real bias.
    auto expectNear = [&](int count, double p, const std::string& what) {
        const double mean = kDraws * p, sd = std::sqrt(kDraws * p * (1 - p));
        EXPECT_NEAR(count, mean, 5 * sd) << what;
    };
    for (int v = 1; v <= 20; ++v) {
        expectNear(countA[v], 1.0 / 60, "A = " + std::to_string(v));
        expectNear(countA[-v], 1.0 / 30, "A = " + std::to_string(-v));
        expectNear(countB[v], 1.0 / 40, "B = " + std::to_string(v));
        expectNear(countB[-v], 1.0 / 40, "B = " + std::to_string(-v));
    }
}

}  // namespace
}  // namespace tavola::testing

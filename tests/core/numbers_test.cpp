#include <gtest/gtest.h>

#include <cmath>

#include "runtime/numbers.h"

namespace tavola {
namespace {

TEST(RoundToInt16, RoundsTiesToEvenAndRefusesOverflow)
{
    const struct {
        double value;
        std::optional<std::int16_t> result;
    } rows[] = {
        {0.5, 0},           {1.5, 2},         {2.5, 2},          {-2.5, -2},       {-3.5, -4},
        {32767.0, 32767},   {32767.4, 32767}, {32767.5, std::nullopt},           {-32768.0, -32768},
        {-32768.5, -32768}, {-32768.6, std::nullopt},            {9e99, std::nullopt},
        {INFINITY, std::nullopt},             {NAN, std::nullopt},
    };
    for (const auto& row : rows)
        EXPECT_EQ(roundToInt16(row.value), row.result) << row.value;
}

TEST(CheckedAdd16, ReportsOverflowAtEitherEnd)
{
    EXPECT_EQ(checkedAdd16(32766, 1), std::optional<std::int16_t>(32767));
    EXPECT_EQ(checkedAdd16(32767, 1), std::nullopt);
    EXPECT_EQ(checkedAdd16(-32768, -1), std::nullopt);
    EXPECT_EQ(checkedAdd16(-5, 3), std::optional<std::int16_t>(-2));
}

TEST(ComposeRgb, ClampsEachComponent)
{
    EXPECT_EQ(composeRgb(1, 2, 3), 1 + 2 * 256 + 3 * 65536);
    EXPECT_EQ(composeRgb(260, 400, 650), 0xFFFFFF);
    EXPECT_EQ(composeRgb(0, 0, 0), 0);
    EXPECT_EQ(composeRgb(-5, 255, 0), 255 * 256);
}

}  // namespace
}  // namespace tavola

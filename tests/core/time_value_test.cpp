#include "runtime/time_value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace tavola;

namespace {

// Nearest whole second since the epoch, the unit every check compares in.
long long secondsOf(double value)
{
    return std::llround(value * 86400);
}

struct Accepted {
    std::string text;
    long long day;  // days since 1899-12-30, worked out independently
    int hour, minute, second;
};

TEST(TimeValue, ReadsAcceptedEntries)
{
    const std::vector<Accepted> rows = {
        {"14.22", 0, 14, 22, 0},         {"14:22", 0, 14, 22, 0},
        {"9.05", 0, 9, 5, 0},            {"09.05.30", 0, 9, 5, 30},
        {"23:59:59", 0, 23, 59, 59},     {"0.00", 0, 0, 0, 0},
        {" \t14.22 \t", 0, 14, 22, 0},   {"2.22 PM", 0, 14, 22, 0},
        {"02:22 PM", 0, 14, 22, 0},      {"2.22pm", 0, 14, 22, 0},
        {"12:00 AM", 0, 0, 0, 0},        {"12:30 pM", 0, 12, 30, 0},
        {"11:59:59 PM", 0, 23, 59, 59},  {"1:00 a.m.", 0, 1, 0, 0},
        {"12.15.07  P.M.", 0, 12, 15, 7},
        {"2:05 PM ", 0, 14, 5, 0},       {"14.22\r\n", 0, 14, 22, 0},
        {"31/12/2026", 46387, 0, 0, 0},  {"31/12/2026 ", 46387, 0, 0, 0},
        {"7/12/2026 14.22.05", 46363, 14, 22, 5},
        {"29/2/2024 10.00", 45351, 10, 0, 0},
        {"29/02/2000\t 8:00 PM", 36585, 20, 0, 0},
        {"1-1-1900", 2, 0, 0, 0},        {"1/1/30 0.00", 10959, 0, 0, 0},
        {"5/6/29 8:00", 47274, 8, 0, 0}, {"31/12/9999 23:59:59", 2958465, 23, 59, 59},
    };
    for (const auto& row : rows) {
        const auto value = readTimeValue(row.text);
        ASSERT_TRUE(value.has_value()) << row.text;
        EXPECT_EQ(secondsOf(*value),
                  row.day * 86400 + row.hour * 3600 + row.minute * 60 + row.second)
            << row.text;
    }
}

TEST(TimeValue, RejectsMalformedEntries)
{
    const std::vector<std::string> rows = {
        "", "   ", "\t", "abc", "14", "14.", "14.22.", "14.5", "14.223", "014.22",
        "24.00", "14.60", "14.22.60", "14.22:10", "14,22", "14 .22", "14. 22",
        "+14.22", "-14.22", "14.22x", "14.22 XM", "14.22 a", "14.22 a.m", "14.22 AMX",
        "13.00 PM", "0:00 AM", "14.22 PM", std::string("14.22\0", 6),
        std::string("14\0.22", 6), "99999999999999999999.00",
        "31/2/2026 10.00", "29/2/2027", "29/2/2100", "32/1/2026", "0/1/2026",
        "1/13/2026", "1/0/2026", "1/1/1899", "1/1/10000", "1/1/202", "1/1-2026",
        "1/1/202614.22", "1/1/2026 abc", "1/1/2026 14", "1/1/99999999999999999999",
        "1 /1/2026", "/1/2026", "1/1/",
    };
    for (const auto& text : rows)
        EXPECT_FALSE(readTimeValue(text).has_value()) << '"' << text << '"';
}

TEST(TimeValue, MakeDateMatchesKnownAnchors)
{
    struct Row { int y, m, d; long long day; };
    const std::vector<Row> rows = {
        {1899, 12, 30, 0}, {1900, 1, 1, 2},       {1900, 3, 1, 61},
        {1970, 1, 1, 25569}, {2000, 2, 29, 36585}, {2026, 12, 7, 46363},
        {9999, 12, 31, 2958465},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(makeDate(r.y, r.m, r.d), static_cast<double>(r.day)) << r.y;
        const auto f = splitTimeValue(static_cast<double>(r.day));
        EXPECT_EQ(f.year * 10000 + f.month * 100 + f.day, r.y * 10000 + r.m * 100 + r.d);
    }
}

TEST(TimeValue, RoundsToTheNearestSecond)
{
    struct Row { double value; std::string text; int minute; };
    const std::vector<Row> rows = {
        {0.99999999, "00:00:00", 0},
        {46362.9999999, "07/12/2026", 0},
        {46363 + (51725 + 0.49) / 86400.0, "07/12/2026 14:22:05", 22},
        {(3599 + 0.5) / 86400.0, "01:00:00", 0},
        {(3599 + 0.4) / 86400.0, "00:59:59", 59},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(timeValueText(r.value), r.text);
        EXPECT_EQ(minuteOfHour(r.value), r.minute) << r.text;
        const double tod = timeOfDay(r.value);
        EXPECT_GE(tod, 0.0);
        EXPECT_LT(tod, 1.0);
        EXPECT_EQ(secondsOf(tod), ((secondsOf(r.value) % 86400) + 86400) % 86400) << r.text;
    }
}

}  // namespace

// Fuzzes the end-time entry. Any bytes may be typed into the box: an accepted
// entry must read back from the texts the game writes for it. The same bytes
// also pick calendar fields, written here in the forms a pupil types, which
// must read as the value counted here, apart from the product's calendar.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz/report.h"
#include "runtime/time_value.h"

namespace {

using tavola::TimeValue;

[[noreturn]] void fail(std::string_view text, const std::string& what)
{
    tavola::fuzz::failOn("time entry", text, what);
}

long long wholeSeconds(TimeValue value) { return std::llround(value * 86400.0); }

template <typename... Fields>
std::string format(const char* pattern, Fields... fields)
{
    char text[96];
    std::snprintf(text, sizeof text, pattern, fields...);
    return text;
}

// Properties of whatever the bytes say as a text.
void checkEntry(std::string_view text)
{
    const auto value = tavola::readTimeValue(text);

    // Blanks around the entry never matter.
    const std::string padded = " \t" + std::string(text) + "\t ";
    if (tavola::readTimeValue(padded) != value)
        fail(text, "blanks around change the reading");

    if (!value)
        return;
    if (!std::isfinite(*value) || *value < 0)
        fail(text, "accepted as " + std::to_string(*value));

    // Its own text, as the entry box offers it again, reads back to the second.
    const std::string own = tavola::timeValueText(*value);
    const auto again = tavola::readTimeValue(own);
    if (!again || wholeSeconds(*again) != wholeSeconds(*value))
        fail(text, "its text \"" + own + "\" does not read back");

    // The minimised caption keeps the hour and the minute.
    const auto fields = tavola::splitTimeValue(*value);
    const std::string caption = tavola::mediumTimeText(tavola::timeOfDay(*value));
    const auto fromCaption = tavola::readTimeValue(caption);
    if (!fromCaption || *fromCaption >= 1)
        fail(text, "caption \"" + caption + "\" does not read as a time of day");
    const auto captionFields = tavola::splitTimeValue(*fromCaption);
    if (captionFields.hour != fields.hour || captionFields.minute != fields.minute)
        fail(text, "caption \"" + caption + "\" reads another hour or minute");
}

// Calendar counted here: days from 30 December 1899, proleptic Gregorian.
bool leap(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int monthDays(int year, int month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && leap(year) ? 29 : days[month - 1];
}

long long daysBeforeYear(int year)
{
    const long long past = year - 1;
    return past * 365 + past / 4 - past / 100 + past / 400;
}

long long serialDay(int year, int month, int day)
{
    long long inYear = day - 1;
    for (int m = 1; m < month; ++m)
        inYear += monthDays(year, m);
    // 30 December 1899 is day 363 (from 0) of its year.
    return daysBeforeYear(year) + inYear - daysBeforeYear(1899) - 363;
}

class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    unsigned next()
    {
        const unsigned byte = m_at < m_size ? m_data[m_at] : 0;
        ++m_at;
        return byte;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

void expectReading(const std::string& text, long long seconds, bool dated)
{
    const auto value = tavola::readTimeValue(text);
    if (!value)
        fail(text, "rejected");
    if (wholeSeconds(*value) != seconds)
        fail(text, "reads " + std::to_string(wholeSeconds(*value)) + " s, counted " + std::to_string(seconds) + " s");
    if ((*value >= 1) != dated)
        fail(text, dated ? "lost its date" : "got a date");
}

// The bytes as calendar fields, written the ways the game and a pupil write them.
void checkFields(const std::uint8_t* data, std::size_t size)
{
    Bytes bytes(data, size);
    const int year = 1900 + static_cast<int>((bytes.next() << 8 | bytes.next()) % 8100);
    const int month = 1 + static_cast<int>(bytes.next() % 12);
    const int day = 1 + static_cast<int>(bytes.next() % static_cast<unsigned>(monthDays(year, month)));
    const int hour = static_cast<int>(bytes.next() % 24);
    const int minute = static_cast<int>(bytes.next() % 60);
    const int second = static_cast<int>(bytes.next() % 60);
    const unsigned style = bytes.next();

    const long long ofDay = hour * 3600LL + minute * 60 + second;
    const long long dated = serialDay(year, month, day) * 86400 + ofDay;
    const int hour12 = hour % 12 == 0 ? 12 : hour % 12;
    const bool pm = hour >= 12;

    // The game's own texts, exactly.
    const std::string full = ofDay == 0 ? format("%02d/%02d/%04d", day, month, year)
                                        : format("%02d/%02d/%04d %02d:%02d:%02d", day, month, year, hour, minute, second);
    expectReading(full, dated, true);
    const TimeValue value = static_cast<TimeValue>(dated) / 86400.0;
    if (tavola::timeValueText(value) != full)
        fail(full, "written as \"" + tavola::timeValueText(value) + "\"");
    const std::string clock = format("%02d:%02d:%02d", hour, minute, second);
    expectReading(clock, ofDay, false);
    if (tavola::timeValueText(static_cast<TimeValue>(ofDay) / 86400.0) != clock)
        fail(clock, "written as \"" + tavola::timeValueText(static_cast<TimeValue>(ofDay) / 86400.0) + "\"");
    const std::string caption = format("%02d:%02d %cM", hour12, minute, pm ? 'P' : 'A');
    if (tavola::mediumTimeText(value) != caption)
        fail(caption, "caption written as \"" + tavola::mediumTimeText(value) + "\"");

    // The ways a pupil types it.
    const long long toMinute = hour * 3600LL + minute * 60;
    expectReading(format("%d.%02d", hour, minute), toMinute, false);
    static const char* const halves[][2] = {{"AM", "PM"}, {"am", "pm"}, {"a.m.", "p.m."}, {"A.M.", "P.M."}};
    const char* half = halves[style % 4][pm ? 1 : 0];
    const std::string twelve = format("%d:%02d ", hour12, minute) + half;
    expectReading(twelve, toMinute, false);
    expectReading(format("%d/%d/%d %d.%02d", day, month, year, hour, minute),
                  serialDay(year, month, day) * 86400 + toMinute, true);
    if (year >= 1930 && year <= 2029)
        expectReading(format("%d-%d-%02d %d:%02d:%02d", day, month, year % 100, hour, minute, second), dated, true);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    checkEntry(std::string_view(reinterpret_cast<const char*>(data), size));
    checkFields(data, size);
    return 0;
}

#include "runtime/time_value.h"

#include <chrono>
#include <cmath>
#include <cstdio>

#include "runtime/numbers.h"

namespace tavola {

namespace {

using std::chrono::sys_days;

constexpr long long kSecondsPerDay = 86400;
// The day a time value counts from.
constexpr sys_days kEpoch = std::chrono::year{1899} / 12 / 30;
// Keeps rounding far from integer overflow and every date within the years
// std::chrono::year can hold.
constexpr double kMaxMagnitude = 1.0e7;

// Whole days and seconds of the day, the seconds rounded to the nearest one
// and carried into the next day when they reach midnight.
void splitDaysSeconds(TimeValue value, long long& days, long long& seconds)
{
    if (!std::isfinite(value))
        value = 0;
    value = std::fmax(-kMaxMagnitude, std::fmin(kMaxMagnitude, value));
    const double whole = std::floor(value);
    days = static_cast<long long>(whole);
    seconds = std::llround((value - whole) * kSecondsPerDay);
    if (seconds >= kSecondsPerDay) {
        ++days;
        seconds -= kSecondsPerDay;
    }
}

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// A forward-only reader; every access is bounds-checked, so arbitrary bytes
// (NULs included) can only end in a rejection.
class Cursor {
public:
    explicit Cursor(std::string_view text) : text_(text) {}

    bool atEnd() const { return pos_ >= text_.size(); }
    char peek() const { return atEnd() ? '\0' : text_[pos_]; }
    bool peekDigit() const { return !atEnd() && peek() >= '0' && peek() <= '9'; }

    bool take(char c)
    {
        if (atEnd() || text_[pos_] != c)
            return false;
        ++pos_;
        return true;
    }

    // Takes a char that is one of the given ones; returns it, or '\0'.
    char takeOneOf(std::string_view set)
    {
        if (atEnd() || set.find(text_[pos_]) == std::string_view::npos)
            return '\0';
        return text_[pos_++];
    }

    int skipBlanks()
    {
        int count = 0;
        while (!atEnd() && isBlank(text_[pos_])) {
            ++pos_;
            ++count;
        }
        return count;
    }

    // Reads minDigits..maxDigits digits; a longer run fails, so a number can
    // never overflow. Returns the number of digits read, 0 on failure.
    int digits(int minDigits, int maxDigits, int& value)
    {
        int count = 0;
        value = 0;
        while (peekDigit()) {
            if (count == maxDigits)
                return 0;
            value = value * 10 + (text_[pos_++] - '0');
            ++count;
        }
        return count >= minDigits ? count : 0;
    }

    // Accepts "am"/"pm" and "a.m."/"p.m." in any case; 'a', 'p' or '\0'.
    char meridiem()
    {
        const char letter = lower(peek());
        if (letter != 'a' && letter != 'p')
            return '\0';
        ++pos_;
        const bool dotted = take('.');
        if (lower(peek()) != 'm')
            return '\0';
        ++pos_;
        if (dotted && !take('.'))
            return '\0';
        return letter;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// Day/month/year, the year with two or four digits.
std::optional<long long> readDate(Cursor& in)
{
    int day = 0, month = 0, year = 0;
    if (!in.digits(1, 2, day))
        return std::nullopt;
    const char sep = in.takeOneOf("/-");
    if (!sep || !in.digits(1, 2, month) || !in.take(sep))
        return std::nullopt;
    const int yearDigits = in.digits(2, 4, year);
    if (yearDigits == 2)
        year += year < 30 ? 2000 : 1900;
    else if (yearDigits != 4)
        return std::nullopt;
    const std::chrono::year_month_day date{std::chrono::year{year}, std::chrono::month(month), std::chrono::day(day)};
    if (year < 1900 || year > 9999 || !date.ok())
        return std::nullopt;
    return (sys_days{date} - kEpoch).count();
}

// Seconds of the day. Minutes and seconds need exactly two digits: "14.5"
// is rejected, since a pupil may mean 14:05 or 14:50 and guessing either
// would mark a right answer wrong or a wrong one right.
std::optional<long long> readTime(Cursor& in)
{
    int hour = 0, minute = 0, second = 0;
    if (!in.digits(1, 2, hour))
        return std::nullopt;
    const char sep = in.takeOneOf(".:");
    if (!sep || !in.digits(2, 2, minute) || minute > 59)
        return std::nullopt;
    if (in.take(sep) && (!in.digits(2, 2, second) || second > 59))
        return std::nullopt;
    in.skipBlanks();
    if (in.atEnd()) {
        if (hour > 23)
            return std::nullopt;
    } else {
        const char half = in.meridiem();
        if (!half || hour < 1 || hour > 12)
            return std::nullopt;
        hour = hour % 12 + (half == 'p' ? 12 : 0);
    }
    return hour * 3600LL + minute * 60 + second;
}

}  // namespace

TimeValue makeTime(int hour, int minute, int second)
{
    return (hour * 3600.0 + minute * 60.0 + second) / kSecondsPerDay;
}

TimeValue makeDate(int year, int month, int day)
{
    const sys_days date = std::chrono::year{year} / month / day;
    return static_cast<TimeValue>((date - kEpoch).count());
}

DateTimeFields splitTimeValue(TimeValue value)
{
    long long days = 0, seconds = 0;
    splitDaysSeconds(value, days, seconds);
    const std::chrono::year_month_day date{kEpoch + std::chrono::days(days)};
    const std::chrono::hh_mm_ss time{std::chrono::seconds(seconds)};
    DateTimeFields f;
    f.year = static_cast<int>(date.year());
    f.month = static_cast<int>(unsigned{date.month()});
    f.day = static_cast<int>(unsigned{date.day()});
    f.hour = static_cast<int>(time.hours().count());
    f.minute = static_cast<int>(time.minutes().count());
    f.second = static_cast<int>(time.seconds().count());
    return f;
}

TimeValue timeOfDay(TimeValue value)
{
    long long days = 0, seconds = 0;
    splitDaysSeconds(value, days, seconds);
    return static_cast<double>(seconds) / kSecondsPerDay;
}

int minuteOfHour(TimeValue value)
{
    return splitTimeValue(value).minute;
}

std::optional<TimeValue> readTimeValue(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);

    // Digits followed by a date separator mean a date comes first.
    Cursor probe(text);
    int ignored = 0;
    const bool hasDate = probe.digits(1, 2, ignored) && probe.takeOneOf("/-");

    Cursor in(text);
    long long days = 0;
    if (hasDate) {
        const auto date = readDate(in);
        if (!date)
            return std::nullopt;
        if (in.atEnd())
            return static_cast<TimeValue>(*date);
        if (in.skipBlanks() == 0)
            return std::nullopt;
        days = *date;
    }
    const auto seconds = readTime(in);
    if (!seconds || !in.atEnd())
        return std::nullopt;
    return static_cast<TimeValue>(days) + static_cast<TimeValue>(*seconds) / kSecondsPerDay;
}

std::string timeValueText(TimeValue value)
{
    // Below 1 there is no date, so a hair before midnight wraps to 00:00:00
    // instead of becoming 31/12/1899, which could not be read back.
    const DateTimeFields f = splitTimeValue(value < 1 ? timeOfDay(value) : value);
    const bool midnight = f.hour == 0 && f.minute == 0 && f.second == 0;
    char text[40];
    if (value < 1)
        std::snprintf(text, sizeof text, "%02d:%02d:%02d", f.hour, f.minute, f.second);
    else if (midnight)
        std::snprintf(text, sizeof text, "%02d/%02d/%04d", f.day, f.month, f.year);
    else
        std::snprintf(text, sizeof text, "%02d/%02d/%04d %02d:%02d:%02d", f.day, f.month, f.year, f.hour, f.minute,
                      f.second);
    return text;
}

std::string mediumTimeText(TimeValue value)
{
    const DateTimeFields f = splitTimeValue(timeOfDay(value));
    const int hour12 = f.hour % 12 == 0 ? 12 : f.hour % 12;
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d %s", hour12, f.minute, f.hour < 12 ? "AM" : "PM");
    return text;
}

}  // namespace tavola

#include "runtime/time_value.h"

#include <cmath>

namespace tavola {

namespace {

constexpr long long kSecondsPerDay = 86400;
// Days from 1970-01-01 (the epoch of daysFromCivil) back to 1899-12-30.
constexpr long long kEpochOffset = 25569;
// Keeps rounding and field arithmetic far from integer overflow.
constexpr double kMaxMagnitude = 1.0e7;

// Days since 1970-01-01 of a proleptic Gregorian date; eras of 400 years
// keep the arithmetic exact for negative years too.
long long daysFromCivil(long long y, int m, int d)
{
    y -= m <= 2 ? 1 : 0;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civilFromDays(long long z, int& year, int& month, int& day)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

bool isLeapYear(int y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(int y, int m)
{
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeapYear(y) ? 29 : kDays[m - 1];
}

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

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
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
    if (year < 1900 || year > 9999 || month < 1 || month > 12 || day < 1
        || day > daysInMonth(year, month))
        return std::nullopt;
    return daysFromCivil(year, month, day) + kEpochOffset;
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

// A non-negative number left-padded with zeros to at least `width` digits.
std::string padded(int value, std::size_t width)
{
    std::string text = std::to_string(value);
    if (text.size() < width)
        text.insert(0, width - text.size(), '0');
    return text;
}

}  // namespace

TimeValue makeTime(int hour, int minute, int second)
{
    return (hour * 3600.0 + minute * 60.0 + second) / kSecondsPerDay;
}

TimeValue makeDate(int year, int month, int day)
{
    return static_cast<TimeValue>(daysFromCivil(year, month, day) + kEpochOffset);
}

DateTimeFields splitTimeValue(TimeValue value)
{
    long long days = 0, seconds = 0;
    splitDaysSeconds(value, days, seconds);
    DateTimeFields f;
    civilFromDays(days - kEpochOffset, f.year, f.month, f.day);
    f.hour = static_cast<int>(seconds / 3600);
    f.minute = static_cast<int>(seconds / 60 % 60);
    f.second = static_cast<int>(seconds % 60);
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
    const std::string time = padded(f.hour, 2) + ':' + padded(f.minute, 2) + ':' + padded(f.second, 2);
    if (value < 1)
        return time;
    const std::string date = padded(f.day, 2) + '/' + padded(f.month, 2) + '/' + padded(f.year, 4);
    if (f.hour == 0 && f.minute == 0 && f.second == 0)
        return date;
    return date + ' ' + time;
}

std::string mediumTimeText(TimeValue value)
{
    const DateTimeFields f = splitTimeValue(timeOfDay(value));
    const int hour12 = f.hour % 12 == 0 ? 12 : f.hour % 12;
    return padded(hour12, 2) + ':' + padded(f.minute, 2) + (f.hour < 12 ? " AM" : " PM");
}

}  // namespace tavola

#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace tavola {

// A time value counts days from 30 December 1899 at midnight; the whole part
// is the date, the fraction the time of day. A value below 1 has no date part
// and stands for a time of day alone.
using TimeValue = double;

// The end of a game: a text (empty for none, or an entry that was rejected)
// or an accepted time value.
using EndTime = std::variant<std::string, TimeValue>;

// Builds a time of day (no date part). Out-of-range fields are the caller's fault.
TimeValue makeTime(int hour, int minute, int second);

// Builds the value of midnight of a calendar date (proleptic Gregorian).
TimeValue makeDate(int year, int month, int day);

// Splits a value into calendar fields, rounded to the nearest second.
struct DateTimeFields {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
};
DateTimeFields splitTimeValue(TimeValue value);

// The time of day of a value, without its date part: 0 <= result < 1.
TimeValue timeOfDay(TimeValue value);

// 0..59, rounded to the nearest second first.
int minuteOfHour(TimeValue value);

// Reads a text the way a pupil in Italy writes a time: hours and minutes
// separated by "." or ":", optional seconds, optional AM/PM, optionally
// preceded by a day/month/year date; a date alone is accepted too. Blanks
// around the text are ignored. Returns nothing for anything that is no real
// date or time (24.00, 14.60, 31/2/2026, blanks only, letters, ...).
std::optional<TimeValue> readTimeValue(std::string_view text);

// The text of a value in the Italian style, with seconds: "14:22:05" for a
// time of day alone, "07/12/2026 14:22:05" with a date, "07/12/2026" for a
// date at midnight. readTimeValue reads it back to the same value (to the second).
std::string timeValueText(TimeValue value);

// Hours and minutes in 12-hour form with AM/PM, as a minimised window's
// caption shows them: "02:22 PM". readTimeValue reads it back with the same
// hour and minute.
std::string mediumTimeText(TimeValue value);

}  // namespace tavola

#include "game/end_time.h"

#include <cmath>

namespace tavola {

namespace {

// Compared in whole seconds, so that values computed by different routes
// that show the same second compare equal.
long long wholeSeconds(TimeValue value) { return std::llround(value * 86400.0); }

// Seconds from now to the end time (negative once it is past), or nothing for a text.
std::optional<long long> secondsToEnd(TimeValue now, const EndTime& endTime)
{
    const auto* end = std::get_if<TimeValue>(&endTime);
    if (!end)
        return std::nullopt;
    const TimeValue reference = *end >= 1.0 ? now : timeOfDay(now);
    return wholeSeconds(*end) - wholeSeconds(reference);
}

}  // namespace

bool endTimeReached(TimeValue now, const EndTime& endTime)
{
    const auto left = secondsToEnd(now, endTime);
    return left && *left <= 0;
}

bool beforeEndTime(TimeValue now, const EndTime& endTime)
{
    const auto left = secondsToEnd(now, endTime);
    return !left || *left > 0;
}

std::string endTimeText(const EndTime& endTime)
{
    if (const auto* text = std::get_if<std::string>(&endTime))
        return *text;
    return timeValueText(std::get<TimeValue>(endTime));
}

std::string clockText(TimeValue now) { return timeValueText(timeOfDay(now)); }

}  // namespace tavola

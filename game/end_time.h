#pragma once

#include <string>

#include "runtime/time_value.h"

namespace tavola {

// Whether the moment `now` has reached the end time. A text (none, or a
// rejected entry) is never reached. An end time with a date is compared with
// the date and time; one without a date with the time of day alone.
bool endTimeReached(TimeValue now, const EndTime& endTime);

// Whether `now` lies before the end time; always so for a text.
bool beforeEndTime(TimeValue now, const EndTime& endTime);

// The end time as the entry box shows it again.
std::string endTimeText(const EndTime& endTime);

// The clock's text of the current time of day, to the second.
std::string clockText(TimeValue now);

}  // namespace tavola

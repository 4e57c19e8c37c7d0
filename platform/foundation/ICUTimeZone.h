#pragma once
// The ICU zone for a TimeZone, shared by the calendar and the date formatter.
// Only their sources include it: it brings ICU's headers.
#include <unicode/timezone.h>

namespace foundation {

class TimeZone;

// A fixed offset becomes a simple zone under the zone's name; any other name
// is looked up in ICU's database. The caller owns the result.
icu::TimeZone* makeICUTimeZone(const TimeZone& zone);

}  // namespace foundation

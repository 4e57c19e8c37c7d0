// Proleptic Gregorian dates as days since 1970-01-01 and back, for the
// textual date forms of the file formats (property lists, iCalendar).
#pragma once

#include <cstdint>

namespace foundation {

int64_t daysFromCivil(int64_t year, unsigned month, unsigned day);
void civilFromDays(int64_t days, int64_t& year, unsigned& month, unsigned& day);

}  // namespace foundation

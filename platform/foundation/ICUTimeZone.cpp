#include "foundation/ICUTimeZone.h"

#include "foundation/TimeZone.h"

#include <unicode/simpletz.h>

namespace foundation {

icu::TimeZone* makeICUTimeZone(const TimeZone& zone) {
    if (auto fixed = zone.fixedSecondsFromGMT())
        return new icu::SimpleTimeZone(*fixed * 1000, icu::UnicodeString::fromUTF8(zone.name()));
    return icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(zone.name()));
}

}  // namespace foundation

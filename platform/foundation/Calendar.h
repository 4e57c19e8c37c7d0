// The Gregorian calendar in a time zone: an instant's wall-clock fields, the
// instant of given fields, the start of a day and whole-day steps. Days are
// calendar days of the zone, so a day across a daylight-saving change lasts 23
// or 25 hours. A Calendar is an immutable value and safe to share.
#pragma once

#include <memory>
#include <optional>

#include "foundation/Date.h"
#include "foundation/TimeZone.h"

namespace foundation {

struct DateComponents {
    int era = 1;  // 0 before Christ, 1 after
    int year = 1;
    int month = 1;  // 1 = January
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int weekday = 0;  // 1 = Sunday … 7 = Saturday; ignored when making a date

    bool operator==(const DateComponents&) const = default;
};

class Calendar {
public:
    explicit Calendar(TimeZone zone = TimeZone::local());

    const TimeZone& timeZone() const { return zone_; }

    // All fields of `date` (whole seconds, rounded down) in this zone.
    DateComponents components(Date date) const;
    // The instant of the fields in this zone; fields out of range carry over
    // (month 13 is January of the next year). Nothing for dates ICU cannot hold.
    std::optional<Date> dateFromComponents(const DateComponents& components) const;
    // Midnight of the day of `date`, or the first instant of that day when
    // midnight is skipped by a daylight-saving change.
    Date startOfDay(Date date) const;
    // The same wall-clock time `days` calendar days later (earlier when negative).
    Date dateByAddingDays(int days, Date date) const;

private:
    struct Engine;
    TimeZone zone_;
    std::shared_ptr<const Engine> engine_;
};

}  // namespace foundation

// Each operation works on a fresh ICU Gregorian calendar over the zone this
// Calendar was made with, so a Calendar holds no mutable state and needs no lock.
// ICU's calendar is lenient by default, which gives the carry-over of
// out-of-range fields that dateFromComponents promises.
#include "foundation/Calendar.h"

#include "foundation/ICUTimeZone.h"

#include <unicode/gregocal.h>
#include <unicode/simpletz.h>
#include <unicode/timezone.h>

#include <cmath>

namespace foundation {

struct Calendar::Engine {
    std::unique_ptr<icu::TimeZone> zone;

    std::unique_ptr<icu::Calendar> make() const {
        if (!zone) return nullptr;
        UErrorCode status = U_ZERO_ERROR;
        auto calendar = std::make_unique<icu::GregorianCalendar>(zone->clone(), icu::Locale("en_US"), status);
        if (U_FAILURE(status)) return nullptr;
        return calendar;
    }
};

namespace {

UDate toUDate(Date date) { return date.timeIntervalSince1970() * 1000.0; }
Date fromUDate(UDate ms) { return Date::fromTimeIntervalSince1970(ms / 1000.0); }

}  // namespace

Calendar::Calendar(TimeZone zone) : zone_(std::move(zone)) {
    auto engine = std::make_shared<Engine>();
    engine->zone.reset(makeICUTimeZone(zone_));
    engine_ = std::move(engine);
}

DateComponents Calendar::components(Date date) const {
    auto calendar = engine_->make();
    if (!calendar || !std::isfinite(date.timeIntervalSince1970())) return {};
    UErrorCode status = U_ZERO_ERROR;
    calendar->setTime(std::floor(toUDate(date) / 1000.0) * 1000.0, status);
    DateComponents out;
    out.era = calendar->get(UCAL_ERA, status);
    out.year = calendar->get(UCAL_YEAR, status);
    out.month = calendar->get(UCAL_MONTH, status) + 1;
    out.day = calendar->get(UCAL_DATE, status);
    out.hour = calendar->get(UCAL_HOUR_OF_DAY, status);
    out.minute = calendar->get(UCAL_MINUTE, status);
    out.second = calendar->get(UCAL_SECOND, status);
    out.weekday = calendar->get(UCAL_DAY_OF_WEEK, status);
    return U_SUCCESS(status) ? out : DateComponents{};
}

std::optional<Date> Calendar::dateFromComponents(const DateComponents& c) const {
    auto calendar = engine_->make();
    if (!calendar) return std::nullopt;
    calendar->clear();
    calendar->set(UCAL_ERA, c.era);
    calendar->set(UCAL_YEAR, c.year);
    calendar->set(UCAL_MONTH, c.month - 1);
    calendar->set(UCAL_DATE, c.day);
    calendar->set(UCAL_HOUR_OF_DAY, c.hour);
    calendar->set(UCAL_MINUTE, c.minute);
    calendar->set(UCAL_SECOND, c.second);
    UErrorCode status = U_ZERO_ERROR;
    UDate ms = calendar->getTime(status);
    if (U_FAILURE(status)) return std::nullopt;
    return fromUDate(ms);
}

Date Calendar::startOfDay(Date date) const {
    auto calendar = engine_->make();
    if (!calendar || !std::isfinite(date.timeIntervalSince1970())) return date;
    UErrorCode status = U_ZERO_ERROR;
    calendar->setTime(toUDate(date), status);
    calendar->set(UCAL_HOUR_OF_DAY, 0);
    calendar->set(UCAL_MINUTE, 0);
    calendar->set(UCAL_SECOND, 0);
    calendar->set(UCAL_MILLISECOND, 0);
    UDate ms = calendar->getTime(status);
    return U_SUCCESS(status) ? fromUDate(ms) : date;
}

Date Calendar::dateByAddingDays(int days, Date date) const {
    auto calendar = engine_->make();
    if (!calendar || !std::isfinite(date.timeIntervalSince1970())) return date;
    UErrorCode status = U_ZERO_ERROR;
    UDate before = toUDate(date);
    calendar->setTime(before, status);
    calendar->add(UCAL_DATE, days, status);
    UDate after = calendar->getTime(status);
    // Step by the difference so a fraction of a millisecond survives.
    return U_SUCCESS(status) ? date.dateByAddingTimeInterval((after - before) / 1000.0) : date;
}

}  // namespace foundation

// Writes dates as text and reads them back, by an ICU date pattern
// ("yyyy'-'MM'-'dd'T'HH':'mm':'ssZZZ", "EEEE d MMMM", "HH:mm") in a locale and a
// time zone. Reading is strict: the whole text must match the pattern and name
// a real date ("2015-02-30" does not). A formatter is used by one thread at a
// time; callers that need one on several threads keep one per thread.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "foundation/Date.h"
#include "foundation/Locale.h"
#include "foundation/TimeZone.h"

namespace foundation {

class DateFormatter {
public:
    // No pattern, the device's locale, the device's zone at creation.
    DateFormatter();
    ~DateFormatter();
    DateFormatter(DateFormatter&&) noexcept;
    DateFormatter& operator=(DateFormatter&&) noexcept;
    DateFormatter(const DateFormatter&) = delete;
    DateFormatter& operator=(const DateFormatter&) = delete;

    const std::string& dateFormat() const { return dateFormat_; }
    void setDateFormat(std::string pattern);
    const Locale& locale() const { return locale_; }
    void setLocale(Locale locale);
    const TimeZone& timeZone() const { return timeZone_; }
    void setTimeZone(TimeZone zone);

    // "" without a pattern, for a pattern ICU rejects, or a date that is not finite.
    std::string stringFromDate(Date date) const;
    // Nothing when the text does not match the pattern whole.
    std::optional<Date> dateFromString(std::string_view text) const;

private:
    struct Engine;
    Engine* engine() const;  // built on first use after a change; null for a bad pattern

    std::string dateFormat_;
    Locale locale_;
    TimeZone timeZone_;
    mutable std::unique_ptr<Engine> engine_;
    mutable bool engineBuilt_ = false;
};

}  // namespace foundation

// The ICU formatter behind a DateFormatter is built lazily and thrown away on
// every setter, so the three settings can be given in any order at the cost of
// one build. ICU is told to be strict: no rolling of impossible dates, no
// partial matches, so a text that does not fit the pattern parses to nothing.
#include "foundation/DateFormatter.h"

#include "foundation/ICUTimeZone.h"

#include <unicode/simpletz.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <cmath>

namespace foundation {

struct DateFormatter::Engine {
    std::unique_ptr<icu::SimpleDateFormat> format;
};

DateFormatter::DateFormatter() : locale_(Locale::current()), timeZone_(TimeZone::local()) {}
DateFormatter::~DateFormatter() = default;
DateFormatter::DateFormatter(DateFormatter&&) noexcept = default;
DateFormatter& DateFormatter::operator=(DateFormatter&&) noexcept = default;

void DateFormatter::setDateFormat(std::string pattern) {
    dateFormat_ = std::move(pattern);
    engine_.reset();
    engineBuilt_ = false;
}

void DateFormatter::setLocale(Locale locale) {
    locale_ = std::move(locale);
    engine_.reset();
    engineBuilt_ = false;
}

void DateFormatter::setTimeZone(TimeZone zone) {
    timeZone_ = std::move(zone);
    engine_.reset();
    engineBuilt_ = false;
}

DateFormatter::Engine* DateFormatter::engine() const {
    if (engineBuilt_) return engine_.get();
    engineBuilt_ = true;
    if (dateFormat_.empty()) return nullptr;
    UErrorCode status = U_ZERO_ERROR;
    auto format = std::make_unique<icu::SimpleDateFormat>(icu::UnicodeString::fromUTF8(dateFormat_),
                                                          icu::Locale(locale_.identifier().c_str()), status);
    if (U_FAILURE(status)) return nullptr;
    format->adoptTimeZone(makeICUTimeZone(timeZone_));
    format->setLenient(false);
    engine_ = std::make_unique<Engine>();
    engine_->format = std::move(format);
    return engine_.get();
}

std::string DateFormatter::stringFromDate(Date date) const {
    Engine* e = engine();
    double t = date.timeIntervalSince1970();
    if (!e || !std::isfinite(t)) return "";
    icu::UnicodeString text;
    e->format->format(t * 1000.0, text);
    std::string out;
    text.toUTF8String(out);
    return out;
}

std::optional<Date> DateFormatter::dateFromString(std::string_view text) const {
    Engine* e = engine();
    // No pattern writes a date in kilobytes; longer texts are not dates.
    if (!e || text.empty() || text.size() > 4096) return std::nullopt;
    icu::UnicodeString u = icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), int32_t(text.size())));
    icu::ParsePosition position(0);
    UDate ms = e->format->parse(u, position);
    if (position.getErrorIndex() >= 0 || position.getIndex() != u.length()) return std::nullopt;
    return Date::fromTimeIntervalSince1970(ms / 1000.0);
}

}  // namespace foundation

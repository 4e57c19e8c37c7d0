// Fixed zones carry only their offset; named zones share one ICU zone, used
// only through its const operations (safe from any thread). The device's zone
// starts as the host's and is replaced by tests and the command-line front.
#include "foundation/TimeZone.h"

#include <unicode/locid.h>
#include <unicode/simpletz.h>
#include <unicode/timezone.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace foundation {

struct TimeZone::Rules {
    std::unique_ptr<icu::TimeZone> zone;
};

namespace {

constexpr int kMaxOffset = 18 * 3600;

// "GMT", "GMT+0100", "GMT-0330", "GMT+010001": the GMT-offset names that ICU
// also reads back.
std::string fixedName(int seconds) {
    if (seconds == 0) return "GMT";
    int a = std::abs(seconds);
    char buf[32];
    if (a % 60)
        std::snprintf(buf, sizeof buf, "GMT%c%02d%02d%02d", seconds < 0 ? '-' : '+', a / 3600, a / 60 % 60, a % 60);
    else
        std::snprintf(buf, sizeof buf, "GMT%c%02d%02d", seconds < 0 ? '-' : '+', a / 3600, a / 60 % 60);
    return buf;
}

bool twoDigits(std::string_view s, int& out) {
    if (s.size() != 2 || s[0] < '0' || s[0] > '9' || s[1] < '0' || s[1] > '9') return false;
    out = (s[0] - '0') * 10 + (s[1] - '0');
    return true;
}

std::mutex gDefaultMutex;
std::optional<TimeZone> gDefault;

TimeZone hostZone() {
    std::unique_ptr<icu::TimeZone> host(icu::TimeZone::detectHostTimeZone());
    if (host) {
        icu::UnicodeString id;
        host->getID(id);
        std::string name;
        id.toUTF8String(name);
        if (auto zone = TimeZone::withName(name)) return *zone;
    }
    return TimeZone::gmt();
}

}  // namespace

std::optional<TimeZone> TimeZone::forSecondsFromGMT(int seconds) {
    if (seconds < -kMaxOffset || seconds > kMaxOffset) return std::nullopt;
    return TimeZone(fixedName(seconds), seconds);
}

std::optional<TimeZone> TimeZone::fromOffsetString(std::string_view s) {
    if (s == "Z") return gmt();
    if (s.size() < 3 || (s[0] != '+' && s[0] != '-')) return std::nullopt;
    int sign = s[0] == '-' ? -1 : 1;
    int hours = 0, minutes = 0;
    if (!twoDigits(s.substr(1, 2), hours)) return std::nullopt;
    std::string_view rest = s.substr(3);
    if (!rest.empty() && rest[0] == ':') rest.remove_prefix(1);
    if (!rest.empty() && !twoDigits(rest, minutes)) return std::nullopt;
    if (s.size() > 3 && rest.empty()) return std::nullopt;  // "+01:" is not an offset
    if (minutes > 59) return std::nullopt;
    return forSecondsFromGMT(sign * (hours * 3600 + minutes * 60));
}

std::optional<TimeZone> TimeZone::withName(std::string_view name) {
    if (name.empty()) return std::nullopt;
    if (name == "GMT") return gmt();
    icu::UnicodeString id = icu::UnicodeString::fromUTF8(icu::StringPiece(name.data(), int32_t(name.size())));
    icu::UnicodeString canonical;
    UBool isSystemID = false;
    UErrorCode status = U_ZERO_ERROR;
    icu::TimeZone::getCanonicalID(id, canonical, isSystemID, status);
    if (U_FAILURE(status) || canonical.isEmpty()) return std::nullopt;
    std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createTimeZone(id));
    if (!zone) return std::nullopt;
    // A GMT-offset name outside the database is just a fixed offset.
    if (!isSystemID) return forSecondsFromGMT(zone->getRawOffset() / 1000);
    auto rules = std::make_shared<Rules>();
    rules->zone = std::move(zone);
    return TimeZone(std::string(name), std::shared_ptr<const Rules>(std::move(rules)));
}

TimeZone TimeZone::gmt() { return TimeZone("GMT", 0); }

TimeZone TimeZone::local() {
    std::lock_guard lock(gDefaultMutex);
    if (!gDefault) gDefault = hostZone();
    return *gDefault;
}

void TimeZone::setDefault(const TimeZone& zone) {
    std::lock_guard lock(gDefaultMutex);
    gDefault = zone;
}

int TimeZone::secondsFromGMT(Date date) const {
    if (!rules_) return fixedSeconds_;
    double t = date.timeIntervalSince1970();
    if (!std::isfinite(t)) return rules_->zone->getRawOffset() / 1000;
    int32_t raw = 0, dst = 0;
    UErrorCode status = U_ZERO_ERROR;
    rules_->zone->getOffset(t * 1000.0, false, raw, dst, status);
    if (U_FAILURE(status)) return rules_->zone->getRawOffset() / 1000;
    return (raw + dst) / 1000;
}

std::optional<int> TimeZone::fixedSecondsFromGMT() const {
    if (rules_) return std::nullopt;
    return fixedSeconds_;
}

std::string TimeZone::abbreviation(Date date) const {
    icu::UnicodeString text;
    icu::Locale english("en_US");
    if (rules_) {
        int32_t raw = 0, dst = 0;
        UErrorCode status = U_ZERO_ERROR;
        double t = date.timeIntervalSince1970();
        if (std::isfinite(t)) rules_->zone->getOffset(t * 1000.0, false, raw, dst, status);
        rules_->zone->getDisplayName(dst != 0, icu::TimeZone::SHORT, english, text);
    } else {
        icu::SimpleTimeZone zone(fixedSeconds_ * 1000, icu::UnicodeString::fromUTF8(name_));
        zone.getDisplayName(false, icu::TimeZone::SHORT, english, text);
    }
    std::string out;
    text.toUTF8String(out);
    return out;
}

bool TimeZone::operator==(const TimeZone& other) const {
    if (!rules_ && !other.rules_) return fixedSeconds_ == other.fixedSeconds_;
    if (rules_ && other.rules_) return name_ == other.name_;
    return false;
}

}  // namespace foundation

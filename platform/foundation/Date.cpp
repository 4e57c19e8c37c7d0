#include "foundation/Date.h"

#include <cmath>
#include <ctime>

#include "foundation/Clock.h"

namespace foundation {

Date Date::now() { return Date(Clock::now()); }

double Date::timeIntervalSinceNow() const { return t_ - Clock::now(); }

std::string Date::description() const {
    std::time_t secs = static_cast<std::time_t>(std::floor(timeIntervalSince1970()));
    std::tm tm{};
    if (!gmtime_r(&secs, &tm)) return "(invalid date)";
    char buf[64];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S +0000", &tm);
    return buf;
}

}  // namespace foundation

// Time zones: a fixed offset from GMT (the meeting zone, taken from the "+01:00"
// of a service date) or a named zone of the tz database ("Europe/Brussels")
// whose offset follows its daylight-saving rules. A TimeZone is an immutable
// value, cheap to copy and safe to share between threads; every instance names
// a zone that exists (the factories answer nothing for unknown names or
// offsets out of range).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "foundation/Date.h"

namespace foundation {

class TimeZone {
public:
    // Offsets beyond ±18 hours give nothing.
    static std::optional<TimeZone> forSecondsFromGMT(int seconds);
    // "+01:00", "-0330", "+05", or "Z" for GMT.
    static std::optional<TimeZone> fromOffsetString(std::string_view offset);
    // A tz database name ("Europe/Brussels", "UTC") or a GMT offset name
    // ("GMT", "GMT+0100", "GMT-03:30").
    static std::optional<TimeZone> withName(std::string_view name);
    static TimeZone gmt();

    // The device's zone: the host's until set.
    static TimeZone local();
    static void setDefault(const TimeZone& zone);

    // "Europe/Brussels"; fixed zones read "GMT", "GMT+0100", "GMT-0330".
    const std::string& name() const { return name_; }
    // The offset in force at `date`.
    int secondsFromGMT(Date date) const;
    // The offset of a fixed zone; nothing for a named zone.
    std::optional<int> fixedSecondsFromGMT() const;
    // The short English name at `date`: "GMT", "GMT+1", "EST".
    std::string abbreviation(Date date) const;

    // Fixed zones are equal when their offsets are; named zones when their names are.
    bool operator==(const TimeZone& other) const;

private:
    struct Rules;
    TimeZone(std::string name, int fixedSeconds) : name_(std::move(name)), fixedSeconds_(fixedSeconds) {}
    TimeZone(std::string name, std::shared_ptr<const Rules> rules)
        : name_(std::move(name)), rules_(std::move(rules)) {}

    std::string name_;
    int fixedSeconds_ = 0;
    std::shared_ptr<const Rules> rules_;  // null for a fixed zone
};

}  // namespace foundation

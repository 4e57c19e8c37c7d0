// An instant: seconds since 2001-01-01 00:00:00 UTC.
#pragma once

#include <compare>
#include <string>

namespace foundation {

class Date {
public:
    constexpr Date() = default;
    constexpr explicit Date(double secondsSinceReferenceDate) : t_(secondsSinceReferenceDate) {}
    static Date now();
    static constexpr Date fromTimeIntervalSince1970(double s) { return Date(s - 978307200.0); }
    static constexpr Date distantPast() { return Date(-63114076800.0); }
    static constexpr Date distantFuture() { return Date(63113904000.0); }

    constexpr double timeIntervalSinceReferenceDate() const { return t_; }
    constexpr double timeIntervalSince1970() const { return t_ + 978307200.0; }
    constexpr double timeIntervalSinceDate(Date other) const { return t_ - other.t_; }
    double timeIntervalSinceNow() const;
    constexpr Date dateByAddingTimeInterval(double s) const { return Date(t_ + s); }

    constexpr auto operator<=>(const Date&) const = default;

    // "2015-01-21 08:30:00 +0000", as the platform prints a date.
    std::string description() const;

private:
    double t_ = 0;
};

}  // namespace foundation

// A locale by identifier ("en_US"): which language's names, collation order
// and calendar conventions apply. A plain value; the device's locale is
// process-wide and settable, so tests never depend on the machine's settings.
#pragma once

#include <string>

namespace foundation {

class Locale {
public:
    explicit Locale(std::string identifier) : identifier_(std::move(identifier)) {}

    const std::string& identifier() const { return identifier_; }

    // The device's locale: "en_US" until set.
    static Locale current();
    static void setCurrent(const Locale& locale);

    bool operator==(const Locale&) const = default;

private:
    std::string identifier_;
};

}  // namespace foundation

// One tracked event as it waits in the queue: its name, its own properties,
// the super-properties registered when it was tracked, and when.
#pragma once

#include <map>
#include <string>

#include "foundation/Date.h"

struct AnalyticsEvent {
    std::string name;
    std::map<std::string, std::string> properties;
    std::map<std::string, std::string> superProperties;
    foundation::Date time;

    bool operator==(const AnalyticsEvent&) const = default;
};

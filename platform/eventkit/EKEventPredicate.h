// A look-up of events: those overlapping [startDate, endDate) in the given
// calendars, or in every calendar when none are named.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "foundation/Date.h"

namespace eventkit {

struct EKEventPredicate {
    foundation::Date startDate;
    foundation::Date endDate;
    // Identifiers; none: every calendar.
    std::optional<std::vector<std::string>> calendarIdentifiers;
};

}  // namespace eventkit

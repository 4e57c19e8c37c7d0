// A row's place in a sectioned list: its section and its row in that
// section. A value, ordered section first, as tables walk their rows.
#pragma once

#include <compare>
#include <cstdint>

namespace uikit {

struct NSIndexPath {
    int64_t section = 0;
    int64_t row = 0;

    static NSIndexPath indexPathForRow(int64_t row, int64_t section) { return {section, row}; }

    auto operator<=>(const NSIndexPath&) const = default;
    bool operator==(const NSIndexPath&) const = default;
};

}  // namespace uikit

// The rows of a list in table order, for stepping from one row to the next or
// the previous one (a swipe on a details screen, the arrows). Each list keeps
// its own edge rules: whether the last row leads back to the first, whether
// an empty section is crossed, and how many rows the list needs before a step
// may come round the end (a lone row may answer itself, or nothing).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "uikit/NSIndexPath.h"

// Where a step ends, as each list has it.
struct RowRingRules {
    // Past the last row the first, and before the first the last; else
    // no step.
    bool wrap = true;
    // Step over a section without rows; else stepping into one finds nothing.
    bool skipEmptySections = false;
    // Fewer rows in all than these, and a step round the end finds nothing.
    int64_t fewestRowsToWrapNext = 1;
    int64_t fewestRowsToWrapPrevious = 1;
};

class RowRing {
public:
    using Rules = RowRingRules;

    // The list's sections hold these numbers of rows and are the table's
    // sections from `firstSection` on.
    explicit RowRing(std::vector<int64_t> rowsPerSection, int64_t firstSection = 0);
    RowRing(std::vector<int64_t> rowsPerSection, int64_t firstSection, Rules rules);
    // The same over the table's sections from 0 to `sections`, asking each
    // for its rows.
    RowRing(const std::function<int64_t(int64_t section)>& rowsIn, int64_t sections, Rules rules = Rules());

    // Whether the index path names one of the ring's rows.
    bool contains(const uikit::NSIndexPath& indexPath) const;
    // The row after `from` for the swipe direction that asks for the next
    // row, the row before it for any other; none when `from` is not a row of
    // the ring or the rules end the step there.
    std::optional<uikit::NSIndexPath> step(unsigned direction, const uikit::NSIndexPath& from) const;

private:
    int64_t rowsIn(int64_t section) const { return rowsPerSection_[static_cast<size_t>(section)]; }

    std::vector<int64_t> rowsPerSection_;
    int64_t firstSection_;
    Rules rules_;
};

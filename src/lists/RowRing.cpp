#include "lists/RowRing.h"

#include <numeric>

#include "lists/SwipeParentControllerProtocol.h"

RowRing::RowRing(std::vector<int64_t> rowsPerSection, int64_t firstSection)
    : RowRing(std::move(rowsPerSection), firstSection, Rules()) {}

RowRing::RowRing(std::vector<int64_t> rowsPerSection, int64_t firstSection, Rules rules)
    : rowsPerSection_(std::move(rowsPerSection)), firstSection_(firstSection), rules_(rules) {}

RowRing::RowRing(const std::function<int64_t(int64_t section)>& rowsIn, int64_t sections, Rules rules)
    : firstSection_(0), rules_(rules) {
    for (int64_t section = 0; section < sections; ++section) rowsPerSection_.push_back(rowsIn(section));
}

bool RowRing::contains(const uikit::NSIndexPath& indexPath) const {
    const int64_t section = indexPath.section - firstSection_;
    return section >= 0 && section < static_cast<int64_t>(rowsPerSection_.size()) && indexPath.row >= 0 &&
           indexPath.row < rowsIn(section);
}

std::optional<uikit::NSIndexPath> RowRing::step(unsigned direction, const uikit::NSIndexPath& from) const {
    if (!contains(from)) return std::nullopt;
    const bool next = direction == SwipeParentControllerProtocol::kNextRowDirection;
    const int64_t sections = static_cast<int64_t>(rowsPerSection_.size());
    const int64_t rows = std::accumulate(rowsPerSection_.begin(), rowsPerSection_.end(), int64_t{0});
    int64_t section = from.section - firstSection_;
    int64_t row = from.row + (next ? 1 : -1);
    // The section holding `from` has a row, so this ends within one round.
    while (row < 0 || row >= rowsIn(section)) {
        const bool atEnd = next ? section + 1 == sections : section == 0;
        const int64_t fewestToWrap = next ? rules_.fewestRowsToWrapNext : rules_.fewestRowsToWrapPrevious;
        if (atEnd && (!rules_.wrap || rows < fewestToWrap)) return std::nullopt;
        section = next ? (section + 1) % sections : (section + sections - 1) % sections;
        row = next ? 0 : rowsIn(section) - 1;
        if (rowsIn(section) == 0 && !rules_.skipEmptySections) return std::nullopt;
    }
    return uikit::NSIndexPath::indexPathForRow(row, section + firstSection_);
}

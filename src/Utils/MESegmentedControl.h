// A segmented control with a count badge per segment. The badges live in an
// overlay view laid over the control in the control's superview (not in the
// control), so they may stand out of its bounds; the overlay goes when the
// control leaves its superview or is destroyed. Main thread only.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "Utils/CountBadge.h"
#include "uikit/UISegmentedControl.h"

class MESegmentedControl : public uikit::UISegmentedControl {
public:
    using BadgeBlock = std::function<void(const CountBadgePtr& badge)>;

    using uikit::UISegmentedControl::UISegmentedControl;
    ~MESegmentedControl() override;

    // One number per segment (0: no badge); empty until a number is set.
    const std::vector<unsigned>& segmentBadgeNumbers() const { return segmentBadgeNumbers_; }
    // One entry per segment: its badge, or null.
    const std::vector<CountBadgePtr>& segmentBadges() const { return segmentBadges_; }
    // The overlay holding the badges; null until a number is set.
    const uikit::UIViewPtr& badgeView() const { return badgeView_; }

    // Stores the number: a badge appears for a first non-zero number, at the
    // segment's top right corner, 5 points out; 0 removes it; another number
    // resizes it to the new text. The block (which must not be empty: a
    // programming error) then restyles the badge, for every non-zero number.
    // An index past the segments is a programming error.
    void setBadgeNumber(unsigned number, size_t forSegmentAtIndex, const BadgeBlock& usingBlock);
    void setBadgeNumber(unsigned number, size_t forSegmentAtIndex);
    // 0 when none is set since creation or the last clearBadges.
    unsigned getBadgeNumberForSegmentAtIndex(size_t index) const;
    // Takes the overlay away and forgets every number and badge.
    void clearBadges();

    void willMoveToSuperview(uikit::UIView* newSuperview) override;
    std::string className() const override { return "MESegmentedControl"; }

private:
    std::vector<unsigned> segmentBadgeNumbers_;
    std::vector<CountBadgePtr> segmentBadges_;
    uikit::UIViewPtr badgeView_;
};

using MESegmentedControlPtr = std::shared_ptr<MESegmentedControl>;

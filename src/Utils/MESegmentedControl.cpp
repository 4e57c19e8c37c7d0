#include "Utils/MESegmentedControl.h"

#include <string>

#include "foundation/Exception.h"
#include "uikit/UIColor.h"

namespace {

// How far a badge stands out of its segment's top right corner.
constexpr double kBadgeOutset = 5;

}  // namespace

MESegmentedControl::~MESegmentedControl() {
    if (badgeView_) badgeView_->removeFromSuperview();
}

void MESegmentedControl::setBadgeNumber(unsigned number, size_t index, const BadgeBlock& block) {
    if (!block) foundation::raise("NSInvalidArgumentException", "a badge number needs a block");
    const size_t segments = numberOfSegments();
    if (index >= segments)
        foundation::raise("NSRangeException", "segment " + std::to_string(index) + " beyond " +
                                                  std::to_string(segments) + " segments");
    if (segmentBadgeNumbers_.empty()) {
        segmentBadgeNumbers_.assign(segments, 0);
        segmentBadges_.assign(segments, nullptr);
        badgeView_ = std::make_shared<uikit::UIView>(frame());
        badgeView_->setBackgroundColor(uikit::UIColor::clearColor());
        badgeView_->setUserInteractionEnabled(false);
        if (auto parent = superview()) parent->addSubview(badgeView_);
    }
    const unsigned old = segmentBadgeNumbers_[index];
    segmentBadgeNumbers_[index] = number;
    CountBadgePtr& badge = segmentBadges_[index];
    const std::string text = std::to_string(number);
    if (number > 0 && old == 0) {
        badge = CountBadge::countBadgeWithString(text);
        const double segmentWidth = frame().width() / double(segments);
        graphics::Rect place = badge->frame();
        place.origin = {double(index + 1) * segmentWidth - place.width() + kBadgeOutset, -kBadgeOutset};
        badge->setFrame(place);
        badgeView_->addSubview(badge);
    } else if (number == 0 && old > 0) {
        if (badge) badge->removeFromSuperview();
        badge = nullptr;
    } else if (number > 0 && number != old && badge) {
        badge->autoBadgeSizeWithString(text);
    }
    if (number > 0) block(badge);
}

void MESegmentedControl::setBadgeNumber(unsigned number, size_t index) {
    setBadgeNumber(number, index, [](const CountBadgePtr&) {});
}

unsigned MESegmentedControl::getBadgeNumberForSegmentAtIndex(size_t index) const {
    return index < segmentBadgeNumbers_.size() ? segmentBadgeNumbers_[index] : 0;
}

void MESegmentedControl::clearBadges() {
    if (badgeView_) badgeView_->removeFromSuperview();
    badgeView_ = nullptr;
    segmentBadgeNumbers_.clear();
    segmentBadges_.clear();
}

void MESegmentedControl::willMoveToSuperview(uikit::UIView* newSuperview) {
    uikit::UISegmentedControl::willMoveToSuperview(newSuperview);
    if (!newSuperview && badgeView_) badgeView_->removeFromSuperview();
}

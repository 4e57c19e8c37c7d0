// The messages tab's container: the inbox by threads and the outbox, switched
// by a segmented control that the lists put in their navigation bars inside
// a plain view of its own (containerViewSegmentedControl), over which count
// badges can be drawn per segment. Main thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/CustomSegmentedNavigationController.h"

namespace uikit {
class UIView;
}

class MessagesListSegmentedNavigationController : public CustomSegmentedNavigationController {
public:
    using CustomSegmentedNavigationController::CustomSegmentedNavigationController;

    static constexpr int64_t kMessagesBadgeTag = 888;
    static constexpr int64_t kMeetingRequestsBadgeTag = 999;
    // A badge's place over its segment: this far right per segment, then
    // back by the wide or the narrow offset, and above the control.
    static constexpr double kBadgeSegmentWidth = 40;
    static constexpr double kWideBadgeOffset = 30;
    static constexpr double kNarrowBadgeOffset = 25;
    static constexpr double kBadgeTop = -15;

    // Holds the segmented control; made with it.
    const std::shared_ptr<uikit::UIView>& containerViewSegmentedControl() const { return containerViewSegmentedControl_; }

    // The thread list (pulls refresh it), then the outbox (no pulls).
    std::vector<uikit::UIViewControllerPtr> createSegmentedControllers() override;
    // The base's control, moved to the origin of a new holder view.
    void setInitialSegmentedControl() override;

    // Each replaces its badge (the first and the second segment); 0 leaves none.
    void setMessageBadgeValue(int value);
    void setMeetingRequestsBadgeValue(int value);
    void setTheBadgeValue(int value, int64_t segmentIndex, int64_t tag);

    std::string className() const override { return "MessagesListSegmentedNavigationController"; }

private:
    void replaceBadge(int value, int64_t segmentIndex, int64_t tag);

    std::shared_ptr<uikit::UIView> containerViewSegmentedControl_;
};

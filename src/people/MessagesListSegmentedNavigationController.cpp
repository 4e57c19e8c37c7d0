#include "people/MessagesListSegmentedNavigationController.h"

#include "Utils/CountBadge.h"
#include "Utils/Utils.h"
#include "foundation/Format.h"
#include "people/MessageListOnThreadsViewController.h"
#include "people/OutboxMessagesListDelegate.h"
#include "people/OutboxMessagesListViewController.h"
#include "uikit/UISegmentedControl.h"
#include "uikit/UIStoryboard.h"

std::vector<uikit::UIViewControllerPtr> MessagesListSegmentedNavigationController::createSegmentedControllers() {
    auto storyboard = uikit::UIStoryboard::storyboardWithName(Utils::storyboardName());
    std::vector<uikit::UIViewControllerPtr> controllers;
    if (auto threads = std::dynamic_pointer_cast<MessageListOnThreadsViewController>(
            storyboard->instantiateViewControllerWithIdentifier(MessageListOnThreadsViewController::kStoryboardIdentifier))) {
        threads->setIsPullToRefreshEnabled(true);
        controllers.push_back(threads);
    }
    if (auto outbox = std::dynamic_pointer_cast<OutboxMessagesListViewController>(
            storyboard->instantiateViewControllerWithIdentifier(OutboxMessagesListViewController::kStoryboardIdentifier))) {
        outbox->setIsPullToRefreshEnabled(false);
        outbox->setListDelegate(std::make_shared<OutboxMessagesListDelegate>());
        controllers.push_back(outbox);
    }
    return controllers;
}

void MessagesListSegmentedNavigationController::setInitialSegmentedControl() {
    CustomSegmentedNavigationController::setInitialSegmentedControl();
    const auto& control = sc();
    if (!control) return;
    control->setFrame({{0, 0}, control->frame().size});
    containerViewSegmentedControl_ = std::make_shared<uikit::UIView>(control->frame());
    containerViewSegmentedControl_->addSubview(control);
}

void MessagesListSegmentedNavigationController::setMessageBadgeValue(int value) {
    replaceBadge(value, 0, kMessagesBadgeTag);
}

void MessagesListSegmentedNavigationController::setMeetingRequestsBadgeValue(int value) {
    replaceBadge(value, 1, kMeetingRequestsBadgeTag);
}

void MessagesListSegmentedNavigationController::replaceBadge(int value, int64_t segmentIndex, int64_t tag) {
    if (!containerViewSegmentedControl_) return;
    if (auto badge = containerViewSegmentedControl_->viewWithTag(tag)) badge->removeFromSuperview();
    if (value != 0) setTheBadgeValue(value, segmentIndex, tag);
}

void MessagesListSegmentedNavigationController::setTheBadgeValue(int value, int64_t segmentIndex, int64_t tag) {
    if (!containerViewSegmentedControl_) return;
    auto badge = CountBadge::countBadgeWithString(foundation::Format("%d", value));
    const double x = kBadgeSegmentWidth * static_cast<double>(segmentIndex) + kBadgeSegmentWidth -
                     (value > 9 ? kWideBadgeOffset : kNarrowBadgeOffset);
    badge->setFrame({{x, kBadgeTop}, badge->frame().size});
    badge->setTag(tag);
    containerViewSegmentedControl_->addSubview(badge);
}

// Showing a segue's destination in a popover.
#include "uikit/StoryboardPopoverSegue.h"

#include <vector>

#include "uikit/UIBarButtonItem.h"
#include "uikit/UIPopoverController.h"
#include "uikit/UIView.h"

namespace uikit {
namespace {

// The popovers segues showed; each stays here while it is on screen.
std::vector<std::shared_ptr<UIPopoverController>>& shownPopovers() {
    static std::vector<std::shared_ptr<UIPopoverController>> popovers;
    return popovers;
}

}  // namespace

StoryboardPopoverSegue::StoryboardPopoverSegue(std::string identifier, UIViewControllerPtr source,
                                               UIViewControllerPtr destination, foundation::ObjectPtr sender)
    : UIStoryboardSegue(std::move(identifier), std::move(source), std::move(destination)),
      sender_(std::move(sender)),
      popoverController_(std::make_shared<UIPopoverController>(destinationViewController())) {
    popoverController_->setSourceViewController(sourceViewController());
}

void StoryboardPopoverSegue::perform() {
    auto& shown = shownPopovers();
    std::erase_if(shown, [](const auto& popover) { return !popover->isPopoverVisible(); });

    if (auto item = std::dynamic_pointer_cast<UIBarButtonItem>(sender_)) {
        popoverController_->presentPopoverFromBarButtonItem(item, UIPopoverArrowDirectionAny, true);
    } else {
        auto view = std::dynamic_pointer_cast<UIView>(sender_);
        if (!view) view = sourceViewController()->view();
        popoverController_->presentPopoverFromRect(view->bounds(), view, UIPopoverArrowDirectionAny, true);
    }
    shown.push_back(popoverController_);
}

}  // namespace uikit

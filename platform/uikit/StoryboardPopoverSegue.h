// The popover segue: the destination is shown in a popover pointing at the
// sender — a bar button item, or a view (its bounds) — else at the source's
// view, with any arrow direction. The segue makes the popover controller
// before the source prepares, so prepareForSegue may take it (to dismiss it
// later or set its delegate); popovers shown by segues are also kept while
// they are on screen, since whoever presents a popover keeps it. The popover
// knows the segue's source, so the content can unwind to it.
#pragma once

#include <memory>

#include "uikit/UIStoryboardSegue.h"

namespace uikit {

class UIPopoverController;

class StoryboardPopoverSegue : public UIStoryboardSegue {
public:
    StoryboardPopoverSegue(std::string identifier, UIViewControllerPtr source, UIViewControllerPtr destination,
                           foundation::ObjectPtr sender);

    const std::shared_ptr<UIPopoverController>& popoverController() const { return popoverController_; }

    void perform() override;
    std::string className() const override { return "StoryboardPopoverSegue"; }

private:
    foundation::ObjectPtr sender_;
    std::shared_ptr<UIPopoverController> popoverController_;
};

}  // namespace uikit

// The unwind segue: back from the source to the first controller up its
// chain (parents, then the controllers that present them, or for a popover's
// content the source of the segue that showed it) that has the unwind
// action. Performing it dismisses whatever is presented over that
// controller's screen, then pops its navigation stack back to it.
#pragma once

#include <string>

#include "uikit/UIStoryboardSegue.h"

namespace uikit {

class StoryboardUnwindSegue : public UIStoryboardSegue {
public:
    using UIStoryboardSegue::UIStoryboardSegue;

    // The controller the unwind goes back to, or null. Going up from the
    // source, a container's other children are asked before the container,
    // the top one first; the source itself is not asked.
    static UIViewControllerPtr findDestination(UIViewController& source, const std::string& action,
                                               const foundation::ObjectPtr& sender);

    void perform() override;
    std::string className() const override { return "StoryboardUnwindSegue"; }
};

}  // namespace uikit

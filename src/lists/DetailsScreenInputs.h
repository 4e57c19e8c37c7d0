// What a list (or a swipe, or a details screen passing its own on to a page
// it opens) hands a details screen before it loads, in one value: the shown
// object's entity and identifier, the list to ask for the neighbours, the
// row there, and whether swiping is on.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "uikit/NSIndexPath.h"

class SwipeParentControllerProtocol;

struct DetailsScreenInputs {
    std::optional<std::string> selectionPropertyId;
    std::optional<std::string> entityName;
    std::shared_ptr<SwipeParentControllerProtocol> parentController;
    uikit::NSIndexPath indexPathInParentController;
    bool isSwipeEnabled = false;
};

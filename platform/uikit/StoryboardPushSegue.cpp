// Pushing a segue's destination.
#include "uikit/StoryboardPushSegue.h"

#include "foundation/Exception.h"
#include "uikit/UINavigationController.h"

namespace uikit {

void StoryboardPushSegue::perform() {
    auto navigation = sourceViewController()->navigationController();
    if (!navigation)
        foundation::raise(foundation::kInvalidArgumentException,
                          "Push segues can only be used when the source controller is managed by a "
                          "navigation controller (segue '" + identifier() + "')");
    navigation->pushViewController(destinationViewController(), true);
}

}  // namespace uikit

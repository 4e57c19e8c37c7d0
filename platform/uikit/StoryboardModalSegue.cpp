// Presenting a segue's destination.
#include "uikit/StoryboardModalSegue.h"

namespace uikit {

void StoryboardModalSegue::perform() {
    if (presentationStyle_) destinationViewController()->setModalPresentationStyle(*presentationStyle_);
    sourceViewController()->presentViewController(destinationViewController(), true);
}

}  // namespace uikit

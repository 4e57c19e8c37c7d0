// The base of every screen controller. For now it is only what a window's
// root needs to be; views, presentation and containment come with the screens
// that use them. Main thread only, like everything in this layer.
#pragma once

#include <memory>
#include <string>

#include "foundation/Object.h"

namespace uikit {

class UIViewController : public foundation::Object {
public:
    std::string className() const override { return "UIViewController"; }

    // The screen that shows the unread-message badge recounts it when the
    // messages change; callers ask first whether the screen has a badge to
    // recount (most screens have none, and then nothing is done).
    virtual bool implementsRefreshMessagesAndMeetingRequestsCounter() const { return false; }
    virtual void refreshMessagesAndMeetingRequestsCounter() {}
};

using UIViewControllerPtr = std::shared_ptr<UIViewController>;

}  // namespace uikit

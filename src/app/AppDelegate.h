// The application's delegate: what the shell reaches through the shared
// application — the window and the pad's root split view. At launch it opens
// the current account's store when the settings hold one and installs the
// device storyboard's initial scene.
#pragma once

#include <memory>

#include "uikit/UIApplicationDelegate.h"

class EventsSplitViewController;

namespace uikit {
class UIWindow;
}

class AppDelegate : public uikit::UIApplicationDelegate {
public:
    // The shared application's delegate, when it is an AppDelegate.
    static std::shared_ptr<AppDelegate> sharedAppDelegate();

    std::shared_ptr<uikit::UIWindow> window() const;
    const std::shared_ptr<EventsSplitViewController>& eventsSplitVC() const { return eventsSplitVC_; }
    void setEventsSplitVC(std::shared_ptr<EventsSplitViewController> splitViewController) {
        eventsSplitVC_ = std::move(splitViewController);
    }

    bool applicationDidFinishLaunchingWithOptions(uikit::UIApplication& application,
                                                  const foundation::Value& launchOptions) override;

private:
    std::shared_ptr<EventsSplitViewController> eventsSplitVC_;
};

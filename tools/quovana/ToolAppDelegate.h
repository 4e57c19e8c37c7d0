// The app mode's own application delegate, standing in until the app has
// one: at launch it opens the current account's store when the settings hold
// one, then shows the initial scene of the device's storyboard, or the
// gallery when asked for it or when no device storyboard is registered.
#pragma once

#include <string>

#include "uikit/UIApplicationDelegate.h"

namespace quovana {

class ToolAppDelegate : public uikit::UIApplicationDelegate {
public:
    explicit ToolAppDelegate(bool showGallery) : showGallery_(showGallery) {}

    // "Storyboard_iPhone" or "Storyboard_iPad", by the device's idiom.
    static std::string deviceStoryboardName();

    bool applicationDidFinishLaunchingWithOptions(uikit::UIApplication& application,
                                                  const foundation::Value& launchOptions) override;

private:
    bool showGallery_;
};

}  // namespace quovana

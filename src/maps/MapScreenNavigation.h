// How the map and location screens are presented by their class-wide
// navigate operations: type 0 pushes the screen (animated) on the source's
// navigation stack, type 1 makes it the pad's split-view detail in a new
// details navigation controller, any other type leaves it to the caller.
// Main thread only.
#pragma once

#include <memory>

namespace uikit {
class UIViewController;
}

namespace MapScreenNavigation {

inline constexpr int kPush = 0;
inline constexpr int kSplitViewDetail = 1;

void present(const std::shared_ptr<uikit::UIViewController>& source, int navType,
             const std::shared_ptr<uikit::UIViewController>& screen);
// What the location screens open their further screens with: the split
// view's detail on the pad, a push on the phone.
int navTypeForDevice();

}  // namespace MapScreenNavigation

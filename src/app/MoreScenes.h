// The More tab's scene and the segues leaving it: pushes on the phone; on
// the pad each destination comes inside a navigation controller that takes
// the split view's detail. Main thread only.
#pragma once

#include <string>

namespace uikit {
class UIStoryboard;
}

namespace MoreScenes {

// The scene on the pad that wraps a destination scene in a navigation controller.
std::string padNavigationSceneFor(const std::string& destinationScene);

// Adds (or replaces) the More scene and its segues, in the phone's or the pad's form.
void addScenes(uikit::UIStoryboard& storyboard, bool pad);

}  // namespace MoreScenes

// The More tab's scene and the segues leaving it: pushes on the phone; on
// the pad each destination comes inside a navigation controller that takes
// the split view's detail. Main thread only.
#pragma once

#include <memory>
#include <string>

namespace uikit {
class UIStoryboard;
class UIViewController;
}  // namespace uikit

namespace MoreScenes {

// The scene on the pad that wraps a destination scene in a navigation controller.
std::string padNavigationSceneFor(const std::string& destinationScene);

// The segue from `sourceScene` to `destinationScene`: a push on the phone;
// on the pad the destination, inside a navigation controller, takes the
// split view's detail. The More tab's destinations and the lists they open
// (partners, documents) lead on this way.
void addDestination(uikit::UIStoryboard& storyboard, const std::string& sourceScene, const char* segueIdentifier,
                    const std::string& destinationScene, bool pad);

// A segue's destination as prepareForSegue fills it: the first screen of
// the pad's navigation controller, else the destination itself.
std::shared_ptr<uikit::UIViewController> screenOfDestination(const std::shared_ptr<uikit::UIViewController>& destination);

// Adds (or replaces) the More scene and its segues, in the phone's or the pad's form.
void addScenes(uikit::UIStoryboard& storyboard, bool pad);

}  // namespace MoreScenes

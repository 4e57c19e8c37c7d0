// What a details scene of a storyboard needs to be swiped: its view with the
// two swipe recognisers (left and right) handed to the screen, and a swipe
// segue from each to a new screen of the same scene, performed as a
// CustomReplaceCurlSegue, so a swipe replaces the details by the neighbour
// its parent list finds (see DetailsScreenSupport). Every details scene of
// the application is added through here. Main thread only.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace uikit {
class SceneOutlets;
class UIStoryboard;
class UIView;
class UIViewController;
}  // namespace uikit

namespace DetailsSwipeScene {

inline constexpr const char* kSwipeSegue = "detailsSwipeSegID";
inline constexpr const char* kLeftRecognizerOutlet = "swipeLeftRecognizer";
inline constexpr const char* kRightRecognizerOutlet = "swipeRightRecognizer";

using ControllerFactory = std::function<std::shared_ptr<uikit::UIViewController>()>;
// Builds the rest of the scene's views; a plain view when not given.
using ViewBuilder = std::function<std::shared_ptr<uikit::UIView>(uikit::UIViewController& owner,
                                                                 uikit::SceneOutlets& outlets)>;

// Adds the two recognisers to the view and gives them to the details screen
// (a DetailsScreenSupport); a controller of another kind only gets them on its view.
void addSwipeRecognizers(uikit::UIViewController& details, uikit::UIView& view, uikit::SceneOutlets& outlets);
// The swipe segue of the scene, from each recogniser to the scene itself.
void addSwipeSegues(uikit::UIStoryboard& storyboard, const std::string& scene,
                    const std::string& segueIdentifier = kSwipeSegue);
// The scene, its views (with the recognisers) and its swipe segues.
void addScene(uikit::UIStoryboard& storyboard, const std::string& scene, ControllerFactory makeController,
              ViewBuilder buildView = {});

}  // namespace DetailsSwipeScene

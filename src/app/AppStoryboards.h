// The application's two storyboards, "Storyboard_iPhone" and
// "Storyboard_iPad", registered in code: the root composites (the phone's
// tab bar, the pad's split view around the tab bar without home tab), the
// pad's home navigation controller, and the scenes of the screens outside
// the tabs (loading, login, web and image, meeting switcher, filters, help,
// the More tab and what it opens: documents, partners, settings with its
// choosers, members, privacy, maps), the details screens and the session's
// pages. Main thread only.
#pragma once

#include <string>

#include "uikit/UIViewController.h"

namespace uikit {
class UIStoryboard;
struct UIStoryboardSegueDefinition;
}

namespace AppStoryboards {

inline constexpr const char* kPhoneStoryboardName = "Storyboard_iPhone";
inline constexpr const char* kPadStoryboardName = "Storyboard_iPad";

// Registers both storyboards and their scenes; again replaces the scenes.
void registerStoryboards();

// The pad's home navigation controller: the home screen in a
// DetailsNavigationController, the split view's delegate keeping the "Menu"
// button in portrait. The detail of the split view and the scene
// "SpotlightNavigationControllerForGoHome" both come from here.
uikit::UIViewControllerPtr makePadHomeNavigationController(uikit::UIStoryboard& storyboard);

// Adds the segue to the scene unless one of its identifier is there already,
// so that registering again keeps one segue per identifier.
void addSegueOnce(uikit::UIStoryboard& storyboard, const std::string& scene, uikit::UIStoryboardSegueDefinition segue);

}  // namespace AppStoryboards

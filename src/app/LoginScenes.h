// The scenes of the login screens and of the web and image screens, with the
// segues between the login screens, added to a device storyboard: the
// user-name and passcode screens trade places as the window's root, and the
// forgotten-password screen is presented modally over the user-name screen.
// Main thread only.
#pragma once

namespace uikit {
class UIStoryboard;
}

namespace LoginScenes {

void registerScenes(uikit::UIStoryboard& storyboard);

}  // namespace LoginScenes

// The scenes of a session's further pages (extra info, recommendations,
// feedback), added to a device storyboard.
#pragma once

namespace uikit {
class UIStoryboard;
}

namespace SessionPagesScenes {

void addScenes(uikit::UIStoryboard& storyboard);

}  // namespace SessionPagesScenes

// The scenes of a session's further pages (extra info, recommendations,
// feedback, structure, live video, voting, summary) and of the personal
// entry's body page, added to a device storyboard, each swipeable as the
// details scenes are.
#pragma once

namespace uikit {
class UIStoryboard;
}

namespace SessionPagesScenes {

void addScenes(uikit::UIStoryboard& storyboard);

}  // namespace SessionPagesScenes

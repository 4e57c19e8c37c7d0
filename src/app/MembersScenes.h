// The scenes of the member screens, added to a device storyboard: the
// members list, the pad's options list, the spouse's password screen and
// the privacy settings. Main thread only.
#pragma once

namespace uikit {
class UIStoryboard;
}

namespace MembersScenes {

void registerScenes(uikit::UIStoryboard& storyboard);

}  // namespace MembersScenes

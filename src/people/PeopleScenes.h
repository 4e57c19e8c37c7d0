// The scenes of the participant and organisation screens, in both
// storyboards: the participants list and the organisations list (with their
// segues to the details), the organisation details' page, the recommended participants page, and the
// custom segue from the small participant lists to a participant's details.
// The organisation details screen itself is registered with the details
// screens (DetailsScreenScenes), under its class's name.
#pragma once

namespace uikit {
class UIStoryboard;
}

namespace PeopleScenes {

void addScenes(uikit::UIStoryboard& storyboard);

}  // namespace PeopleScenes

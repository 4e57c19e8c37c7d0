// Registers the scenes of the real details screens, each under its class's
// name: ProgrammeDetailsViewController, ParticipantDetailsViewController and
// OrganizationDetailsViewController, each swipeable through its parent list.
#pragma once

namespace uikit {
class UIStoryboard;
}

namespace DetailsScreenScenes {

// Adds (or replaces) the three scenes, each with its swipe recognisers and
// swipe segue.
void addScenes(uikit::UIStoryboard& storyboard);

}  // namespace DetailsScreenScenes

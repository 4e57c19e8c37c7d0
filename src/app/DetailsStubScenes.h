// The scenes of the details screens, each under its class's name:
// ProgrammeDetailsViewController, ParticipantDetailsViewController and
// OrganizationDetailsViewController (the stand-ins among them until their
// screens exist).
#pragma once

namespace uikit {
class UIStoryboard;
}

namespace DetailsStubScenes {

// Adds (or replaces) the three scenes, each with its swipe recognisers and
// swipe segue.
void addScenes(uikit::UIStoryboard& storyboard);

}  // namespace DetailsStubScenes

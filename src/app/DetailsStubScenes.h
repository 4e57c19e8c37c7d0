// The scenes of the details screens, each under its class's name:
// ProgrammeDetailsViewController, ParticipantDetailsViewController and
// OrganizationDetailsViewController (the stand-ins among them until their
// screens exist).
#pragma once

namespace uikit {
class UIStoryboard;
}

namespace DetailsStubScenes {

// Adds (or replaces) the four scenes.
void addScenes(uikit::UIStoryboard& storyboard);

}  // namespace DetailsStubScenes

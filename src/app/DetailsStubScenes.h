// The scenes of the details screens that stand in for ones not built yet,
// each under its class's name: ProgrammeDetailsViewController,
// ParticipantDetailsViewController, OrganizationDetailsViewController and
// LocationDetailsViewController.
#pragma once

namespace uikit {
class UIStoryboard;
}

namespace DetailsStubScenes {

// Adds (or replaces) the four scenes.
void addScenes(uikit::UIStoryboard& storyboard);

}  // namespace DetailsStubScenes

// The scenes of the details screens that stand in for ones not built yet,
// each under its class's name: ProgrammeDetailsViewController,
// ParticipantDetailsViewController, OrganizationDetailsViewController,
// PartnerDetailsViewController and LocationDetailsViewController.
#pragma once

namespace uikit {
class UIStoryboard;
}

namespace DetailsStubScenes {

// Adds (or replaces) the five scenes, each with its swipe recognisers and
// swipe segue.
void addScenes(uikit::UIStoryboard& storyboard);

}  // namespace DetailsStubScenes

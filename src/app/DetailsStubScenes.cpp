#include "app/DetailsStubScenes.h"

#include "maps/LocationDetailsViewController.h"
#include "people/OrganizationDetailsViewController.h"
#include "people/ParticipantDetailsViewController.h"
#include "programme/ProgrammeDetailsViewController.h"

namespace DetailsStubScenes {

void addScenes(uikit::UIStoryboard& storyboard) {
    ProgrammeDetailsViewController::addScene(storyboard);
    ParticipantDetailsViewController::addScene(storyboard);
    OrganizationDetailsViewController::addScene(storyboard);
    LocationDetailsViewController::addScene(storyboard);
}

}  // namespace DetailsStubScenes

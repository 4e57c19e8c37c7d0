#include "app/DetailsStubScenes.h"

#include "people/OrganizationDetailsViewController.h"
#include "people/ParticipantDetailsViewController.h"
#include "programme/ProgrammeDetailsViewController.h"

namespace DetailsStubScenes {

void addScenes(uikit::UIStoryboard& storyboard) {
    ProgrammeDetailsViewController::addScene(storyboard);
    ParticipantDetailsViewController::addScene(storyboard);
    OrganizationDetailsViewController::addScene(storyboard);
}

}  // namespace DetailsStubScenes

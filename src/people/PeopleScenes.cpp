#include "people/PeopleScenes.h"

#include "people/ListParticipantsBaseViewController.h"
#include "people/OrganizationDetailsInfoViewController.h"
#include "people/OrganizationsListViewController.h"
#include "people/ParticipantDetailsViewController.h"
#include "people/ParticipantExtraInfoViewController.h"
#include "people/ParticipantRecommendationsViewController.h"
#include "people/ParticipantRowActions.h"
#include "uikit/UIStoryboard.h"

namespace PeopleScenes {

namespace {

void addParticipantDetailsSegue(uikit::UIStoryboard& storyboard, const char* scene) {
    uikit::UIStoryboardSegueDefinition segue;
    segue.identifier = ParticipantToDetailsSegue::kIdentifier;
    segue.kind = uikit::UIStoryboardSegueKind::Custom;
    segue.destination = ParticipantDetailsViewController::kStoryboardIdentifier;
    segue.segueClass = [](const std::string& identifier, const uikit::UIViewControllerPtr& source,
                          const uikit::UIViewControllerPtr& destination) {
        return std::make_shared<ParticipantToDetailsSegue>(identifier, source, destination);
    };
    storyboard.addSegue(scene, std::move(segue));
}

}  // namespace

void addScenes(uikit::UIStoryboard& storyboard) {
    OrganizationsListViewController::addScene(storyboard);
    ListParticipantsBaseViewController::addScene(storyboard);
    OrganizationDetailsInfoViewController::addScene(storyboard);
    ParticipantRecommendationsViewController::addScene(storyboard);
    ParticipantExtraInfoViewController::addScene(storyboard);
    addParticipantDetailsSegue(storyboard, OrganizationDetailsInfoViewController::kStoryboardIdentifier);
    addParticipantDetailsSegue(storyboard, ParticipantRecommendationsViewController::kStoryboardIdentifier);
}

}  // namespace PeopleScenes

#include "app/DetailsScreenScenes.h"

#include "app/AppStoryboards.h"
#include "lists/DetailsSwipeScene.h"
#include "people/OrganizationDetailsViewController.h"
#include "people/ParticipantDetailsViewController.h"
#include "programme/ProgrammeDetailsViewController.h"
#include "uikit/UIStoryboard.h"

namespace DetailsScreenScenes {

namespace {

// The screen's scene under its class's name, swipeable as every details scene is.
template <class Details>
void addSwipeableScene(uikit::UIStoryboard& storyboard) {
    DetailsSwipeScene::addScene(storyboard, Details::kStoryboardIdentifier,
                                [] { return std::make_shared<Details>(); });
}

}  // namespace

void addScenes(uikit::UIStoryboard& storyboard) {
    ProgrammeDetailsViewController::addScene(storyboard);
    addSwipeableScene<ParticipantDetailsViewController>(storyboard);
    ParticipantDetailsViewController::addSegues(storyboard, storyboard.name() == AppStoryboards::kPadStoryboardName);
    addSwipeableScene<OrganizationDetailsViewController>(storyboard);
}

}  // namespace DetailsScreenScenes

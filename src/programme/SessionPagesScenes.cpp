#include "programme/SessionPagesScenes.h"

#include "programme/PersonalEntryDetailsViewController.h"
#include "programme/ProgrammeDetailsExtraInfoViewController.h"
#include "programme/ProgrammeDetailsFeedbackViewController.h"
#include "programme/ProgrammeDetailsInsightViewController.h"
#include "programme/ProgrammeDetailsStructureViewController.h"
#include "programme/ProgrammeDetailsVideoViewController.h"
#include "programme/ProgrammeDetailsVotingViewController.h"
#include "programme/SessionRecommendationsViewController.h"

namespace SessionPagesScenes {

void addScenes(uikit::UIStoryboard& storyboard) {
    ProgrammeDetailsExtraInfoViewController::addScene(storyboard);
    SessionRecommendationsViewController::addScene(storyboard);
    ProgrammeDetailsFeedbackViewController::addScene(storyboard);
    ProgrammeDetailsStructureViewController::addScene(storyboard);
    ProgrammeDetailsVideoViewController::addScene(storyboard);
    ProgrammeDetailsVotingViewController::addScene(storyboard);
    ProgrammeDetailsInsightViewController::addScene(storyboard);
    PersonalEntryDetailsViewController::addScene(storyboard);
}

}  // namespace SessionPagesScenes

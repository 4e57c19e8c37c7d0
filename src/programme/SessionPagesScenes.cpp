#include "programme/SessionPagesScenes.h"

#include "programme/ProgrammeDetailsExtraInfoViewController.h"
#include "programme/ProgrammeDetailsFeedbackViewController.h"
#include "programme/SessionRecommendationsViewController.h"

namespace SessionPagesScenes {

void addScenes(uikit::UIStoryboard& storyboard) {
    ProgrammeDetailsExtraInfoViewController::addScene(storyboard);
    SessionRecommendationsViewController::addScene(storyboard);
    ProgrammeDetailsFeedbackViewController::addScene(storyboard);
}

}  // namespace SessionPagesScenes

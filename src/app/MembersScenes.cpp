#include "app/MembersScenes.h"

#include "app/ChangePasswordViewController.h"
#include "app/LoginDelegatorsOptionsViewController.h"
#include "app/LoginDelegatorsViewController.h"
#include "app/PrivacySettingsViewController.h"

namespace MembersScenes {

void registerScenes(uikit::UIStoryboard& storyboard) {
    LoginDelegatorsViewController::addScene(storyboard);
    LoginDelegatorsOptionsViewController::addScene(storyboard);
    ChangePasswordViewController::addScene(storyboard);
    PrivacySettingsViewController::addScene(storyboard);
}

}  // namespace MembersScenes

#include "app/LoginScenes.h"

#include "app/ImageViewController.h"
#include "app/ImageWebViewController.h"
#include "app/LoginByPasscodeViewController.h"
#include "app/LoginViewController.h"
#include "app/RetrieveViewController.h"
#include "app/WebViewController.h"
#include "uikit/UIApplication.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UIStoryboardSegue.h"
#include "uikit/UIView.h"
#include "uikit/UIWindow.h"

namespace LoginScenes {

namespace {

template <class T>
void addScene(uikit::UIStoryboard& storyboard) {
    storyboard.addScene(*T::storyboardIdentifier(), [](uikit::UIStoryboard&) { return std::make_shared<T>(); });
}

// The login screens are the window's root: switching between them replaces it.
uikit::UIStoryboardSegueDefinition rootSwap(const char* identifier, const std::string& destination) {
    return uikit::UIStoryboardSegueDefinition::custom(
        identifier, destination, [](const uikit::UIViewControllerPtr& from, const uikit::UIViewControllerPtr& target) {
            auto window = from && from->isViewLoaded() ? from->view()->window() : nullptr;
            if (!window) window = uikit::UIApplication::sharedApplication().keyWindow();
            if (window) window->setRootViewController(target);
        });
}

// Registering again keeps one segue of each identifier.
void addSegueOnce(uikit::UIStoryboard& storyboard, const std::string& scene, uikit::UIStoryboardSegueDefinition segue) {
    for (const auto& existing : storyboard.seguesOfScene(scene))
        if (existing.identifier == segue.identifier) return;
    storyboard.addSegue(scene, std::move(segue));
}

}  // namespace

void registerScenes(uikit::UIStoryboard& storyboard) {
    addScene<LoginViewController>(storyboard);
    addScene<LoginByPasscodeViewController>(storyboard);
    addScene<RetrieveViewController>(storyboard);
    addScene<WebViewController>(storyboard);
    addScene<ImageWebViewController>(storyboard);
    addScene<ImageViewController>(storyboard);

    const std::string login = *LoginViewController::storyboardIdentifier();
    const std::string passcode = *LoginByPasscodeViewController::storyboardIdentifier();
    addSegueOnce(storyboard, login, rootSwap(LoginViewController::kUsernameToPasscodeLoginSegue, passcode));
    addSegueOnce(storyboard, passcode, rootSwap(LoginByPasscodeViewController::kPasscodeToUsernameLoginSegue, login));

    uikit::UIStoryboardSegueDefinition forgot;
    forgot.identifier = LoginViewController::kForgotPasswordSegue;
    forgot.kind = uikit::UIStoryboardSegueKind::Modal;
    forgot.destination = *RetrieveViewController::storyboardIdentifier();
    addSegueOnce(storyboard, login, std::move(forgot));
}

}  // namespace LoginScenes

// The base segue, and performSegueWithIdentifier of the controllers, which
// runs the segues of the controller's storyboard scene.
#include "uikit/UIStoryboardSegue.h"

#include "foundation/Exception.h"
#include "uikit/UIStoryboard.h"

namespace uikit {

UIStoryboardSegue::UIStoryboardSegue(std::string identifier, UIViewControllerPtr source, UIViewControllerPtr destination)
    : identifier_(std::move(identifier)), source_(std::move(source)), destination_(std::move(destination)) {}

std::shared_ptr<UIStoryboardSegue> UIStoryboardSegue::segueWithIdentifier(std::string identifier,
                                                                          UIViewControllerPtr source,
                                                                          UIViewControllerPtr destination,
                                                                          PerformHandler performHandler) {
    auto segue = std::make_shared<UIStoryboardSegue>(std::move(identifier), std::move(source), std::move(destination));
    segue->performHandler_ = std::move(performHandler);
    return segue;
}

void UIStoryboardSegue::perform() {
    if (performHandler_) performHandler_();
}

void UIViewController::performSegueWithIdentifier(const std::string& identifier, const foundation::ObjectPtr& sender) {
    UIStoryboard::performSegue(*this, identifier, sender, false);
}

}  // namespace uikit

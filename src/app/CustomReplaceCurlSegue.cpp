#include "app/CustomReplaceCurlSegue.h"

#include "Utils/Utils.h"
#include "dispatch/Queue.h"
#include "uikit/UIImageView.h"
#include "uikit/UINavigationController.h"
#include "uikit/UINavigationItem.h"

namespace {

constexpr double kTransitionDelay = 0.1;
constexpr double kTransitionDuration = 1.0;

}  // namespace

CustomReplaceCurlSegue::CustomReplaceCurlSegue(std::string identifier, uikit::UIViewControllerPtr source,
                                               uikit::UIViewControllerPtr destination)
    : uikit::UIStoryboardSegue(std::move(identifier), std::move(source), std::move(destination)) {}

void CustomReplaceCurlSegue::perform() {
    const auto& source = sourceViewController();
    const auto& destination = destinationViewController();
    if (!source || !destination) return;

    auto screenshot = std::make_shared<uikit::UIImageView>(Utils::getScreenShotForView(*source->view()));
    screenshot->setFrame(source->view()->bounds());

    if (auto navigation = source->navigationController()) {
        if (Utils::isIPad()) {
            // The split view's menu button lives on the screen that shows it.
            destination->navigationItem()->setLeftBarButtonItem(source->navigationItem()->leftBarButtonItem());
            auto stack = navigation->viewControllers();
            stack.back() = destination;
            navigation->setViewControllers(std::move(stack), false);
        } else {
            navigation->popViewControllerAnimated(false);
            navigation->pushViewController(destination, false);
        }
    }

    // The new screen is in place at once, hidden under the old one's picture.
    destination->view()->addSubview(screenshot);

    std::weak_ptr<uikit::UIView> weakView = destination->view();
    std::weak_ptr<uikit::UIImageView> weakScreenshot = screenshot;
    const auto options = animationType_;
    dispatch::Queue::main()->after(kTransitionDelay, [weakView, weakScreenshot, options] {
        auto view = weakView.lock();
        if (!view) return;
        // Our view transitions apply their change at once; the old screen's
        // picture is what curls away, so it leaves when the transition ends.
        uikit::UIView::transitionWithView(view, kTransitionDuration, options, [] {}, [weakScreenshot](bool) {
            if (auto picture = weakScreenshot.lock()) picture->removeFromSuperview();
        });
    });
}

// Finding where an unwind goes, and going back there.
#include "uikit/StoryboardUnwindSegue.h"

#include <set>

#include "uikit/UINavigationController.h"
#include "uikit/UIPopoverController.h"

namespace uikit {
namespace {

UIViewControllerPtr stepUp(const UIViewController& controller) {
    if (auto parent = controller.parentViewController()) return parent;
    if (auto presenting = controller.presentingViewController()) return presenting;
    // Content a segue showed in a popover goes back through the segue's source.
    auto popover = controller.presentingPopoverController();
    return popover ? popover->sourceViewController() : nullptr;
}

}  // namespace

UIViewControllerPtr StoryboardUnwindSegue::findDestination(UIViewController& source, const std::string& action,
                                                           const foundation::ObjectPtr& sender) {
    std::set<const UIViewController*> asked{&source};
    for (auto current = stepUp(source); current; current = stepUp(*current)) {
        const auto children = current->childViewControllers();
        for (auto child = children.rbegin(); child != children.rend(); ++child) {
            if (asked.count(child->get())) continue;
            asked.insert(child->get());
            if ((*child)->canPerformUnwindSegueAction(action, source, sender)) return *child;
        }
        if (asked.count(current.get())) break;  // a loop in the chain
        asked.insert(current.get());
        if (current->canPerformUnwindSegueAction(action, source, sender)) return current;
    }
    return nullptr;
}

void StoryboardUnwindSegue::perform() {
    const auto& destination = destinationViewController();
    // What is presented over the destination's screen goes first: going up
    // from the source, the first presenting controller on that screen
    // dismisses what it presents.
    auto screenOf = [](UIViewControllerPtr controller) {
        while (auto parent = controller->parentViewController()) controller = parent;
        return controller;
    };
    const auto screen = screenOf(destination);
    for (auto current = sourceViewController(); current;) {
        if (auto parent = current->parentViewController()) {
            current = parent;
            continue;
        }
        auto presenting = current->presentingViewController();
        if (!presenting) break;
        if (screenOf(presenting) == screen) {
            presenting->dismissViewControllerAnimated(true);
            break;
        }
        current = presenting;
    }

    // Then its navigation stack goes back to it (or to the child holding it).
    UIViewControllerPtr inStack = destination;
    for (auto parent = destination->parentViewController(); parent; parent = parent->parentViewController()) {
        if (auto navigation = std::dynamic_pointer_cast<UINavigationController>(parent)) {
            if (navigation->topViewController() != inStack) navigation->popToViewController(inStack, true);
            break;
        }
        inStack = parent;
    }
}

}  // namespace uikit

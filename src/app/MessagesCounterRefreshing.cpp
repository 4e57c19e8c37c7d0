#include "app/MessagesCounterRefreshing.h"

#include "api/MessagesBadgeHook.h"
#include "uikit/UIApplication.h"
#include "uikit/UISplitViewController.h"
#include "uikit/UIWindow.h"

namespace {

std::shared_ptr<MessagesCounterRefreshing> asBadgeScreen(const uikit::UIViewControllerPtr& controller) {
    auto* screen = dynamic_cast<MessagesCounterRefreshing*>(controller.get());
    return screen ? std::shared_ptr<MessagesCounterRefreshing>(controller, screen) : nullptr;
}

}  // namespace

std::shared_ptr<MessagesCounterRefreshing> messagesCounterRefreshingScreen() {
    auto window = uikit::UIApplication::sharedApplication().keyWindow();
    auto root = window ? window->rootViewController() : nullptr;
    if (auto split = std::dynamic_pointer_cast<uikit::UISplitViewController>(root))
        return split->viewControllers().empty() ? nullptr : asBadgeScreen(split->viewControllers().front());
    return asBadgeScreen(root);
}

void installMessagesBadgeFinder() {
    MessagesBadgeHook::setFinder([]() -> MessagesBadgeHook::Recount {
        auto screen = messagesCounterRefreshingScreen();
        if (!screen) return {};
        return [screen] { screen->refreshMessagesAndMeetingRequestsCounter(); };
    });
}

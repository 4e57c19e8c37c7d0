#include "lists/DetailsNavigationController.h"

#include "app/AppDelegate.h"
#include "app/EventsSplitViewController.h"
#include "foundation/Log.h"
#include "uikit/UIApplication.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UINavigationBar.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UIPopoverController.h"
#include "uikit/UIWindow.h"

DetailsNavigationController::~DetailsNavigationController() { foundation::Log("%@", kDeallocLine); }

std::shared_ptr<DetailsNavigationController> DetailsNavigationController::self() {
    return std::dynamic_pointer_cast<DetailsNavigationController>(shared_from_this());
}

std::shared_ptr<DetailsNavigationController> DetailsNavigationController::showInSplitViewDetail(
    const uikit::UIViewControllerPtr& screen) {
    auto navigation = initWithRootViewController<DetailsNavigationController>(screen);
    installAsSplitViewDetail(navigation);
    return navigation;
}

void DetailsNavigationController::installAsSplitViewDetail(const std::shared_ptr<DetailsNavigationController>& navigation) {
    navigation->configureSplitControllerAndDelegate();
    auto window = uikit::UIApplication::sharedApplication().keyWindow();
    auto split = std::dynamic_pointer_cast<EventsSplitViewController>(window ? window->rootViewController() : nullptr);
    if (!split) return;
    split->setDelegate(nullptr);
    std::vector<uikit::UIViewControllerPtr> controllers;
    if (!split->viewControllers().empty()) controllers.push_back(split->viewControllers().front());
    controllers.push_back(navigation);
    split->setViewControllers(std::move(controllers));
    split->setDelegate(navigation);
    split->hideLeftPopoverMenu();
}

void DetailsNavigationController::awakeFromNib() {
    CustomNavigationController::awakeFromNib();
    configureSplitControllerAndDelegate();
}

void DetailsNavigationController::configureSplitControllerAndDelegate() {
    auto appDelegate = AppDelegate::sharedAppDelegate();
    std::shared_ptr<EventsSplitViewController> appSplit = appDelegate ? appDelegate->eventsSplitVC() : nullptr;
    // The button of the pane shown so far is taken over before this
    // controller becomes the delegate: a split view that hides its master
    // tells a new delegate at once, and that word must stay the last.
    if (appSplit && !appSplit->viewControllers().empty()) {
        auto shown = std::dynamic_pointer_cast<DetailsNavigationController>(appSplit->viewControllers().back());
        if (shown && shown.get() != this) {
            auto button = shown->menuBarButtonItem();
            setLeftButtonOfFirstItem(button);
            menuBarButtonItem_ = button;
        }
    }
    uikit::UISplitViewControllerPtr split = splitViewController();
    if (!split) split = appSplit;
    if (split) split->setDelegate(self());
}

void DetailsNavigationController::splitViewControllerWillHideViewController(
    uikit::UISplitViewController& splitViewController, uikit::UIViewController&,
    const std::shared_ptr<uikit::UIBarButtonItem>& barButtonItem,
    const std::shared_ptr<uikit::UIPopoverController>& popoverController) {
    if (barButtonItem) barButtonItem->setTitle(std::string(kMenuTitle));
    if (auto events = dynamic_cast<EventsSplitViewController*>(&splitViewController))
        events->setLeftPopoverMenuController(popoverController);
    setLeftButtonOfFirstItem(barButtonItem);
    menuBarButtonItem_ = barButtonItem;
}

void DetailsNavigationController::splitViewControllerWillShowViewController(
    uikit::UISplitViewController& splitViewController, uikit::UIViewController&,
    const std::shared_ptr<uikit::UIBarButtonItem>&) {
    menuBarButtonItem_ = nullptr;
    if (auto events = dynamic_cast<EventsSplitViewController*>(&splitViewController))
        events->setLeftPopoverMenuController(nullptr);
    setLeftButtonOfFirstItem(nullptr);
}

void DetailsNavigationController::setLeftButtonOfFirstItem(const std::shared_ptr<uikit::UIBarButtonItem>& item) {
    const auto& items = navigationBar()->items();
    if (!items.empty()) items.front()->setLeftBarButtonItem(item, false);
}

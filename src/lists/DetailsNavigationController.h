// The navigation controller holding a stack of details screens in the pad's
// split view, and the split view's delegate while it is the detail pane:
// in portrait it keeps the "Menu" button that opens the hidden master as a
// popover, and hands that button on to the controller that replaces it, so
// a new detail pane shows the button at once. Main thread only.
#pragma once

#include <memory>
#include <string>

#include "app/CustomNavigationController.h"
#include "app/MenuBarButtonItemProvider.h"
#include "uikit/UISplitViewController.h"

class DetailsNavigationController : public CustomNavigationController,
                                    public uikit::UISplitViewControllerDelegate,
                                    public MenuBarButtonItemProvider {
public:
    static constexpr const char* kDeallocLine = "Called dealloc details navigation view controller";
    static constexpr const char* kMenuTitle = "Menu";

    using CustomNavigationController::CustomNavigationController;
    ~DetailsNavigationController() override;

    // Puts a new details navigation controller around the screen in the
    // window's split view as its detail, makes it the split view's delegate
    // and hides the menu popover. What every screen opening details on the
    // pad calls. Answers the new controller.
    static std::shared_ptr<DetailsNavigationController> showInSplitViewDetail(const uikit::UIViewControllerPtr& screen);
    // The same for a details navigation controller made elsewhere (a
    // storyboard's pane): the split view of the window, if any, shows it.
    static void installAsSplitViewDetail(const std::shared_ptr<DetailsNavigationController>& navigation);

    // super, then configureSplitControllerAndDelegate.
    void awakeFromNib() override;
    // Its own split view, else the application delegate's: becomes its
    // delegate and takes over the menu button of the detail pane shown so far.
    void configureSplitControllerAndDelegate();

    std::shared_ptr<uikit::UIBarButtonItem> menuBarButtonItem() const override { return menuBarButtonItem_; }
    void setMenuBarButtonItem(std::shared_ptr<uikit::UIBarButtonItem> item) { menuBarButtonItem_ = std::move(item); }

    void splitViewControllerWillHideViewController(uikit::UISplitViewController& splitViewController,
                                                   uikit::UIViewController& viewController,
                                                   const std::shared_ptr<uikit::UIBarButtonItem>& barButtonItem,
                                                   const std::shared_ptr<uikit::UIPopoverController>& popoverController) override;
    void splitViewControllerWillShowViewController(uikit::UISplitViewController& splitViewController,
                                                   uikit::UIViewController& viewController,
                                                   const std::shared_ptr<uikit::UIBarButtonItem>& barButtonItem) override;

    std::string className() const override { return "DetailsNavigationController"; }

private:
    // The left button of the bar's first item, when the bar has items.
    void setLeftButtonOfFirstItem(const std::shared_ptr<uikit::UIBarButtonItem>& item);
    std::shared_ptr<DetailsNavigationController> self();

    std::shared_ptr<uikit::UIBarButtonItem> menuBarButtonItem_;
};

using DetailsNavigationControllerPtr = std::shared_ptr<DetailsNavigationController>;

// Two controllers side by side on the pad: the master in a 320-point column
// on the left and the detail taking the rest, while the interface is in
// landscape. In portrait the master is hidden and the detail takes the whole
// width; the delegate then hears will-hide with a bar button item (titled
// like the master) and a popover controller holding the master, which that
// item shows, and, on the way back to landscape, will-show with the same
// item. Will-hide is also sent when the delegate or the controllers are set
// while in portrait, as when a split view first shows. The phone never hides
// or shows the master in this way and sends nothing. Both controllers are
// children. Main thread only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "uikit/UIViewController.h"

namespace uikit {

class UIBarButtonItem;
class UIPopoverController;
class UISplitViewController;

class UISplitViewControllerDelegate {
public:
    virtual ~UISplitViewControllerDelegate() = default;
    // splitViewController:willHideViewController:withBarButtonItem:forPopoverController:
    virtual void splitViewControllerWillHideViewController(UISplitViewController& splitViewController,
                                                           UIViewController& viewController,
                                                           const std::shared_ptr<UIBarButtonItem>& barButtonItem,
                                                           const std::shared_ptr<UIPopoverController>& popoverController) {
        (void)splitViewController;
        (void)viewController;
        (void)barButtonItem;
        (void)popoverController;
    }
    // splitViewController:willShowViewController:invalidatingBarButtonItem:
    virtual void splitViewControllerWillShowViewController(UISplitViewController& splitViewController,
                                                           UIViewController& viewController,
                                                           const std::shared_ptr<UIBarButtonItem>& barButtonItem) {
        (void)splitViewController;
        (void)viewController;
        (void)barButtonItem;
    }
};

class UISplitViewController : public UIViewController {
public:
    UISplitViewController();
    ~UISplitViewController() override;

    // [master, detail].
    const std::vector<UIViewControllerPtr>& viewControllers() const { return controllers_; }
    void setViewControllers(std::vector<UIViewControllerPtr> controllers);

    std::shared_ptr<UISplitViewControllerDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(const std::shared_ptr<UISplitViewControllerDelegate>& delegate);

    // Whether a swipe shows the hidden master; YES unless set.
    bool presentsWithGesture() const { return presentsWithGesture_; }
    void setPresentsWithGesture(bool presents) { presentsWithGesture_ = presents; }

    // True while the master is hidden (the pad in portrait).
    bool isMasterHidden() const { return masterHidden_; }
    // While the master is hidden: the item that shows it and the popover holding it.
    const std::shared_ptr<UIBarButtonItem>& masterBarButtonItem() const { return barButtonItem_; }
    const std::shared_ptr<UIPopoverController>& masterPopoverController() const { return popover_; }

    void loadView() override;
    std::string className() const override { return "UISplitViewController"; }

protected:
    std::vector<UIViewControllerPtr> appearanceChildren() const override;
    void layoutContainer() override;

private:
    UIViewControllerPtr master() const { return controllers_.empty() ? nullptr : controllers_.front(); }
    UIViewControllerPtr detail() const { return controllers_.size() < 2 ? nullptr : controllers_[1]; }
    // Hides or shows the master for the interface orientation, telling the delegate.
    void updateMasterVisibility();
    void tellDelegateMasterHides();

    std::vector<UIViewControllerPtr> controllers_;
    std::weak_ptr<UISplitViewControllerDelegate> delegate_;
    bool presentsWithGesture_ = true;
    bool masterHidden_ = false;
    std::shared_ptr<UIBarButtonItem> barButtonItem_;
    std::shared_ptr<UIPopoverController> popover_;
};

using UISplitViewControllerPtr = std::shared_ptr<UISplitViewController>;

}  // namespace uikit

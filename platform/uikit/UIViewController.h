// The base of every screen controller: it owns a view made on first use,
// sits in a tree of parent and child controllers, presents other controllers
// modally, hears the four appearance callbacks, rotates with the interface and
// runs its storyboard scene's segues.
//
// Ownership: the window holds its root controller; a controller holds its
// children, its view and the controller it presents. Everything pointing the
// other way (parent, presenting controller, the view's link back) is weak, so
// dropping a window's root releases the whole tree.
//
// Appearance: each controller keeps where it is in its appearance (gone,
// appearing, shown, disappearing) and forwards begin and end of a transition
// to the children it shows, so a callback never repeats. Transitions of the
// containers and of presentation begin at once (will-disappear of the leaving
// controller, then will-appear of the arriving one) and end on the next turn
// of the main run loop (did-disappear, then did-appear), animated or not.
//
// Layout: containers place their bars and children by explicit rules (see
// UIContainerLayout.h); a controller learns the areas of its view that bars
// above it cover through containerInsets(). Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "foundation/Object.h"
#include "graphics/Geometry.h"
#include "uikit/UIEdgeInsets.h"
#include "uikit/UIInterfaceOrientation.h"
#include "uikit/UIResponder.h"

namespace uikit {

class UIView;
class UIWindow;
class UINavigationItem;
class UITabBarItem;
class UINavigationController;
class UITabBarController;
class UISplitViewController;
class UIPopoverController;
class UIStoryboard;
class UIStoryboardSegue;
class UISearchDisplayController;
class UIViewController;

using UIViewControllerPtr = std::shared_ptr<UIViewController>;

// The edges along which a controller's view runs under the bars of its containers.
using UIRectEdge = unsigned;
inline constexpr UIRectEdge UIRectEdgeNone = 0;
inline constexpr UIRectEdge UIRectEdgeTop = 1 << 0;
inline constexpr UIRectEdge UIRectEdgeLeft = 1 << 1;
inline constexpr UIRectEdge UIRectEdgeBottom = 1 << 2;
inline constexpr UIRectEdge UIRectEdgeRight = 1 << 3;
inline constexpr UIRectEdge UIRectEdgeAll = 15;

// Full screen covers the window; a form sheet is a 540×620 panel centred on
// the pad (full screen on the phone) that leaves its presenter on screen.
enum class UIModalPresentationStyle { FullScreen = 0, FormSheet = 2 };

// Where a controller is in its appearance.
enum class UIViewControllerAppearance { Disappeared, Appearing, Appeared, Disappearing };

class UIViewController : public UIResponder {
public:
    // With a nib name the view comes from that interface file.
    explicit UIViewController(std::optional<std::string> nibName = std::nullopt);
    ~UIViewController() override;

    // --- The view ---
    // Loads the view on first access (loadView, then viewDidLoad, once).
    const std::shared_ptr<UIView>& view();
    bool isViewLoaded() const { return view_ != nullptr; }
    void loadViewIfNeeded() { (void)view(); }
    // Replaces the view without loading; viewDidLoad does not run for it.
    void setView(std::shared_ptr<UIView> view);
    // The view builder's view (a storyboard scene's), else the nib's, else a
    // plain view of the screen's size. Overrides set the view with setView.
    virtual void loadView();
    virtual void viewDidLoad() {}
    const std::optional<std::string>& nibName() const { return nibName_; }

    // --- Interface files ---
    // awakeFromNib (UIResponder's) is sent only to controllers a storyboard or
    // nib made, never to those made in code.
    std::shared_ptr<UIStoryboard> storyboard() const { return storyboard_; }
    const std::string& storyboardSceneIdentifier() const { return sceneIdentifier_; }
    void setStoryboard(std::shared_ptr<UIStoryboard> storyboard, std::string sceneIdentifier);
    // Set by the storyboard or nib that made the controller.
    bool isMadeFromInterfaceFile() const { return madeFromInterfaceFile_; }
    void markMadeFromInterfaceFile() { madeFromInterfaceFile_ = true; }
    // How loadView builds the scene's views (storyboards set it).
    using ViewBuilder = std::function<std::shared_ptr<UIView>(UIViewController&)>;
    void setViewBuilder(ViewBuilder builder) { viewBuilder_ = std::move(builder); }

    // --- Title and bar items ---
    const std::optional<std::string>& title() const { return title_; }
    // Also titles the navigation item and, when it exists, the tab-bar item.
    virtual void setTitle(std::optional<std::string> title);
    // Made on first use, titled with the controller's title.
    const std::shared_ptr<UINavigationItem>& navigationItem();
    const std::shared_ptr<UITabBarItem>& tabBarItem();
    void setTabBarItem(std::shared_ptr<UITabBarItem> item);

    // --- Parents and children ---
    UIViewControllerPtr parentViewController() const { return parent_.lock(); }
    // The nearest container of that class along the parent chain (the receiver excluded).
    std::shared_ptr<UINavigationController> navigationController() const;
    std::shared_ptr<UITabBarController> tabBarController() const;
    std::shared_ptr<UISplitViewController> splitViewController() const;
    const std::vector<UIViewControllerPtr>& childViewControllers() const { return children_; }
    // Sends the child willMoveToParentViewController with the receiver (a
    // child of another parent leaves it first); the caller sends didMove.
    void addChildViewController(const UIViewControllerPtr& child);
    // Leaves the parent and sends didMoveToParentViewController with null;
    // the caller sent willMove with null before.
    void removeFromParentViewController();
    virtual void willMoveToParentViewController(UIViewController* parent) { (void)parent; }
    virtual void didMoveToParentViewController(UIViewController* parent) { (void)parent; }

    // --- Appearance ---
    virtual void viewWillAppear(bool animated) { (void)animated; }
    virtual void viewDidAppear(bool animated) { (void)animated; }
    virtual void viewWillDisappear(bool animated) { (void)animated; }
    virtual void viewDidDisappear(bool animated) { (void)animated; }
    // Begins or ends an appearance transition of the receiver and the
    // children it shows; a transition already under way or done is not
    // repeated. Containers and presentation call these; custom containers may.
    void beginAppearanceTransition(bool isAppearing, bool animated);
    void endAppearanceTransition();
    UIViewControllerAppearance appearance() const { return appearance_; }
    // Appearing or shown.
    bool isOnScreen() const {
        return appearance_ == UIViewControllerAppearance::Appearing || appearance_ == UIViewControllerAppearance::Appeared;
    }

    // --- Presentation ---
    // Shows the controller over the receiver's screen. The presented view
    // goes into the receiver's window (full screen, or a centred form sheet
    // on the pad); the completion runs when the transition has ended. A
    // receiver already presenting something presents nothing.
    void presentViewController(const UIViewControllerPtr& controller, bool animated,
                               std::function<void()> completion = {});
    // Sent to the presenting controller (or a child of it), dismisses what it
    // presents (and whatever that presents); sent to a presented controller
    // (or a child of it) that presents nothing, dismisses that controller.
    void dismissViewControllerAnimated(bool animated, std::function<void()> completion = {});
    const UIViewControllerPtr& presentedViewController() const { return presented_; }
    UIViewControllerPtr presentingViewController() const { return presenting_.lock(); }
    UIModalPresentationStyle modalPresentationStyle() const { return modalPresentationStyle_; }
    void setModalPresentationStyle(UIModalPresentationStyle style) { modalPresentationStyle_ = style; }
    // The size the controller asks of a popover showing it; none unless set.
    virtual std::optional<graphics::Size> preferredContentSize() const { return preferredContentSize_; }
    void setPreferredContentSize(graphics::Size size) { preferredContentSize_ = size; }
    // The popover showing the receiver or a container around it, while it is
    // up (screens in a popover clear its pass-through views).
    std::shared_ptr<UIPopoverController> presentingPopoverController() const;
    // The animated flag of the last transition the receiver ran (present,
    // dismiss, and a container's push, pop, stack or selection change).
    bool lastTransitionAnimated() const { return lastTransitionAnimated_; }

    // --- Layout ---
    virtual void viewWillLayoutSubviews() {}
    virtual void viewDidLayoutSubviews() {}
    // Called by the view's layout pass: containers place their bars and
    // children, then viewWillLayoutSubviews; after the view's own
    // layoutSubviews, viewDidLayoutSubviews.
    void viewLayoutWillRun();
    void viewLayoutDidRun();
    // The parts of the view that bars of the containers around it (and the
    // status bar) cover, in the view's coordinates.
    const UIEdgeInsets& containerInsets() const { return containerInsets_; }
    UIRectEdge edgesForExtendedLayout() const { return edgesForExtendedLayout_; }
    void setEdgesForExtendedLayout(UIRectEdge edges) { edgesForExtendedLayout_ = edges; }
    virtual bool prefersStatusBarHidden() const { return false; }

    // --- Rotation ---
    // The status bar's orientation: the interface's.
    UIInterfaceOrientation interfaceOrientation() const;
    // All but upside down on the phone, all on the pad.
    virtual UIInterfaceOrientationMask supportedInterfaceOrientations() const;
    virtual bool shouldAutorotate() const { return true; }
    virtual void willRotateToInterfaceOrientation(UIInterfaceOrientation orientation, double duration) {
        (void)orientation;
        (void)duration;
    }
    virtual void willAnimateRotationToInterfaceOrientation(UIInterfaceOrientation orientation, double duration) {
        (void)orientation;
        (void)duration;
    }
    virtual void didRotateFromInterfaceOrientation(UIInterfaceOrientation orientation) { (void)orientation; }
    // Turns the interface of the key window to the device's orientation when
    // the front controller and the application delegate allow it: the status
    // bar turns, the window takes the screen's new bounds, the containers lay
    // out again and the controllers on screen hear the rotation callbacks.
    // True when the interface turned.
    static bool attemptRotationToDeviceOrientation();

    // --- Segues (the storyboard scene's) ---
    // Performs the scene's segue without asking shouldPerformSegue (defined
    // with the segues, UIStoryboardSegue.cpp).
    void performSegueWithIdentifier(const std::string& identifier, const foundation::ObjectPtr& sender);
    virtual bool shouldPerformSegueWithIdentifier(const std::string& identifier, const foundation::ObjectPtr& sender) {
        (void)identifier;
        (void)sender;
        return true;
    }
    virtual void prepareForSegue(UIStoryboardSegue& segue, const foundation::ObjectPtr& sender) {
        (void)segue;
        (void)sender;
    }
    // Unwind actions by name.
    void addUnwindAction(const std::string& name, std::function<void(UIStoryboardSegue&)> action);
    bool hasUnwindAction(const std::string& name) const;
    // YES when the receiver has an action of that name.
    virtual bool canPerformUnwindSegueAction(const std::string& action, UIViewController& fromViewController,
                                             const foundation::ObjectPtr& sender);
    void performUnwindAction(const std::string& name, UIStoryboardSegue& segue);

    // --- The window ---
    // What UIWindow::setRootViewController does beyond keeping the root: the
    // new root's view fills the window, the appearance callbacks run, and
    // the old tree (its presented controllers too) leaves the window and is
    // released once its transition ended.
    static void replaceWindowRoot(UIWindow& window, UIViewControllerPtr oldRoot, const UIViewControllerPtr& newRoot);

    UIResponderPtr nextResponder() const override;
    std::string className() const override { return "UIViewController"; }
    // What a person reads on this screen that its views do not show (a
    // screen drawn by the system, such as the mail composer), as (name,
    // text) pairs in reading order, for the screen dump.
    virtual std::vector<std::pair<std::string, std::string>> screenDescriptionItems() const { return {}; }

    // The search display controller whose contents the receiver is (it sets
    // itself here when made); kept strongly, as an outlet of the screen.
    const std::shared_ptr<UISearchDisplayController>& searchDisplayController() const { return searchDisplayController_; }
    void setSearchDisplayController(std::shared_ptr<UISearchDisplayController> controller) {
        searchDisplayController_ = std::move(controller);
    }

protected:
    // The children that share the receiver's appearance: by default those
    // whose views are inside the receiver's view. Containers answer the
    // children they show.
    virtual std::vector<UIViewControllerPtr> appearanceChildren() const;
    // Containers place their bars and children's views here.
    virtual void layoutContainer() {}
    // Places a controller's view (loading it) at the frame, flexible in width
    // and height, with the insets its own layout should keep clear, and runs
    // a layout pass on it (a container child lays out its own children).
    static void placeView(UIViewController& controller, const graphics::Rect& frame, const UIEdgeInsets& insets);
    void setContainerInsets(const UIEdgeInsets& insets) { containerInsets_ = insets; }
    // Runs a transition of the receiver's children: when the receiver is on
    // screen, the leaving ones begin disappearing and the arriving ones
    // appearing at once, both end on the next turn of the main run loop,
    // then `completion` runs; off screen, only the completion runs, at once.
    void transitionChildren(std::vector<UIViewControllerPtr> leaving, std::vector<UIViewControllerPtr> arriving,
                            bool animated, std::function<void()> completion);
    void setLastTransitionAnimated(bool animated) { lastTransitionAnimated_ = animated; }
    // A container's list of controllers going from `before` to `after`: the
    // leaving ones hear willMove with null and the arriving ones become
    // children now; finishChildMoves, when the transition ended, lets go of
    // the leaving ones not back in `current` and sends the arriving ones still
    // in it didMove.
    struct ChildMoves {
        std::vector<UIViewControllerPtr> leaving;
        std::vector<UIViewControllerPtr> arriving;
    };
    ChildMoves beginChildMoves(const std::vector<UIViewControllerPtr>& before,
                               const std::vector<UIViewControllerPtr>& after);
    void finishChildMoves(const ChildMoves& moves, const std::vector<UIViewControllerPtr>& current);
    // Takes a child's view out of the receiver's view unless the child is
    // one of those shown (appearanceChildren).
    void removeChildViewUnlessShown(const UIViewControllerPtr& child);
    static bool containsController(const std::vector<UIViewControllerPtr>& controllers,
                                   const UIViewControllerPtr& controller);
    // A child that leaves without callbacks (its willMove was sent already).
    void detachChild(UIViewController& child);

private:
    friend class UIPopoverController;
    // The top controller of the presentation layer the receiver is in: its
    // outermost parent.
    UIViewController& outermostParent();
    // The controllers on screen in this tree and what it presents, parents first.
    void collectOnScreen(std::vector<UIViewControllerPtr>& out);
    void dismissPresented(bool animated, std::function<void()> completion);

    std::optional<std::string> nibName_;
    std::shared_ptr<UIView> view_;
    std::shared_ptr<UIStoryboard> storyboard_;
    std::string sceneIdentifier_;
    bool madeFromInterfaceFile_ = false;
    ViewBuilder viewBuilder_;
    std::optional<std::string> title_;
    std::shared_ptr<UINavigationItem> navigationItem_;
    std::shared_ptr<UITabBarItem> tabBarItem_;
    std::weak_ptr<UIViewController> parent_;
    std::vector<UIViewControllerPtr> children_;
    UIViewControllerAppearance appearance_ = UIViewControllerAppearance::Disappeared;
    bool appearanceAnimated_ = false;
    UIViewControllerPtr presented_;
    std::weak_ptr<UIViewController> presenting_;
    std::weak_ptr<UIPopoverController> popover_;
    UIModalPresentationStyle modalPresentationStyle_ = UIModalPresentationStyle::FullScreen;
    std::optional<graphics::Size> preferredContentSize_;
    bool lastTransitionAnimated_ = false;
    UIEdgeInsets containerInsets_;
    UIRectEdge edgesForExtendedLayout_ = UIRectEdgeAll;
    std::vector<std::pair<std::string, std::function<void(UIStoryboardSegue&)>>> unwindActions_;
    std::shared_ptr<UISearchDisplayController> searchDisplayController_;
};

}  // namespace uikit

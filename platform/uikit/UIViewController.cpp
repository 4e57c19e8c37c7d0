// A controller's own life: its view, its place among parents and children,
// its appearance, presentation and the window's root change.
#include "uikit/UIViewController.h"

#include <algorithm>

#include "foundation/Exception.h"
#include "foundation/Log.h"
#include "foundation/MainThreadChecker.h"
#include "foundation/RunLoop.h"
#include "uikit/UIApplication.h"
#include "uikit/UIContainerLayout.h"
#include "uikit/UIDevice.h"
#include "uikit/UINavigationController.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UINib.h"
#include "uikit/UIPopoverController.h"
#include "uikit/UIScreen.h"
#include "uikit/UISplitViewController.h"
#include "uikit/UITabBarController.h"
#include "uikit/UITabBarItem.h"
#include "uikit/UIView.h"
#include "uikit/UIWindow.h"

namespace uikit {
namespace {

void requireMainForViewController() {
    foundation::requireMainThread("UIViewController is used from the main thread only");
}

bool isPad() { return UIDevice::currentDevice().userInterfaceIdiom() == UIUserInterfaceIdiom::Pad; }

// The shade over the screen a form sheet comes over; it takes the taps
// outside the sheet, which do nothing.
class FormSheetDimmingView : public UIView {
public:
    explicit FormSheetDimmingView(const graphics::Rect& frame) : UIView(frame) {
        setBackgroundColor(graphics::Color::gray(0, 0.4));
        setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    }
    std::string className() const override { return "UIFormSheetDimmingView"; }
};

// The shade a sheet's view lies on leaves with it.
void removeDimmingBelow(const UIView& sheetView) {
    auto window = sheetView.superview();
    if (!window) return;
    const auto& views = window->subviews();
    for (size_t i = 1; i < views.size(); ++i) {
        if (views[i].get() != &sheetView) continue;
        if (views[i - 1]->className() == "UIFormSheetDimmingView") views[i - 1]->removeFromSuperview();
        return;
    }
}

// A form sheet is a panel only on the pad; on the phone it fills the screen.
bool isFormSheet(const UIViewController& controller) {
    return controller.modalPresentationStyle() == UIModalPresentationStyle::FormSheet && isPad();
}

template <class T>
std::shared_ptr<T> nearestAncestor(const UIViewController& controller) {
    for (auto parent = controller.parentViewController(); parent; parent = parent->parentViewController()) {
        if (auto found = std::dynamic_pointer_cast<T>(parent)) return found;
    }
    return nullptr;
}

}  // namespace

UIViewController::UIViewController(std::optional<std::string> nibName) : nibName_(std::move(nibName)) {}

UIViewController::~UIViewController() = default;

// --- The view ---

const std::shared_ptr<UIView>& UIViewController::view() {
    requireMainForViewController();
    if (!view_) {
        loadView();
        if (!view_) setView(std::make_shared<UIView>(UIScreen::mainScreen().bounds()));
        viewDidLoad();
        // A container shows its bars and children at once, even before its
        // view enters a window (a screen may host it in a view of its own).
        layoutContainer();
    }
    return view_;
}

void UIViewController::setView(std::shared_ptr<UIView> view) {
    requireMainForViewController();
    if (view_ == view) return;
    if (view_ && view_->viewController().get() == this) view_->setViewController(nullptr);
    view_ = std::move(view);
    if (view_) {
        auto self = std::dynamic_pointer_cast<UIResponder>(weak_from_this().lock());
        view_->setViewController(self);
    }
}

void UIViewController::loadView() {
    if (viewBuilder_) {
        if (auto built = viewBuilder_(*this)) setView(std::move(built));
    } else if (nibName_) {
        // The nib sets the owner's view among its outlets; an unknown nib raises.
        UINib::loadNibNamed(*nibName_, shared_from_this());
    }
}

void UIViewController::setStoryboard(std::shared_ptr<UIStoryboard> storyboard, std::string sceneIdentifier) {
    storyboard_ = std::move(storyboard);
    sceneIdentifier_ = std::move(sceneIdentifier);
}

// --- Title and bar items ---

void UIViewController::setTitle(std::optional<std::string> title) {
    requireMainForViewController();
    title_ = std::move(title);
    if (navigationItem_) navigationItem_->setTitle(title_);
    if (tabBarItem_) tabBarItem_->setTitle(title_);
}

const std::shared_ptr<UINavigationItem>& UIViewController::navigationItem() {
    if (!navigationItem_) navigationItem_ = std::make_shared<UINavigationItem>(title_);
    return navigationItem_;
}

const std::shared_ptr<UITabBarItem>& UIViewController::tabBarItem() {
    if (!tabBarItem_) tabBarItem_ = std::make_shared<UITabBarItem>(title_, nullptr, 0);
    return tabBarItem_;
}

void UIViewController::setTabBarItem(std::shared_ptr<UITabBarItem> item) {
    requireMainForViewController();
    tabBarItem_ = std::move(item);
    if (auto tabs = std::dynamic_pointer_cast<UITabBarController>(parentViewController())) tabs->updateTabBarItems();
}

// --- Parents and children ---

std::shared_ptr<UINavigationController> UIViewController::navigationController() const {
    return nearestAncestor<UINavigationController>(*this);
}

std::shared_ptr<UITabBarController> UIViewController::tabBarController() const {
    return nearestAncestor<UITabBarController>(*this);
}

std::shared_ptr<UISplitViewController> UIViewController::splitViewController() const {
    return nearestAncestor<UISplitViewController>(*this);
}

void UIViewController::addChildViewController(const UIViewControllerPtr& child) {
    requireMainForViewController();
    if (!child) return;
    if (child.get() == this) {
        foundation::raise(foundation::kInvalidArgumentException, "A controller cannot be its own child");
    }
    auto oldParent = child->parentViewController();
    if (oldParent.get() == this) return;
    if (oldParent) oldParent->detachChild(*child);
    child->willMoveToParentViewController(this);
    children_.push_back(child);
    child->parent_ = std::static_pointer_cast<UIViewController>(shared_from_this());
}

void UIViewController::removeFromParentViewController() {
    requireMainForViewController();
    auto parent = parentViewController();
    if (!parent) return;
    auto keepAlive = std::static_pointer_cast<UIViewController>(shared_from_this());
    parent->detachChild(*this);
    didMoveToParentViewController(nullptr);
}

void UIViewController::detachChild(UIViewController& child) {
    if (child.parent_.lock().get() == this) child.parent_.reset();
    std::erase_if(children_, [&](const UIViewControllerPtr& c) { return c.get() == &child; });
}

// --- Appearance ---

std::vector<UIViewControllerPtr> UIViewController::appearanceChildren() const {
    std::vector<UIViewControllerPtr> shown;
    if (!view_) return shown;
    for (const auto& child : children_) {
        if (child->isViewLoaded() && child->view_->isDescendantOfView(view_.get())) shown.push_back(child);
    }
    return shown;
}

void UIViewController::beginAppearanceTransition(bool isAppearing, bool animated) {
    requireMainForViewController();
    if (isAppearing) {
        if (isOnScreen()) return;
        loadViewIfNeeded();
        appearance_ = UIViewControllerAppearance::Appearing;
        appearanceAnimated_ = animated;
        viewWillAppear(animated);
    } else {
        if (!isOnScreen()) return;
        appearance_ = UIViewControllerAppearance::Disappearing;
        appearanceAnimated_ = animated;
        viewWillDisappear(animated);
    }
    for (const auto& child : appearanceChildren()) child->beginAppearanceTransition(isAppearing, animated);
}

void UIViewController::endAppearanceTransition() {
    requireMainForViewController();
    if (appearance_ == UIViewControllerAppearance::Appearing) {
        appearance_ = UIViewControllerAppearance::Appeared;
        viewDidAppear(appearanceAnimated_);
    } else if (appearance_ == UIViewControllerAppearance::Disappearing) {
        appearance_ = UIViewControllerAppearance::Disappeared;
        viewDidDisappear(appearanceAnimated_);
    } else {
        return;
    }
    for (const auto& child : appearanceChildren()) child->endAppearanceTransition();
}

void UIViewController::transitionChildren(std::vector<UIViewControllerPtr> leaving,
                                          std::vector<UIViewControllerPtr> arriving, bool animated,
                                          std::function<void()> completion) {
    lastTransitionAnimated_ = animated;
    if (!isOnScreen()) {
        if (completion) completion();
        return;
    }
    for (const auto& controller : leaving) controller->beginAppearanceTransition(false, animated);
    for (const auto& controller : arriving) controller->beginAppearanceTransition(true, animated);
    auto self = std::static_pointer_cast<UIViewController>(shared_from_this());
    foundation::RunLoop::main().post([self, leaving = std::move(leaving), arriving = std::move(arriving),
                                      completion = std::move(completion)] {
        for (const auto& controller : leaving) controller->endAppearanceTransition();
        for (const auto& controller : arriving) controller->endAppearanceTransition();
        if (completion) completion();
    });
}

bool UIViewController::containsController(const std::vector<UIViewControllerPtr>& controllers,
                                          const UIViewControllerPtr& controller) {
    return std::find(controllers.begin(), controllers.end(), controller) != controllers.end();
}

UIViewController::ChildMoves UIViewController::beginChildMoves(const std::vector<UIViewControllerPtr>& before,
                                                               const std::vector<UIViewControllerPtr>& after) {
    ChildMoves moves;
    for (const auto& controller : before) {
        if (!containsController(after, controller)) moves.leaving.push_back(controller);
    }
    for (const auto& controller : after) {
        if (!containsController(before, controller) && !containsController(moves.arriving, controller)) {
            moves.arriving.push_back(controller);
        }
    }
    for (const auto& controller : moves.leaving) controller->willMoveToParentViewController(nullptr);
    for (const auto& controller : moves.arriving) addChildViewController(controller);
    return moves;
}

void UIViewController::finishChildMoves(const ChildMoves& moves, const std::vector<UIViewControllerPtr>& current) {
    for (const auto& controller : moves.leaving) {
        if (!containsController(current, controller) && controller->parent_.lock().get() == this) {
            controller->removeFromParentViewController();
        }
    }
    for (const auto& controller : moves.arriving) {
        if (containsController(current, controller)) controller->didMoveToParentViewController(this);
    }
}

void UIViewController::removeChildViewUnlessShown(const UIViewControllerPtr& child) {
    if (!child || !child->view_ || !view_ || child->view_->superview() != view_) return;
    if (containsController(appearanceChildren(), child)) return;
    child->view_->removeFromSuperview();
}

// --- Layout ---

void UIViewController::placeView(UIViewController& controller, const graphics::Rect& frame,
                                 const UIEdgeInsets& insets) {
    const auto& view = controller.view();
    controller.containerInsets_ = insets;
    // Between layout passes the view follows its container's size.
    view->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    view->setFrame(frame);
    view->setNeedsLayout();
    view->layoutIfNeeded();
}

void UIViewController::viewLayoutWillRun() {
    // The window's root keeps its bars clear of the status bar while it
    // shows, though the root was placed (by a rotation, say) while a screen
    // hid it.
    if (view_ && view_->superview() && !UIApplication::sharedApplication().isStatusBarHidden()) {
        auto window = view_->window();
        if (window && window.get() == view_->superview().get() && window->rootViewController().get() == this)
            containerInsets_ = UIContainerLayout::fullScreenInsets();
    }
    layoutContainer();
    viewWillLayoutSubviews();
}

void UIViewController::viewLayoutDidRun() { viewDidLayoutSubviews(); }

// --- Presentation ---

UIViewController& UIViewController::outermostParent() {
    UIViewController* top = this;
    while (auto parent = top->parentViewController()) top = parent.get();
    return *top;
}

namespace {

// The controller and everything presented from it or from its children.
void collectPresentationChain(const UIViewControllerPtr& controller, std::vector<UIViewControllerPtr>& out) {
    out.push_back(controller);
    std::vector<UIViewControllerPtr> pending{controller};
    while (!pending.empty()) {
        auto current = pending.back();
        pending.pop_back();
        if (const auto& presented = current->presentedViewController()) collectPresentationChain(presented, out);
        for (const auto& child : current->childViewControllers()) pending.push_back(child);
    }
}

}  // namespace

void UIViewController::presentViewController(const UIViewControllerPtr& controller, bool animated,
                                             std::function<void()> completion) {
    requireMainForViewController();
    if (!controller) return;
    if (presented_) {
        foundation::Log("Attempt to present %@ on %@ which is already presenting %@", controller->className(), className(),
                        presented_->className());
        return;
    }
    if (controller->presentingViewController() || controller->parentViewController() || controller.get() == this) {
        foundation::raise(foundation::kInvalidArgumentException,
                          "Application tried to present modally an active controller " + controller->className());
    }
    auto self = std::static_pointer_cast<UIViewController>(shared_from_this());
    presented_ = controller;
    controller->presenting_ = self;
    lastTransitionAnimated_ = animated;

    const bool sheet = isFormSheet(*controller);
    auto covered = std::static_pointer_cast<UIViewController>(outermostParent().shared_from_this());
    auto window = covered->isViewLoaded() ? covered->view_->window() : nullptr;
    const bool onScreen = covered->isOnScreen();
    // A screen presented from a popover's content comes over the screen the
    // popover stood on, and the popover closes (its content disappears with it).
    bool popoverClosed = false;
    if (auto popover = presentingPopoverController(); popover && popover->isPopoverVisible()) {
        popover->dismissPopoverAnimated(animated);
        popoverClosed = true;
    }
    if (window) {
        if (sheet) window->addSubview(std::make_shared<FormSheetDimmingView>(window->bounds()));
        window->addSubview(controller->view());
        if (sheet) {
            placeView(*controller, UIContainerLayout::formSheetFrame(window->bounds()), {});
        } else {
            placeView(*controller, window->bounds(), UIContainerLayout::fullScreenInsets());
        }
    }
    const bool coveredLeaves = onScreen && !sheet && !popoverClosed;
    if (onScreen) {
        if (coveredLeaves) covered->beginAppearanceTransition(false, animated);
        controller->beginAppearanceTransition(true, animated);
    }
    foundation::RunLoop::main().post([covered, controller, window, sheet, onScreen, coveredLeaves,
                                      completion = std::move(completion)] {
        if (onScreen) {
            if (coveredLeaves) covered->endAppearanceTransition();
            controller->endAppearanceTransition();
        }
        // What a full-screen controller covers leaves the window until it comes back.
        if (!sheet && window && covered->isViewLoaded() && covered->view_->superview().get() == window.get() &&
            controller->presentingViewController()) {
            covered->view_->removeFromSuperview();
        }
        if (completion) completion();
    });
}

std::shared_ptr<UIPopoverController> UIViewController::presentingPopoverController() const {
    for (const UIViewController* controller = this; controller;) {
        if (auto popover = controller->popover_.lock()) return popover;
        auto parent = controller->parentViewController();
        controller = parent.get();
    }
    return nullptr;
}

void UIViewController::dismissViewControllerAnimated(bool animated, std::function<void()> completion) {
    requireMainForViewController();
    if (presented_) {
        dismissPresented(animated, std::move(completion));
        return;
    }
    // A container around the receiver may be the one presenting.
    for (auto ancestor = parentViewController(); ancestor; ancestor = ancestor->parentViewController()) {
        if (ancestor->presented_) {
            ancestor->dismissPresented(animated, std::move(completion));
            return;
        }
    }
    auto& top = outermostParent();
    if (auto presenting = top.presentingViewController()) {
        presenting->dismissPresented(animated, std::move(completion));
        return;
    }
    if (completion) foundation::RunLoop::main().post(std::move(completion));
}

void UIViewController::dismissPresented(bool animated, std::function<void()> completion) {
    auto controller = presented_;
    if (!controller) return;
    lastTransitionAnimated_ = animated;
    const bool sheet = isFormSheet(*controller);
    std::vector<UIViewControllerPtr> leaving;
    collectPresentationChain(controller, leaving);
    auto covered = std::static_pointer_cast<UIViewController>(outermostParent().shared_from_this());

    // The covered screen comes back beneath the lowest of what leaves that is
    // still on screen.
    std::shared_ptr<UIWindow> window;
    std::shared_ptr<UIView> lowest;
    for (const auto& gone : leaving) {
        if (gone->isViewLoaded() && (window = gone->view_->window())) {
            lowest = gone->view_;
            break;
        }
    }
    const bool coveredInWindow =
        window && (window->rootViewController() == covered || covered->presentingViewController());
    if (!sheet && coveredInWindow && covered->isViewLoaded() && !covered->view_->superview()) {
        window->insertSubviewBelowSubview(covered->view_, lowest);
        placeView(*covered, window->bounds(), covered->containerInsets_);
    }
    const bool onScreen = std::any_of(leaving.begin(), leaving.end(), [](const auto& c) { return c->isOnScreen(); });
    if (onScreen) {
        for (auto it = leaving.rbegin(); it != leaving.rend(); ++it) (*it)->beginAppearanceTransition(false, animated);
        if (!sheet && covered->isViewLoaded() && covered->view_->window()) covered->beginAppearanceTransition(true, animated);
    }
    // Everything above goes with it.
    for (const auto& gone : leaving) {
        if (auto presenter = gone->presenting_.lock()) presenter->presented_ = nullptr;
        gone->presenting_.reset();
    }
    foundation::RunLoop::main().post([covered, leaving = std::move(leaving), completion = std::move(completion)] {
        for (auto it = leaving.rbegin(); it != leaving.rend(); ++it) (*it)->endAppearanceTransition();
        covered->endAppearanceTransition();
        for (const auto& gone : leaving) {
            // Unless it was presented again meanwhile.
            if (gone->isViewLoaded() && !gone->parentViewController() && !gone->presentingViewController()) {
                removeDimmingBelow(*gone->view_);
                gone->view_->removeFromSuperview();
            }
        }
        if (completion) completion();
    });
}

// --- The window ---

void UIViewController::collectOnScreen(std::vector<UIViewControllerPtr>& out) {
    if (isOnScreen()) out.push_back(std::static_pointer_cast<UIViewController>(shared_from_this()));
    for (const auto& child : children_) child->collectOnScreen(out);
    if (presented_) presented_->collectOnScreen(out);
}

void UIViewController::replaceWindowRoot(UIWindow& window, UIViewControllerPtr oldRoot,
                                         const UIViewControllerPtr& newRoot) {
    requireMainForViewController();
    if (oldRoot == newRoot) return;
    std::vector<UIViewControllerPtr> leaving;
    if (oldRoot) collectPresentationChain(oldRoot, leaving);
    for (auto it = leaving.rbegin(); it != leaving.rend(); ++it) (*it)->beginAppearanceTransition(false, false);
    for (const auto& gone : leaving) {
        if (gone->isViewLoaded() && gone->view_->superview().get() == &window) gone->view_->removeFromSuperview();
    }
    if (newRoot) {
        window.addSubview(newRoot->view());
        placeView(*newRoot, window.bounds(), UIContainerLayout::fullScreenInsets());
        newRoot->beginAppearanceTransition(true, false);
    }
    // The old tree lives until its transition ended, then goes with this task.
    foundation::RunLoop::main().post([leaving = std::move(leaving), newRoot] {
        for (auto it = leaving.rbegin(); it != leaving.rend(); ++it) (*it)->endAppearanceTransition();
        if (newRoot) newRoot->endAppearanceTransition();
    });
}

UIResponderPtr UIViewController::nextResponder() const {
    if (view_) return view_->superview();
    return nullptr;
}

// --- Rotation ---

UIInterfaceOrientation UIViewController::interfaceOrientation() const {
    return UIApplication::sharedApplication().statusBarOrientation();
}

UIInterfaceOrientationMask UIViewController::supportedInterfaceOrientations() const {
    return isPad() ? UIInterfaceOrientationMaskAll : UIInterfaceOrientationMaskAllButUpsideDown;
}

namespace {

// The controller in front: the last one presented over the tree, else its root.
UIViewControllerPtr frontController(const UIViewControllerPtr& root) {
    if (!root) return nullptr;
    std::vector<UIViewControllerPtr> chain;
    collectPresentationChain(root, chain);
    UIViewControllerPtr front = root;
    for (const auto& controller : chain) {
        if (controller->presentingViewController() && !isFormSheet(*controller)) front = controller;
    }
    return front;
}

bool isHalfTurn(UIInterfaceOrientation from, UIInterfaceOrientation to) {
    return UIInterfaceOrientationIsPortrait(from) == UIInterfaceOrientationIsPortrait(to);
}

}  // namespace

bool UIViewController::attemptRotationToDeviceOrientation() {
    requireMainForViewController();
    auto& application = UIApplication::sharedApplication();
    const auto window = application.keyWindow();
    const auto target = UIInterfaceOrientationForDevice(UIDevice::currentDevice().orientation());
    const auto old = application.statusBarOrientation();
    if (target == UIInterfaceOrientation::Unknown || target == old) return false;
    const auto root = window->rootViewController();
    UIInterfaceOrientationMask mask = application.supportedInterfaceOrientationsForWindow(window.get());
    if (const auto front = frontController(root)) {
        if (!front->shouldAutorotate()) return false;
        mask &= front->supportedInterfaceOrientations();
    }
    if (!(mask & UIInterfaceOrientationMaskFor(target))) return false;

    const double duration = isHalfTurn(old, target) ? 0.8 : 0.4;
    std::vector<UIViewControllerPtr> shown;
    if (root) root->collectOnScreen(shown);
    for (const auto& controller : shown) controller->willRotateToInterfaceOrientation(target, duration);
    application.setStatusBarOrientation(target);
    window->setFrame(UIScreen::mainScreen().bounds());
    if (root) {
        std::vector<UIViewControllerPtr> chain;
        collectPresentationChain(root, chain);
        for (const auto& controller : chain) {
            if (!controller->isViewLoaded() || controller->view_->superview().get() != window.get()) continue;
            if (isFormSheet(*controller) && controller->presentingViewController()) {
                placeView(*controller, UIContainerLayout::formSheetFrame(window->bounds()), {});
            } else {
                placeView(*controller, window->bounds(), UIContainerLayout::fullScreenInsets());
            }
        }
    }
    for (const auto& controller : shown) controller->willAnimateRotationToInterfaceOrientation(target, duration);
    for (const auto& controller : shown) controller->didRotateFromInterfaceOrientation(old);
    return true;
}

// --- Unwind actions ---

void UIViewController::addUnwindAction(const std::string& name, std::function<void(UIStoryboardSegue&)> action) {
    std::erase_if(unwindActions_, [&](const auto& entry) { return entry.first == name; });
    unwindActions_.emplace_back(name, std::move(action));
}

bool UIViewController::hasUnwindAction(const std::string& name) const {
    return std::any_of(unwindActions_.begin(), unwindActions_.end(), [&](const auto& entry) { return entry.first == name; });
}

bool UIViewController::canPerformUnwindSegueAction(const std::string& action, UIViewController& fromViewController,
                                                   const foundation::ObjectPtr& sender) {
    (void)fromViewController;
    (void)sender;
    return hasUnwindAction(action);
}

void UIViewController::performUnwindAction(const std::string& name, UIStoryboardSegue& segue) {
    for (const auto& [actionName, action] : unwindActions_) {
        if (actionName == name) {
            if (action) action(segue);
            return;
        }
    }
}

}  // namespace uikit

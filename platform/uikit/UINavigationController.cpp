// The navigation stack: its transitions, its bar and its layout.
#include "uikit/UINavigationController.h"

#include <algorithm>

#include "foundation/Exception.h"
#include "foundation/MainThreadChecker.h"
#include "uikit/UIContainerLayout.h"
#include "uikit/UIScreen.h"

namespace uikit {
namespace {

void requireMainForNavigationController() {
    foundation::requireMainThread("UINavigationController is used from the main thread only");
}

}  // namespace

UINavigationController::UINavigationController()
    : navigationBar_(std::make_shared<UINavigationBar>(
          graphics::Rect{0, UIContainerLayout::kStatusBarHeight, UIScreen::mainScreen().bounds().width(),
                         UIContainerLayout::kNavigationBarHeight})) {
    navigationBar_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleBottomMargin);
}

UINavigationController::~UINavigationController() = default;

void UINavigationController::loadView() {
    UIViewController::loadView();
    if (!isViewLoaded()) setView(std::make_shared<UIView>(UIScreen::mainScreen().bounds()));
    auto self = std::dynamic_pointer_cast<UINavigationController>(shared_from_this());
    navigationBar_->setDelegate(self);
    view()->addSubview(navigationBar_);
}

void UINavigationController::setViewControllers(std::vector<UIViewControllerPtr> controllers, bool animated) {
    requireMainForNavigationController();
    std::erase(controllers, nullptr);
    for (size_t i = 0; i < controllers.size(); ++i) {
        if (std::find(controllers.begin() + static_cast<std::ptrdiff_t>(i) + 1, controllers.end(), controllers[i]) !=
            controllers.end()) {
            foundation::raise(foundation::kInvalidArgumentException,
                              "Pushing the same view controller instance more than once is not supported");
        }
    }
    replaceStack(std::move(controllers), animated);
}

void UINavigationController::pushViewController(const UIViewControllerPtr& controller, bool animated) {
    requireMainForNavigationController();
    if (!controller) foundation::raise(foundation::kInvalidArgumentException, "Cannot push a nil controller");
    if (containsController(stack_, controller)) {
        foundation::raise(foundation::kInvalidArgumentException,
                          "Pushing the same view controller instance more than once is not supported");
    }
    auto stack = stack_;
    stack.push_back(controller);
    replaceStack(std::move(stack), animated);
}

UIViewControllerPtr UINavigationController::popViewControllerAnimated(bool animated) {
    requireMainForNavigationController();
    if (stack_.size() < 2) return nullptr;
    auto popped = stack_.back();
    replaceStack({stack_.begin(), stack_.end() - 1}, animated);
    return popped;
}

std::vector<UIViewControllerPtr> UINavigationController::popToRootViewControllerAnimated(bool animated) {
    requireMainForNavigationController();
    if (stack_.size() < 2) return {};
    return popToViewController(stack_.front(), animated);
}

std::vector<UIViewControllerPtr> UINavigationController::popToViewController(const UIViewControllerPtr& controller,
                                                                              bool animated) {
    requireMainForNavigationController();
    auto it = std::find(stack_.begin(), stack_.end(), controller);
    if (it == stack_.end()) {
        foundation::raise(foundation::kInvalidArgumentException, "Tried to pop to a view controller that doesn't exist.");
    }
    std::vector<UIViewControllerPtr> popped(it + 1, stack_.end());
    if (popped.empty()) return popped;
    replaceStack({stack_.begin(), it + 1}, animated);
    return popped;
}

UIViewControllerPtr UINavigationController::visibleViewController() const {
    if (const auto& presented = presentedViewController()) return presented;
    return topViewController();
}

bool UINavigationController::navigationBarShouldPopItem(UINavigationBar&, UINavigationItem&) {
    // The pop resets the bar's items itself.
    popViewControllerAnimated(true);
    return false;
}

void UINavigationController::replaceStack(std::vector<UIViewControllerPtr> stack, bool animated) {
    auto self = std::static_pointer_cast<UINavigationController>(shared_from_this());
    const auto oldTop = topViewController();
    const auto moves = beginChildMoves(stack_, stack);
    stack_ = std::move(stack);

    std::vector<UINavigationItemPtr> items;
    for (const auto& controller : stack_) items.push_back(controller->navigationItem());
    navigationBar_->setItems(std::move(items), animated);

    const auto newTop = topViewController();
    if (isViewLoaded()) layoutContainer();
    std::vector<UIViewControllerPtr> leaving;
    std::vector<UIViewControllerPtr> arriving;
    if (oldTop != newTop) {
        if (oldTop) leaving.push_back(oldTop);
        if (newTop) arriving.push_back(newTop);
    }
    transitionChildren(leaving, arriving, animated, [self, oldTop, moves] {
        self->removeChildViewUnlessShown(oldTop);
        self->finishChildMoves(moves, self->stack_);
    });
}

std::vector<UIViewControllerPtr> UINavigationController::appearanceChildren() const {
    if (stack_.empty()) return {};
    return {stack_.back()};
}

void UINavigationController::layoutContainer() {
    if (!isViewLoaded()) return;
    const auto& container = view();
    const graphics::Rect bounds = container->bounds();
    const UIEdgeInsets& insets = containerInsets();
    const double barBottom = insets.top + UIContainerLayout::kNavigationBarHeight;
    navigationBar_->setFrame({0, insets.top, bounds.width(), UIContainerLayout::kNavigationBarHeight});
    if (navigationBar_->superview() != container) container->addSubview(navigationBar_);
    const auto top = topViewController();
    if (!top) return;
    const auto& topView = top->view();
    if (topView->superview() != container) container->insertSubviewBelowSubview(topView, navigationBar_);
    const UIRectEdge edges = top->edgesForExtendedLayout();
    const bool underTop = edges & UIRectEdgeTop;
    const bool underBottom = edges & UIRectEdgeBottom;
    const double y0 = underTop ? 0 : barBottom;
    const double y1 = underBottom ? bounds.height() : bounds.height() - insets.bottom;
    placeView(*top, {0, y0, bounds.width(), y1 - y0},
              {underTop ? barBottom : 0, 0, underBottom ? insets.bottom : 0, 0});
}

std::optional<graphics::Size> UINavigationController::preferredContentSize() const {
    if (auto own = UIViewController::preferredContentSize()) return own;
    auto top = topViewController();
    return top ? top->preferredContentSize() : std::nullopt;
}

}  // namespace uikit

// The tab bar controller's selection, its bar and its layout.
#include "uikit/UITabBarController.h"

#include <algorithm>

#include "foundation/MainThreadChecker.h"
#include "uikit/UIContainerLayout.h"
#include "uikit/UIScreen.h"

namespace uikit {
namespace {

void requireMainForTabBarController() {
    foundation::requireMainThread("UITabBarController is used from the main thread only");
}

}  // namespace

UITabBarController::UITabBarController() {
    const graphics::Rect screen = UIScreen::mainScreen().bounds();
    tabBar_ = std::make_shared<UITabBar>(graphics::Rect{0, screen.height() - UIContainerLayout::kTabBarHeight,
                                                        screen.width(), UIContainerLayout::kTabBarHeight});
    tabBar_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleTopMargin);
}

UITabBarController::~UITabBarController() = default;

void UITabBarController::loadView() {
    UIViewController::loadView();
    if (!isViewLoaded()) setView(std::make_shared<UIView>(UIScreen::mainScreen().bounds()));
    tabBar_->setDelegate(std::dynamic_pointer_cast<UITabBarController>(shared_from_this()));
    view()->addSubview(tabBar_);
}

UIViewControllerPtr UITabBarController::selectedViewController() const {
    if (selectedIndex_ < 0 || selectedIndex_ >= static_cast<int64_t>(controllers_.size())) return nullptr;
    return controllers_[static_cast<size_t>(selectedIndex_)];
}

void UITabBarController::setViewControllers(std::vector<UIViewControllerPtr> controllers, bool animated) {
    requireMainForTabBarController();
    std::erase(controllers, nullptr);
    auto self = std::static_pointer_cast<UITabBarController>(shared_from_this());
    const auto oldSelected = selectedViewController();
    const auto moves = beginChildMoves(controllers_, controllers);
    controllers_ = std::move(controllers);

    if (selectedIndex_ < 0 || selectedIndex_ >= static_cast<int64_t>(controllers_.size())) {
        selectedIndex_ = controllers_.empty() ? -1 : 0;
    }
    updateTabBarItems();
    const auto newSelected = selectedViewController();
    if (isViewLoaded()) layoutContainer();

    std::vector<UIViewControllerPtr> leaving;
    std::vector<UIViewControllerPtr> arriving;
    if (oldSelected != newSelected) {
        if (oldSelected) leaving.push_back(oldSelected);
        if (newSelected) arriving.push_back(newSelected);
    }
    transitionChildren(leaving, arriving, animated, [self, oldSelected, moves] {
        self->removeChildViewUnlessShown(oldSelected);
        self->finishChildMoves(moves, self->controllers_);
    });
}

void UITabBarController::updateTabBarItems() {
    std::vector<UITabBarItemPtr> items;
    for (const auto& controller : controllers_) items.push_back(controller->tabBarItem());
    tabBar_->setItems(items);
    const auto selected = selectedViewController();
    tabBar_->setSelectedItem(selected ? selected->tabBarItem() : nullptr);
}

void UITabBarController::setSelectedIndex(int64_t index) {
    requireMainForTabBarController();
    select(index, false);
}

void UITabBarController::setSelectedViewController(const UIViewControllerPtr& controller) {
    requireMainForTabBarController();
    auto it = std::find(controllers_.begin(), controllers_.end(), controller);
    if (it != controllers_.end()) select(it - controllers_.begin(), false);
}

void UITabBarController::tabBarDidSelectItem(UITabBar&, UITabBarItem& item) {
    for (size_t i = 0; i < controllers_.size(); ++i) {
        if (controllers_[i]->tabBarItem().get() == &item) {
            select(static_cast<int64_t>(i), false);
            return;
        }
    }
}

void UITabBarController::select(int64_t index, bool animated) {
    if (index < 0 || index >= static_cast<int64_t>(controllers_.size()) || index == selectedIndex_) return;
    auto self = std::static_pointer_cast<UITabBarController>(shared_from_this());
    const auto oldSelected = selectedViewController();
    selectedIndex_ = index;
    const auto newSelected = selectedViewController();
    tabBar_->setSelectedItem(newSelected->tabBarItem());
    if (isViewLoaded()) layoutContainer();
    std::vector<UIViewControllerPtr> leaving;
    if (oldSelected) leaving.push_back(oldSelected);
    transitionChildren(leaving, {newSelected}, animated,
                       [self, oldSelected] { self->removeChildViewUnlessShown(oldSelected); });
}

std::vector<UIViewControllerPtr> UITabBarController::appearanceChildren() const {
    if (auto selected = selectedViewController()) return {selected};
    return {};
}

void UITabBarController::layoutContainer() {
    if (!isViewLoaded()) return;
    const auto& container = view();
    const graphics::Rect bounds = container->bounds();
    const UIEdgeInsets& insets = containerInsets();
    const double barHeight = UIContainerLayout::kTabBarHeight;
    tabBar_->setFrame({0, bounds.height() - barHeight, bounds.width(), barHeight});
    if (tabBar_->superview() != container) container->addSubview(tabBar_);
    tabBar_->layoutSubviews();
    const auto selected = selectedViewController();
    if (!selected) return;
    const auto& selectedView = selected->view();
    if (selectedView->superview() != container) container->insertSubviewBelowSubview(selectedView, tabBar_);
    const bool underBottom = selected->edgesForExtendedLayout() & UIRectEdgeBottom;
    placeView(*selected, {0, 0, bounds.width(), underBottom ? bounds.height() : bounds.height() - barHeight},
              {insets.top, 0, underBottom ? barHeight : 0, 0});
}

}  // namespace uikit

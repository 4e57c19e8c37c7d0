// Controllers side by side behind a tab bar: the selected one's view fills
// the container (under the bar, or above it when the controller does not
// extend its bottom edge), the bar at the bottom shows each controller's
// tab-bar item. Every controller is a child. Selecting another one, in code
// or by a tap on an enabled item, runs the appearance callbacks of the two
// (see UIViewController.h). Main thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "uikit/UITabBar.h"
#include "uikit/UIViewController.h"

namespace uikit {

class UITabBarController : public UIViewController, public UITabBarDelegate {
public:
    UITabBarController();
    ~UITabBarController() override;

    const std::vector<UIViewControllerPtr>& viewControllers() const { return controllers_; }
    // Keeps the selected index when it is still valid, else selects the first.
    void setViewControllers(std::vector<UIViewControllerPtr> controllers, bool animated = false);
    // -1 while there are no controllers.
    int64_t selectedIndex() const { return selectedIndex_; }
    // An index outside the controllers is ignored.
    void setSelectedIndex(int64_t index);
    UIViewControllerPtr selectedViewController() const;
    // A controller that is not one of the receiver's is ignored.
    void setSelectedViewController(const UIViewControllerPtr& controller);

    const UITabBarPtr& tabBar() const { return tabBar_; }

    // A tap on an enabled item selects its controller.
    void tabBarDidSelectItem(UITabBar& tabBar, UITabBarItem& item) override;

    void loadView() override;
    std::string className() const override { return "UITabBarController"; }

protected:
    std::vector<UIViewControllerPtr> appearanceChildren() const override;
    void layoutContainer() override;

private:
    friend class UIViewController;
    void select(int64_t index, bool animated);
    // The bar shows the controllers' items again (one of them was replaced).
    void updateTabBarItems();

    std::vector<UIViewControllerPtr> controllers_;
    int64_t selectedIndex_ = -1;
    UITabBarPtr tabBar_;
};

using UITabBarControllerPtr = std::shared_ptr<UITabBarController>;

}  // namespace uikit

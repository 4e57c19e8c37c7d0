// A stack of controllers shown one at a time under a navigation bar: the top
// controller's view fills the container (under the bar, or below it when the
// controller does not extend its top edge), the bar shows the navigation
// items of the stack with a back button that pops. Every controller of the
// stack is a child; one leaving the stack stays a child until its transition
// ended. Push, pop and stack changes run the appearance callbacks of the old
// and new top controller (see UIViewController.h) and record the animated
// flag. Main thread only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "uikit/UINavigationBar.h"
#include "uikit/UIViewController.h"

namespace uikit {

class UINavigationController : public UIViewController, public UINavigationBarDelegate {
public:
    UINavigationController();
    ~UINavigationController() override;

    // initWithRootViewController: a controller of class C (a navigation
    // controller or a subclass, made with no arguments) with the root alone on its stack.
    template <class C = UINavigationController>
    static std::shared_ptr<C> withRootViewController(UIViewControllerPtr root) {
        auto navigation = std::make_shared<C>();
        if (root) navigation->setViewControllers({std::move(root)}, false);
        return navigation;
    }

    // The stack, root first.
    const std::vector<UIViewControllerPtr>& viewControllers() const { return stack_; }
    // Replaces the stack; a controller twice in it raises.
    void setViewControllers(std::vector<UIViewControllerPtr> controllers, bool animated);
    // Raises when the controller is already on the stack.
    void pushViewController(const UIViewControllerPtr& controller, bool animated);
    // The popped controller; nothing when only the root is left.
    UIViewControllerPtr popViewControllerAnimated(bool animated);
    // The popped controllers, lowest first.
    std::vector<UIViewControllerPtr> popToRootViewControllerAnimated(bool animated);
    // Raises when the controller is not on the stack.
    std::vector<UIViewControllerPtr> popToViewController(const UIViewControllerPtr& controller, bool animated);
    UIViewControllerPtr topViewController() const { return stack_.empty() ? nullptr : stack_.back(); }
    // What the receiver presents when it presents something, else the top controller.
    UIViewControllerPtr visibleViewController() const;
    // Its own when set, else its top controller's.
    std::optional<graphics::Size> preferredContentSize() const override;

    const UINavigationBarPtr& navigationBar() const { return navigationBar_; }

    // The bar's back button pops the top controller.
    bool navigationBarShouldPopItem(UINavigationBar& bar, UINavigationItem& item) override;

    void loadView() override;
    std::string className() const override { return "UINavigationController"; }

protected:
    std::vector<UIViewControllerPtr> appearanceChildren() const override;
    void layoutContainer() override;

private:
    void replaceStack(std::vector<UIViewControllerPtr> stack, bool animated);

    std::vector<UIViewControllerPtr> stack_;
    UINavigationBarPtr navigationBar_;
};

using UINavigationControllerPtr = std::shared_ptr<UINavigationController>;

}  // namespace uikit

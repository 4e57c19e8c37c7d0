// The navigation controller of the shell's tabs and of the pad's home
// screen: a white navigation bar tint, set when the controller is made in
// code (init, initWithRootViewController) or woken from an interface file
// (awakeFromNib), never by the bare nib initialiser, and the shell's
// rotation rules.
#pragma once

#include <memory>
#include <string>

#include "uikit/UINavigationController.h"

class CustomNavigationController : public uikit::UINavigationController {
public:
    // What an interface file's initialiser passes: only forwards, the tint
    // comes with awakeFromNib.
    struct FromInterfaceFile {};

    // init: the white tint.
    CustomNavigationController();
    // initWithNibName:bundle: only forwards.
    explicit CustomNavigationController(FromInterfaceFile);

    // initWithRootViewController: the white tint and the root alone on the stack.
    template <class C = CustomNavigationController>
    static std::shared_ptr<C> initWithRootViewController(const uikit::UIViewControllerPtr& root) {
        auto navigation = std::make_shared<C>();
        if (root) navigation->setViewControllers({root}, false);
        return navigation;
    }

    void awakeFromNib() override;
    uikit::UIInterfaceOrientationMask supportedInterfaceOrientations() const override;
    bool shouldAutorotate() const override;
    std::string className() const override { return "CustomNavigationController"; }

protected:
    void applyWhiteTint();
};

using CustomNavigationControllerPtr = std::shared_ptr<CustomNavigationController>;

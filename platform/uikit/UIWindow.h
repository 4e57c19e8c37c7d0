// A window: the view at the top of what is on screen, as large as the
// screen, holding the root view controller. The application always has a key
// window; makeKeyAndVisible hands that role to another one. Views added below
// a window learn it (UIView::window) and take the appearance proxies' values.
// Main thread only.
#pragma once

#include <memory>
#include <string>

#include "uikit/UIView.h"
#include "uikit/UIViewController.h"

namespace uikit {

class UIWindow : public UIView {
public:
    // As large as the main screen.
    UIWindow();
    explicit UIWindow(const graphics::Rect& frame);

    // None until the app shell installs its first screen. Setting a root puts
    // its view in the window (as large as the window, following its size) in
    // place of the old root's view.
    const UIViewControllerPtr& rootViewController() const { return rootViewController_; }
    void setRootViewController(UIViewControllerPtr controller);

    // Makes this window the application's key window. The window must be
    // owned by a shared_ptr.
    void makeKeyAndVisible();
    bool isKeyWindow() const;

    std::string className() const override { return "UIWindow"; }

private:
    UIViewControllerPtr rootViewController_;
};

using UIWindowPtr = std::shared_ptr<UIWindow>;

}  // namespace uikit

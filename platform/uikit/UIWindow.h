// A window: the top of what is on screen, holding the root view controller.
// The application always has a key window; makeKeyAndVisible hands that role
// to another one. Main thread only.
#pragma once

#include <memory>
#include <string>

#include "foundation/Object.h"
#include "uikit/UIViewController.h"

namespace uikit {

class UIWindow : public foundation::Object {
public:
    // None until the app shell installs its first screen.
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

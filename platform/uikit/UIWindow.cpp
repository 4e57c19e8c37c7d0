// Windows, their root controller and the key-window role.
#include "uikit/UIWindow.h"

#include "foundation/MainThreadChecker.h"
#include "uikit/UIApplication.h"
#include "uikit/UIScreen.h"

namespace uikit {

UIWindow::UIWindow() : UIWindow(UIScreen::mainScreen().bounds()) {}

UIWindow::UIWindow(const graphics::Rect& frame) : UIView(frame) {}

void UIWindow::setRootViewController(UIViewControllerPtr controller) {
    foundation::requireMainThread("UIWindow is used from the main thread only");
    if (controller == rootViewController_) return;
    UIViewControllerPtr old = std::move(rootViewController_);
    rootViewController_ = controller;
    UIViewController::replaceWindowRoot(*this, std::move(old), controller);
}

void UIWindow::makeKeyAndVisible() {
    setHidden(false);
    UIApplication::sharedApplication().setKeyWindow(std::static_pointer_cast<UIWindow>(shared_from_this()));
}

bool UIWindow::isKeyWindow() const { return UIApplication::sharedApplication().keyWindow().get() == this; }

}  // namespace uikit

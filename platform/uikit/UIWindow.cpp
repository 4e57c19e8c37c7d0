// Windows and the key-window role.
#include "uikit/UIWindow.h"

#include "foundation/MainThreadChecker.h"
#include "uikit/UIApplication.h"

namespace uikit {

void UIWindow::setRootViewController(UIViewControllerPtr controller) {
    foundation::requireMainThread("UIWindow is used from the main thread only");
    rootViewController_ = std::move(controller);
}

void UIWindow::makeKeyAndVisible() {
    UIApplication::sharedApplication().setKeyWindow(std::static_pointer_cast<UIWindow>(shared_from_this()));
}

bool UIWindow::isKeyWindow() const { return UIApplication::sharedApplication().keyWindow().get() == this; }

}  // namespace uikit

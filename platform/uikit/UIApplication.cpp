// The application object's state: key window, alert stack, opened URLs.
#include "uikit/UIApplication.h"

#include <algorithm>

#include "foundation/MainThreadChecker.h"
#include "uikit/UIAlertView.h"

namespace uikit {
namespace {

void requireMain() { foundation::requireMainThread("UIApplication is used from the main thread only"); }

}  // namespace

UIApplication::UIApplication() : keyWindow_(std::make_shared<UIWindow>()) {}

UIApplication& UIApplication::sharedApplication() {
    static UIApplication application;
    return application;
}

UIWindowPtr UIApplication::keyWindow() const {
    requireMain();
    return keyWindow_;
}

void UIApplication::setKeyWindow(UIWindowPtr window) {
    requireMain();
    if (window) keyWindow_ = std::move(window);
}

std::vector<std::shared_ptr<UIAlertView>> UIApplication::visibleAlerts() const {
    requireMain();
    return alerts_;
}

void UIApplication::alertDidAppear(std::shared_ptr<UIAlertView> alert) {
    requireMain();
    alerts_.push_back(std::move(alert));
}

void UIApplication::alertDidDisappear(const UIAlertView& alert) {
    requireMain();
    std::erase_if(alerts_, [&](const auto& shown) { return shown.get() == &alert; });
}

bool UIApplication::openURL(const foundation::URL& url) {
    requireMain();
    openedURLs_.push_back(url);
    return true;
}

std::vector<foundation::URL> UIApplication::openedURLs() const {
    requireMain();
    return openedURLs_;
}

}  // namespace uikit

// The indicator manager's handler is the one place that touches the status bar.
#include "app/NetworkActivityIndicator.h"

#include "http/QNNetworkActivityIndicatorManager.h"
#include "uikit/UIApplication.h"

void QVAShowNetworkActivityInStatusBar() {
    auto& manager = QNNetworkActivityIndicatorManager::sharedManager();
    manager.setIndicatorVisibilityHandler(
        [](bool visible) { uikit::UIApplication::sharedApplication().setNetworkActivityIndicatorVisible(visible); });
    manager.setEnabled(true);
}

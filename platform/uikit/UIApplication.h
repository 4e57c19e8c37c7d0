// The application object: the key window, the alerts on screen and the URLs
// handed to other applications. With no screen to look at, the visible
// alerts are kept as a stack (the newest on top) that tests read and tap, and
// every openURL is recorded instead of leaving the application.
// Main thread only: a call from elsewhere is a programming error and raises.
#pragma once

#include <memory>
#include <vector>

#include "foundation/URL.h"
#include "uikit/UIWindow.h"

namespace uikit {

class UIAlertView;

class UIApplication {
public:
    static UIApplication& sharedApplication();
    UIApplication(const UIApplication&) = delete;
    UIApplication& operator=(const UIApplication&) = delete;

    // Never null: a window exists from the start, without root view controller.
    UIWindowPtr keyWindow() const;

    // The alerts on screen, the oldest first; the last one is in front.
    std::vector<std::shared_ptr<UIAlertView>> visibleAlerts() const;

    // Recorded; there is no other application to open it. Always YES.
    bool openURL(const foundation::URL& url);
    std::vector<foundation::URL> openedURLs() const;

private:
    UIApplication();
    friend class UIWindow;
    friend class UIAlertView;

    void setKeyWindow(UIWindowPtr window);
    void alertDidAppear(std::shared_ptr<UIAlertView> alert);
    void alertDidDisappear(const UIAlertView& alert);

    UIWindowPtr keyWindow_;
    std::vector<std::shared_ptr<UIAlertView>> alerts_;
    std::vector<foundation::URL> openedURLs_;
};

}  // namespace uikit

// What the application tells its delegate: launch, the moves between
// foreground and background, termination; and what it asks: the
// orientations a window may take. Every method has a default that does
// nothing (launch answers YES, every orientation is allowed).
#pragma once

#include "foundation/Value.h"
#include "uikit/UIInterfaceOrientation.h"

namespace uikit {

class UIApplication;
class UIWindow;

class UIApplicationDelegate {
public:
    virtual ~UIApplicationDelegate() = default;

    // Options: a dictionary, or absent for a plain launch.
    virtual bool applicationDidFinishLaunchingWithOptions(UIApplication& application,
                                                          const foundation::Value& launchOptions) {
        (void)application;
        (void)launchOptions;
        return true;
    }
    virtual void applicationWillEnterForeground(UIApplication& application) { (void)application; }
    virtual void applicationDidBecomeActive(UIApplication& application) { (void)application; }
    virtual void applicationWillResignActive(UIApplication& application) { (void)application; }
    virtual void applicationDidEnterBackground(UIApplication& application) { (void)application; }
    virtual void applicationWillTerminate(UIApplication& application) { (void)application; }
    virtual UIInterfaceOrientationMask applicationSupportedInterfaceOrientationsForWindow(UIApplication& application,
                                                                                         UIWindow* window) {
        (void)application;
        (void)window;
        return UIInterfaceOrientationMaskAll;
    }
};

}  // namespace uikit

// The participant and organisation screens over the current store, with the
// API client pointed at a loopback test server: the phone (or, overridden,
// the pad) profile, the virtual clock, the app's storyboards, a key window
// whose root navigation controller the test fills, and the screen driver.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "../api/ApiTestSupport.h"
#include "app/AppStoryboards.h"
#include "foundation/Clock.h"
#include "foundation/RunLoop.h"
#include "support/ScreenEnvironment.h"
#include "uikit/DeviceProfile.h"
#include "uikit/ScreenDriver.h"
#include "uikit/UIApplication.h"
#include "uikit/UINavigationController.h"
#include "uikit/UIWindow.h"

namespace peopletest {

class PeopleScreensTest : public apitest::ApiTest {
protected:
    static constexpr const char* kToken = "people-token";

    virtual uikit::DeviceProfile deviceProfile() const { return uikit::DeviceProfile::iPhone6(); }

    void SetUp() override {
        ApiTest::SetUp();
        environment.enter(deviceProfile());
        AppStoryboards::registerStoryboards();
        openCurrent(kToken);
    }
    void TearDown() override {
        dismissAlerts();
        if (window) window->setRootViewController(nullptr);
        window.reset();
        navigation.reset();
        environment.leave();
        ApiTest::TearDown();
    }

    // The screen as the root of a navigation controller in a new key window.
    void show(const uikit::UIViewControllerPtr& screen) {
        navigation = uikit::UINavigationController::withRootViewController(screen);
        window = std::make_shared<uikit::UIWindow>();
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
        settle();
    }
    bool settle() { return driver.settle(); }
    template <class T>
    std::shared_ptr<T> top() const {
        return std::dynamic_pointer_cast<T>(navigation->topViewController());
    }

    uikit::ScreenDriver driver;
    ScreenEnvironment environment;
    std::shared_ptr<uikit::UINavigationController> navigation;
    std::shared_ptr<uikit::UIWindow> window;
};

}  // namespace peopletest

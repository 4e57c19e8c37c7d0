// Screens over a store on the phone: the meeting-store fixture with a reset
// application on an iPhone 6 profile, the virtual clock and the app's
// storyboards, and a key window whose root the test sets; the window is
// emptied and the application reset at the end.
#pragma once

#include <memory>

#include "Utils/MeetingStoreTestSupport.h"
#include "app/AppStoryboards.h"
#include "foundation/Clock.h"
#include "foundation/RunLoop.h"
#include "uikit/DeviceProfile.h"
#include "uikit/UIApplication.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UIWindow.h"

namespace meetingtest {

class PhoneScreenStoreTest : public MeetingStoreTest {
protected:
    void SetUp() override {
        MeetingStoreTest::SetUp();
        foundation::Clock::useVirtual(447669000);
        uikit::UIApplication::sharedApplication().resetForTests();
        uikit::DeviceProfile::apply(uikit::DeviceProfile::iPhone6());
        AppStoryboards::registerStoryboards();
    }
    void TearDown() override {
        if (window_) window_->setRootViewController(nullptr);
        window_.reset();
        releaseScreens();
        uikit::UIApplication::sharedApplication().resetForTests();
        foundation::RunLoop::main().runDueTasks();
        foundation::Clock::useReal();
        MeetingStoreTest::TearDown();
    }
    // The fixture's own screens, let go before the application is reset.
    virtual void releaseScreens() {}

    static uikit::UIStoryboard& phoneStoryboard() {
        return *uikit::UIStoryboard::storyboardWithName(AppStoryboards::kPhoneStoryboardName);
    }
    void showAsRoot(const uikit::UIViewControllerPtr& root) {
        window_ = std::make_shared<uikit::UIWindow>();
        window_->setRootViewController(root);
        window_->makeKeyAndVisible();
    }

    std::shared_ptr<uikit::UIWindow> window_;
};

}  // namespace meetingtest

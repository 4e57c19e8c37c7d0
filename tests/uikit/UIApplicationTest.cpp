// The application's lifecycle and status bar, the device profiles and the
// screen, and the keyboard's notifications.
#include <gtest/gtest.h>

#include "foundation/NotificationCenter.h"
#include "foundation/RunLoop.h"
#include "uikit/DeviceProfile.h"
#include "uikit/UIApplication.h"
#include "uikit/UIKeyboard.h"
#include "uikit/UIScreen.h"
#include "uikit/UITextField.h"

namespace {

using graphics::Rect;
using uikit::DeviceProfile;
using uikit::UIApplication;

struct Lifecycle : uikit::UIApplicationDelegate {
    std::vector<std::string> calls;
    bool applicationDidFinishLaunchingWithOptions(UIApplication&, const foundation::Value&) override {
        calls.push_back("launched");
        return true;
    }
    void applicationWillEnterForeground(UIApplication&) override { calls.push_back("will-enter-foreground"); }
    void applicationDidBecomeActive(UIApplication&) override { calls.push_back("active"); }
    void applicationWillResignActive(UIApplication&) override { calls.push_back("will-resign"); }
    void applicationDidEnterBackground(UIApplication&) override { calls.push_back("background"); }
    void applicationWillTerminate(UIApplication&) override { calls.push_back("terminate"); }
    uikit::UIInterfaceOrientationMask applicationSupportedInterfaceOrientationsForWindow(UIApplication&,
                                                                                        uikit::UIWindow*) override {
        return uikit::UIInterfaceOrientationMaskPortrait;
    }
};

// Counts the posts of one notification on the default centre.
struct Counter {
    explicit Counter(const char* name) {
        foundation::NotificationCenter::defaultCenter().addObserver(
            this,
            [this](const foundation::Notification& n) {
                ++count;
                last = n.userInfo;
            },
            name);
    }
    ~Counter() { foundation::NotificationCenter::defaultCenter().removeObserver(this); }
    int count = 0;
    foundation::Value last;
};

class Application : public ::testing::Test {
protected:
    void SetUp() override { UIApplication::sharedApplication().resetForTests(); }
    void TearDown() override {
        foundation::RunLoop::main().runDueTasks();
        UIApplication::sharedApplication().resetForTests();
    }
};

TEST_F(Application, LaunchBecomesActiveOnTheNextTurnAndMovesThroughTheBackground) {
    auto& app = UIApplication::sharedApplication();
    auto delegate = std::make_shared<Lifecycle>();
    Counter foreground(uikit::UIApplicationWillEnterForegroundNotification);
    Counter memory(uikit::UIApplicationDidReceiveMemoryWarningNotification);

    app.launch(delegate);
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"launched"}));
    EXPECT_EQ(app.applicationState(), uikit::UIApplicationState::Inactive);
    foundation::RunLoop::main().runDueTasks();
    EXPECT_EQ(delegate->calls.back(), "active");
    EXPECT_EQ(app.applicationState(), uikit::UIApplicationState::Active);

    delegate->calls.clear();
    app.enterBackground();
    EXPECT_EQ(app.applicationState(), uikit::UIApplicationState::Background);
    app.enterForeground();
    app.terminate();
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"will-resign", "background", "will-enter-foreground", "active",
                                                        "terminate"}));
    EXPECT_EQ(foreground.count, 1);
    app.simulateMemoryWarning();
    EXPECT_EQ(memory.count, 1);
    EXPECT_EQ(app.supportedInterfaceOrientationsForWindow(app.keyWindow().get()),
              uikit::UIInterfaceOrientationMaskPortrait);

    app.resetForTests();
    EXPECT_EQ(app.delegate(), nullptr);
    EXPECT_EQ(app.supportedInterfaceOrientationsForWindow(nullptr), uikit::UIInterfaceOrientationMaskAll);
}

TEST_F(Application, StatusBarAndRecordedRegistrations) {
    auto& app = UIApplication::sharedApplication();
    EXPECT_EQ(app.statusBarFrame(), Rect(0, 0, 375, 20));
    app.setStatusBarStyle(uikit::UIStatusBarStyle::LightContent, true);
    app.setStatusBarHidden(true, uikit::UIStatusBarAnimation::Slide);
    EXPECT_EQ(app.statusBarStyle(), uikit::UIStatusBarStyle::LightContent);
    EXPECT_EQ(app.statusBarHiddenAnimation(), uikit::UIStatusBarAnimation::Slide);
    EXPECT_EQ(app.statusBarFrame(), Rect::zero());
    app.setNetworkActivityIndicatorVisible(true);
    EXPECT_TRUE(app.isNetworkActivityIndicatorVisible());
    EXPECT_FALSE(app.registeredUserNotificationTypes());
    app.registerUserNotificationSettings(uikit::UIUserNotificationTypeAlert | uikit::UIUserNotificationTypeBadge);
    EXPECT_EQ(app.registeredUserNotificationTypes(), 5u);

    auto window = app.keyWindow();
    app.resetForTests();
    EXPECT_NE(app.keyWindow(), window);
    EXPECT_FALSE(app.isStatusBarHidden());
    EXPECT_FALSE(app.isNetworkActivityIndicatorVisible());
}

TEST_F(Application, ProfilesSetTheDeviceTheScreenAndTheKeyWindow) {
    auto& device = uikit::UIDevice::currentDevice();
    auto& screen = uikit::UIScreen::mainScreen();
    EXPECT_EQ(device.systemVersion(), "9.3");

    DeviceProfile::apply(DeviceProfile::iPhone6Plus());
    EXPECT_EQ(screen.bounds(), Rect(0, 0, 414, 736));
    EXPECT_EQ(screen.scale(), 3);
    EXPECT_EQ(UIApplication::sharedApplication().keyWindow()->frame(), Rect(0, 0, 414, 736));
    EXPECT_EQ(device.model(), "iPhone");

    auto pad = DeviceProfile::iPad();
    pad.orientation = uikit::UIDeviceOrientation::LandscapeLeft;
    pad.systemVersion = "8.4";
    DeviceProfile::apply(pad);
    EXPECT_EQ(device.userInterfaceIdiom(), uikit::UIUserInterfaceIdiom::Pad);
    EXPECT_EQ(device.model(), "iPad");
    EXPECT_EQ(foundation::NumberParsing::doubleValue(device.systemVersion()), 8.4);
    EXPECT_EQ(UIApplication::sharedApplication().statusBarOrientation(), uikit::UIInterfaceOrientation::LandscapeRight);
    EXPECT_EQ(screen.bounds(), Rect(0, 0, 1024, 768));
    EXPECT_EQ(UIApplication::sharedApplication().keyWindow()->frame(), Rect(0, 0, 1024, 768));
    EXPECT_EQ(DeviceProfile::current().screenSize, (graphics::Size{768, 1024}));

    Counter rotations(uikit::UIDeviceOrientationDidChangeNotification);
    device.rotateToOrientation(uikit::UIDeviceOrientation::Portrait);
    device.rotateToOrientation(uikit::UIDeviceOrientation::Portrait);
    EXPECT_EQ(device.orientation(), uikit::UIDeviceOrientation::Portrait);
    EXPECT_EQ(rotations.count, 1);

    // The model follows the idiom unless a profile or a caller names another.
    DeviceProfile::apply(DeviceProfile::iPhone5());
    device.setUserInterfaceIdiom(uikit::UIUserInterfaceIdiom::Pad);
    EXPECT_EQ(device.model(), "iPad");
    device.setModel("iPod touch");
    EXPECT_EQ(device.model(), "iPod touch");
}

TEST_F(Application, ATextFieldTakingTheKeyboardAnnouncesItsFrameAtTheBottomOfTheScreen) {
    Counter shows(uikit::UIKeyboardWillShowNotification);
    Counter hides(uikit::UIKeyboardWillHideNotification);
    DeviceProfile::apply(DeviceProfile::iPhone6());
    auto input = std::make_shared<uikit::UITextField>(Rect(0, 0, 200, 30));
    ASSERT_TRUE(input->becomeFirstResponder());
    ASSERT_EQ(shows.count, 1);
    EXPECT_EQ(uikit::UIKeyboard::rectFromUserInfo(shows.last, uikit::UIKeyboardFrameEndUserInfoKey),
              Rect(0, 451, 375, 216));
    EXPECT_EQ(shows.last[uikit::UIKeyboardAnimationDurationUserInfoKey].doubleValue(), 0.25);
    EXPECT_EQ(uikit::UIKeyboard::shownFrame(), Rect(0, 451, 375, 216));
    input->resignFirstResponder();
    EXPECT_EQ(hides.count, 1);
    EXPECT_EQ(uikit::UIKeyboard::rectFromUserInfo(hides.last, uikit::UIKeyboardFrameEndUserInfoKey),
              Rect(0, 451, 375, 216));
    EXPECT_FALSE(uikit::UIKeyboard::shownFrame());

    // The pad's keyboard is taller, more so in landscape; a test's own
    // notification moves the shown frame too.
    DeviceProfile::apply(DeviceProfile::iPad());
    EXPECT_EQ(uikit::UIKeyboard::frameForCurrentDevice(), Rect(0, 760, 768, 264));
    UIApplication::sharedApplication().setStatusBarOrientation(uikit::UIInterfaceOrientation::LandscapeLeft);
    EXPECT_EQ(uikit::UIKeyboard::frameForCurrentDevice(), Rect(0, 416, 1024, 352));
    foundation::Value::Dictionary info{{uikit::UIKeyboardFrameEndUserInfoKey, uikit::UIKeyboard::rectValue({0, 1, 2, 3})}};
    foundation::NotificationCenter::defaultCenter().postNotificationName(uikit::UIKeyboardWillShowNotification, {},
                                                                         foundation::Value(info));
    EXPECT_EQ(uikit::UIKeyboard::shownFrame(), Rect(0, 1, 2, 3));
}

}  // namespace

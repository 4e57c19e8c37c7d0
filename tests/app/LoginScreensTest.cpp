// The login, passcode and forgotten-password screens against the local
// meeting service, on the virtual clock: the form as shown, the refusals
// before any request, the service's answers (400, 500, success) each handled
// after the progress alert has gone, the reset-password request, and the
// demo-row picker kept in step with the service's demo account.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "api/LocalServiceTest.h"
#include "Utils/CustomTextField.h"
#include "analytics/AnalyticsUtils.h"
#include "app/AppDelegate.h"
#include "app/AppStoryboards.h"
#include "app/LgUser.h"
#include "app/LoadingViewController.h"
#include "app/LoginByPasscodeViewController.h"
#include "app/LoginScenes.h"
#include "app/LoginUsersPicker.h"
#include "app/LoginViewController.h"
#include "app/RetrieveViewController.h"
#include "foundation/Clock.h"
#include "graphics/Bitmap.h"
#include "messageui/MFMailComposeViewController.h"
#include "model/QVAUserAccount.h"
#include "uikit/AlertStack.h"
#include "uikit/DeviceProfile.h"
#include "uikit/UIDevice.h"
#include "uikit/ScreenDriver.h"
#include "uikit/ScreenRenderer.h"
#include "uikit/UIWebView.h"
#include "uikit/UIApplication.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UITableView.h"
#include "uikit/UITableViewCell.h"
#include "uikit/UIWindow.h"

namespace {

constexpr double kLoginStartInstant = 447669000;
constexpr const char* kLoginPath = "/api/v1/authentication/login";
constexpr const char* kResetPath = "/api/v1/authentication/reset_password";

struct AlertSeen {
    std::optional<std::string> title;
    std::optional<std::string> message;
    std::vector<std::string> buttons;
};

class LoginScreensTest : public apitest::LocalServiceTest {
protected:
    virtual uikit::DeviceProfile deviceProfile() const { return uikit::DeviceProfile::iPhone6(); }

    void SetUp() override {
        LocalServiceTest::SetUp();
        foundation::Clock::useVirtual(kLoginStartInstant);
        app().resetForTests();
        uikit::DeviceProfile::apply(deviceProfile());
        uikit::AlertStack::shared().reset();
        AppStoryboards::registerStoryboards();
        for (const char* name : {AppStoryboards::kPhoneStoryboardName, AppStoryboards::kPadStoryboardName})
            LoginScenes::registerScenes(*uikit::UIStoryboard::storyboardWithName(name));
        AnalyticsUtils::initializeAnalytics();
        delegate = std::make_shared<AppDelegate>();
        app().setDelegate(delegate);
        messageui::MFMailComposeViewController::setCanSendMail(true);
        LoginViewController::navigate();
        settle();
    }
    void TearDown() override {
        uikit::AlertStack::shared().reset();
        if (auto window = app().keyWindow()) window->setRootViewController(nullptr);
        app().resetForTests();
        loop.runDueTasks();
        foundation::Clock::useReal();
        LocalServiceTest::TearDown();
    }

    static uikit::UIApplication& app() { return uikit::UIApplication::sharedApplication(); }
    uikit::UIViewControllerPtr root() const { return app().keyWindow()->rootViewController(); }
    std::shared_ptr<LoginViewController> login() const { return std::dynamic_pointer_cast<LoginViewController>(root()); }
    std::shared_ptr<LoginByPasscodeViewController> passcode() const {
        return std::dynamic_pointer_cast<LoginByPasscodeViewController>(root());
    }
    void settle() { driver.settle(); }

    static std::optional<AlertSeen> frontAlert() {
        auto entry = uikit::AlertStack::shared().front();
        if (!entry) return std::nullopt;
        AlertSeen seen{entry->title(), entry->message(), {}};
        for (int64_t i = 0; i < entry->numberOfButtons(); ++i) seen.buttons.push_back(entry->buttonTitleAtIndex(i).value_or(""));
        return seen;
    }
    // Waits until an alert other than the progress alert is in front.
    std::optional<AlertSeen> awaitAlert() {
        loop.runUntil(
            [] {
                auto alert = frontAlert();
                return alert && alert->title != std::optional<std::string>("Logging in...") &&
                       alert->title != std::optional<std::string>("Sending email...");
            },
            apitest::kWait);
        settle();
        return frontAlert();
    }
    size_t loginRequests() const { return service->requestCount("POST", kLoginPath); }
    size_t trackedCount(const std::string& name) const {
        auto events = AnalyticsUtils::queuedEvents();
        return static_cast<size_t>(std::count_if(events.begin(), events.end(), [&](const auto& e) { return e.name == name; }));
    }
    void typeCredentials(const std::string& user, const std::string& password) {
        ASSERT_TRUE(driver.typeText("Username", user));
        ASSERT_TRUE(driver.typeText("Password", password));
    }
    void tapLogin() {
        driver.tapRow(1, 0);
        settle();
    }

    // The note as the screen shows it: the lines holding white text, and
    // the first line holding ink of the link's colour (-1 without).
    struct NoteInk {
        std::vector<int> whiteRows;
        int linkRow = -1;
        int lightPage = 0;
    };
    static NoteInk noteInk(const uikit::UIWebView& note) {
        const auto picture = uikit::renderScreen(*app().keyWindow(), 1);
        const auto frame = note.convertRectToView(note.bounds(), nullptr);
        auto close = [](graphics::Pixel a, graphics::Pixel b) {
            return std::abs(a.red - b.red) < 40 && std::abs(a.green - b.green) < 40 && std::abs(a.blue - b.blue) < 40;
        };
        NoteInk ink;
        for (int y = int(frame.origin.y); y < int(frame.origin.y + frame.size.height); ++y) {
            bool white = false;
            for (int x = int(frame.origin.x); x < int(frame.origin.x + frame.size.width); ++x) {
                const auto pixel = picture.pixel(x, y);
                white = white || close(pixel, {255, 255, 255, 255});
                if (ink.linkRow < 0 && close(pixel, {0x40, 0x9E, 0xD2, 255})) ink.linkRow = y;
                ink.lightPage += pixel == graphics::Pixel{250, 250, 250, 255};
            }
            if (white) ink.whiteRows.push_back(y);
        }
        return ink;
    }

    std::shared_ptr<AppDelegate> delegate;
    uikit::ScreenDriver driver;
};

TEST_F(LoginScreensTest, TheUsernameScreenShowsItsFormAndItsLinkSwitchesToThePasscodeScreen) {
    auto screen = login();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->enterUsernameLabel()->text(),
              std::optional<std::string>("Please enter your\nQuovana Orvane username (email address) and password."));
    auto& table = *screen->loginTableView();
    ASSERT_EQ(table.numberOfSections(), 2);
    EXPECT_EQ(table.numberOfRowsInSection(0), 2);
    EXPECT_EQ(table.numberOfRowsInSection(1), 1);
    EXPECT_EQ(table.rectForRowAtIndexPath({0, 0}).size.height, 44);
    EXPECT_EQ(screen->userTF()->placeholder(), std::optional<std::string>("Username"));
    EXPECT_FALSE(screen->userTF()->isSecureTextEntry());
    EXPECT_EQ(screen->passTF()->placeholder(), std::optional<std::string>("Password"));
    EXPECT_TRUE(screen->passTF()->isSecureTextEntry());
    EXPECT_EQ(screen->backgroundView()->image()->name(), std::optional<std::string>("loading_portrait_iphone-667h@2x.png"));
    EXPECT_TRUE(screen->passcodeLoginWebView()->HTMLString()->find("font-size:13px") != std::string::npos);
    EXPECT_FALSE(screen->passcodeLoginWebView()->scrollView().isScrollEnabled());

    // A reload (the next appearance) builds new, empty fields.
    auto firstField = screen->userTF();
    typeCredentials("someone", "secret");
    screen->loginTableView()->reloadData();
    EXPECT_NE(screen->userTF(), firstField);
    EXPECT_EQ(screen->userTF()->text().value_or(""), "");

    // A plain navigation of the note is allowed and loads; only clicked links are refused.
    EXPECT_TRUE(screen->webViewShouldStartLoadWithRequest(*screen->passcodeLoginWebView(), foundation::URLRequest(),
                                                          uikit::UIWebViewNavigationType::Other));
    // A link the note does not have cannot be clicked; one to an unknown
    // target is refused and goes nowhere.
    EXPECT_FALSE(driver.clickLink("login:somewhereElse"));
    EXPECT_FALSE(screen->webViewShouldStartLoadWithRequest(
        *screen->passcodeLoginWebView(), foundation::URLRequest(*foundation::URL::URLWithString("login:somewhereElse")),
        uikit::UIWebViewNavigationType::LinkClicked));
    settle();
    EXPECT_EQ(login(), screen);

    EXPECT_TRUE(driver.clickLink("login:goToPasscodeLogin"));
    settle();
    auto code = passcode();
    ASSERT_NE(code, nullptr);
    EXPECT_EQ(code->passTF()->placeholder(), std::optional<std::string>("Passcode"));
    EXPECT_TRUE(code->passTF()->isSecureTextEntry());
    EXPECT_EQ(code->backgroundView()->image()->name(),
              std::optional<std::string>("non_orvane_loading_portrait_iphone-667h@2x.png"));
    EXPECT_TRUE(driver.clickLink("login:goToUsernameLogin"));
    settle();
    EXPECT_NE(login(), nullptr);
}

// Each note shows all its lines in white over the screen's picture, the
// link in its own colour below the first line.
TEST_F(LoginScreensTest, TheNotesShowEveryLineAndTheirLinksOverTheScreensPicture) {
    ASSERT_NE(login(), nullptr);
    const NoteInk username = noteInk(*login()->passcodeLoginWebView());
    ASSERT_FALSE(username.whiteRows.empty());
    EXPECT_GT(username.linkRow, username.whiteRows.front() + 20);
    EXPECT_EQ(username.lightPage, 0);

    ASSERT_TRUE(driver.clickLink("login:goToPasscodeLogin"));
    settle();
    ASSERT_NE(passcode(), nullptr);
    const NoteInk code = noteInk(*passcode()->usernameLoginWebView());
    ASSERT_FALSE(code.whiteRows.empty());
    // Below the blank line that parts its two paragraphs.
    EXPECT_GT(code.linkRow, code.whiteRows.front() + 60);
    EXPECT_EQ(code.lightPage, 0);
}

TEST_F(LoginScreensTest, BlankFieldsAndNoNetworkAreRefusedWithoutARequest) {
    typeCredentials("   ", "x");
    tapLogin();
    auto alert = frontAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title, std::nullopt);
    EXPECT_EQ(alert->message, std::optional<std::string>("You must enter your credentials in order to be able to login"));
    EXPECT_EQ(alert->buttons, std::vector<std::string>{"OK"});
    driver.answerAlert("OK");
    settle();

    setOnline(false);
    login()->forTestingSetTheUsername("demo", "quovana-demo");
    tapLogin();
    alert = frontAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title, std::optional<std::string>("Unable to complete request!"));
    EXPECT_EQ(alert->message, std::optional<std::string>("No internet connection!"));
    EXPECT_EQ(alert->buttons, std::vector<std::string>{"OK"});
    driver.answerAlert("OK");
    settle();
    setOnline(true);

    ASSERT_TRUE(driver.clickLink("login:goToPasscodeLogin"));
    settle();
    ASSERT_TRUE(driver.typeText("Passcode", "  "));
    tapLogin();
    alert = frontAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->message, std::optional<std::string>("You must enter your passcode in order to be able to login"));
    EXPECT_EQ(loginRequests(), 0u);
}

TEST_F(LoginScreensTest, AWrongPasswordOffersRetryAndTheForgottenPasswordScreen) {
    service->injectFault("POST", kLoginPath, {.status = 400, .body = R"({"error":"Invalid"})"});
    typeCredentials(" a@b.org ", "pw");
    tapLogin();
    auto alert = awaitAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title, std::optional<std::string>("Authentication failed!"));
    EXPECT_EQ(alert->message, std::optional<std::string>("Invalid username or wrong password"));
    EXPECT_EQ(alert->buttons, (std::vector<std::string>{"Retry", "Forgot password"}));
    // The progress alert has closed before this one came.
    EXPECT_EQ(uikit::AlertStack::shared().entries().size(), 1u);
    // The user name goes out as typed.
    auto writes = service->writes();
    ASSERT_FALSE(writes.empty());
    EXPECT_EQ(writes.back().body["username"].stringValue(), " a@b.org ");
    EXPECT_EQ(writes.back().body["login_type"].stringValue(), "password");

    // What was typed survives the failure.
    EXPECT_EQ(login()->userTF()->text(), std::optional<std::string>(" a@b.org "));
    driver.answerAlert("Forgot password");
    settle();
    EXPECT_NE(std::dynamic_pointer_cast<RetrieveViewController>(login()->presentedViewController()), nullptr);
}

TEST_F(LoginScreensTest, ThePasscodeScreenOffersOnlyRetryAndSendsAPasscodedLogin) {
    ASSERT_TRUE(driver.clickLink("login:goToPasscodeLogin"));
    settle();
    service->injectFault("POST", kLoginPath, {.status = 400, .body = R"({"error":"Invalid"})"});
    ASSERT_TRUE(driver.typeText("Passcode", "999"));
    tapLogin();
    auto alert = awaitAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title, std::optional<std::string>("Authentication failed!"));
    EXPECT_EQ(alert->message, std::optional<std::string>("Invalid passcode"));
    EXPECT_EQ(alert->buttons, std::vector<std::string>{"Retry"});
    auto writes = service->writes();
    ASSERT_FALSE(writes.empty());
    EXPECT_EQ(writes.back().body["login_type"].stringValue(), "passcoded");
    EXPECT_EQ(writes.back().body["passcode"].stringValue(), "999");
    driver.answerAlert("Retry");
    settle();
    EXPECT_NE(passcode(), nullptr);

    // The right passcode logs in.
    service->clearFaults();
    passcode()->forTestingSetThePasscode(testservice::kDemoPasscode);
    tapLogin();
    ASSERT_TRUE(loop.runUntil([&] { return passcode()->presentedViewController() != nullptr; }, apitest::kWait));
    EXPECT_NE(std::dynamic_pointer_cast<LoadingViewController>(passcode()->presentedViewController()), nullptr);
    EXPECT_EQ(trackedCount("Log in with passcode"), 1u);
}

TEST_F(LoginScreensTest, AServerFailureIsReportedAsALoginError) {
    service->injectFault("POST", kLoginPath, {.status = 500});
    typeCredentials("demo", "quovana-demo");
    tapLogin();
    auto alert = awaitAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title, std::optional<std::string>("An error occurred while logging in. Please try again."));
    EXPECT_EQ(alert->buttons, std::vector<std::string>{"OK"});
    EXPECT_EQ(login()->presentedViewController(), nullptr);
}

TEST_F(LoginScreensTest, ASuccessfulLoginPresentsTheLoadingScreenWithTheAccount) {
    typeCredentials(testservice::kDemoUsername, testservice::kDemoPassword);
    tapLogin();
    auto screen = login();
    ASSERT_TRUE(loop.runUntil([&] { return screen->presentedViewController() != nullptr; }, apitest::kWait));
    auto loading = std::dynamic_pointer_cast<LoadingViewController>(screen->presentedViewController());
    ASSERT_NE(loading, nullptr);
    ASSERT_NE(loading->currentUserAccount(), nullptr);
    EXPECT_EQ(loading->currentUserAccount()->authenticationCode(), std::optional<std::string>(token()));
    EXPECT_EQ(trackedCount("Log in"), 1u);
    auto alerts = uikit::AlertStack::shared().entries();
    EXPECT_TRUE(std::none_of(alerts.begin(), alerts.end(),
                             [](const auto& a) { return a->title() == std::optional<std::string>("Logging in..."); }));
}

class RetrieveScreenTest : public LoginScreensTest {
protected:
    void SetUp() override {
        LoginScreensTest::SetUp();
        login()->performSegueWithIdentifier(LoginViewController::kForgotPasswordSegue, login());
        settle();
        retrieve = std::dynamic_pointer_cast<RetrieveViewController>(login()->presentedViewController());
        ASSERT_NE(retrieve, nullptr);
    }
    void typeAddress(const std::string& text) {
        retrieve->emailTF()->setText(text);
        retrieve->retrievePassword(nullptr);
        settle();
    }
    std::shared_ptr<RetrieveViewController> retrieve;
};

TEST_F(RetrieveScreenTest, EmptyAndIllFormedAddressesAreRefusedAndTheScreenStays) {
    typeAddress(" \t ");
    auto alert = frontAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title, std::nullopt);
    EXPECT_EQ(alert->message, std::optional<std::string>("You must enter a valid email address"));
    driver.answerAlert("OK");
    settle();

    typeAddress("x@y.museum");
    alert = frontAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title, std::optional<std::string>("Error"));
    EXPECT_EQ(alert->message, std::optional<std::string>("This is not a valid email address."));
    driver.answerAlert("OK");
    settle();
    EXPECT_EQ(login()->presentedViewController(), retrieve);
    EXPECT_EQ(retrieve->emailTF()->text(), std::optional<std::string>("x@y.museum"));
    EXPECT_EQ(service->requestCount("POST", kResetPath), 0u);
}

TEST_F(RetrieveScreenTest, ASentResetIsConfirmedAndItsOKClosesTheScreen) {
    service->injectFault("POST", kResetPath, {.status = 200, .body = R"({"message":"sent"})"});
    typeAddress(" a@b.org ");
    auto alert = awaitAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title, std::optional<std::string>("Email successfully sent."));
    EXPECT_EQ(alert->buttons, std::vector<std::string>{"OK"});
    auto writes = service->writes();
    ASSERT_FALSE(writes.empty());
    EXPECT_EQ(writes.back().path, kResetPath);
    EXPECT_EQ(writes.back().body["username"].stringValue(), "a@b.org");
    EXPECT_EQ(trackedCount("Reset password"), 1u);
    driver.answerAlert("OK");
    settle();
    EXPECT_EQ(login()->presentedViewController(), nullptr);
}

TEST_F(RetrieveScreenTest, AFailedResetExplainsWhatToDo) {
    service->injectFault("POST", kResetPath, {.status = 500});
    typeAddress("a@b.org");
    auto alert = awaitAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title, std::optional<std::string>("There was an error processing the request."));
    EXPECT_EQ(alert->message, std::optional<std::string>(
                                  "Make sure you provide the email address used for registration, and try again later"));
    driver.answerAlert("OK");
    settle();
    EXPECT_EQ(login()->presentedViewController(), retrieve);
}

TEST_F(RetrieveScreenTest, TheContactButtonWritesToSupportOnlyWhenMailCanBeSent) {
    messageui::MFMailComposeViewController::setCanSendMail(false);
    retrieve->emailQuovana(nullptr);
    settle();
    EXPECT_EQ(retrieve->presentedViewController(), nullptr);

    messageui::MFMailComposeViewController::setCanSendMail(true);
    retrieve->emailQuovana(nullptr);
    settle();
    auto composer = std::dynamic_pointer_cast<messageui::MFMailComposeViewController>(retrieve->presentedViewController());
    ASSERT_NE(composer, nullptr);
    EXPECT_EQ(composer->modalPresentationStyle(), uikit::UIModalPresentationStyle::FormSheet);
    EXPECT_EQ(composer->toRecipients(), std::vector<std::string>{RetrieveViewController::kSupportMailAddress});
    composer->finishWithResult(messageui::MFMailComposeResult::Cancelled);
    settle();
    EXPECT_EQ(retrieve->presentedViewController(), nullptr);
}

class LoginScreensPadTest : public LoginScreensTest {
protected:
    uikit::DeviceProfile deviceProfile() const override { return uikit::DeviceProfile::iPad(); }
};

TEST_F(LoginScreensPadTest, ThePadFollowsTheOrientationWithItsPicturesAndUsesTheLargerNote) {
    auto screen = login();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->backgroundView()->image()->name(), std::optional<std::string>("loading_portrait_ipad.png"));
    EXPECT_NE(screen->passcodeLoginWebView()->HTMLString()->find("font-size:16px"), std::string::npos);
    ASSERT_TRUE(driver.rotate(uikit::UIDeviceOrientation::LandscapeLeft));
    settle();
    EXPECT_EQ(screen->backgroundView()->image()->name(), std::optional<std::string>("loading_landscape_ipad.png"));

    ASSERT_TRUE(driver.clickLink("login:goToPasscodeLogin"));
    settle();
    EXPECT_EQ(passcode()->backgroundView()->image()->name(),
              std::optional<std::string>("non_orvane_loading_landscape_ipad.png"));
    ASSERT_TRUE(driver.rotate(uikit::UIDeviceOrientation::Portrait));
    settle();
    EXPECT_EQ(passcode()->backgroundView()->image()->name(),
              std::optional<std::string>("non_orvane_loading_portrait_ipad.png"));
}

// The pad's larger note keeps its link in view in either orientation.
TEST_F(LoginScreensPadTest, ThePasscodeNotesLinkShowsInLandscape) {
    ASSERT_TRUE(driver.rotate(uikit::UIDeviceOrientation::LandscapeLeft));
    ASSERT_TRUE(driver.clickLink("login:goToPasscodeLogin"));
    settle();
    ASSERT_NE(passcode(), nullptr);
    EXPECT_GE(noteInk(*passcode()->usernameLoginWebView()).linkRow, 0);
    ASSERT_TRUE(driver.rotate(uikit::UIDeviceOrientation::Portrait));
    settle();
    EXPECT_GE(noteInk(*passcode()->usernameLoginWebView()).linkRow, 0);
}

#if QVA_DEMO_ACCOUNTS
TEST_F(LoginScreensTest, TheDemoPickerIsAddedOnceAndFillsTheFieldsWithTheServicesDemoAccount) {
    auto screen = login();
    auto countPickers = [](uikit::UIView& view) {
        return std::count_if(view.subviews().begin(), view.subviews().end(),
                             [](const auto& v) { return std::dynamic_pointer_cast<LoginUsersPicker>(v) != nullptr; });
    };
    EXPECT_EQ(countPickers(*screen->view()), 1);
    screen->viewDidAppear(false);
    EXPECT_EQ(countPickers(*screen->view()), 1);

    ASSERT_TRUE(driver.pickRow(0));
    settle();
    EXPECT_EQ(screen->userTF()->text(), std::optional<std::string>(testservice::kDemoUsername));
    EXPECT_EQ(screen->passTF()->text(), std::optional<std::string>(testservice::kDemoPassword));

    ASSERT_TRUE(driver.clickLink("login:goToPasscodeLogin"));
    settle();
    ASSERT_TRUE(driver.pickRow(0));
    settle();
    EXPECT_EQ(passcode()->passTF()->text(), std::optional<std::string>(testservice::kDemoPasscode));

    auto users = LoginUsersPicker::initWithUsersAndDelegateStuff({0, 0, 320, LoginUsersPicker::kHeight});
    ASSERT_FALSE(users->dataSourceArray().empty());
    for (const auto& row : users->dataSourceArray()) EXPECT_EQ(row->passWord(), testservice::kDemoPassword);
    auto codes = LoginUsersPicker::initWithPasscodeAndDelegateStuff({0, 0, 320, LoginUsersPicker::kHeight});
    ASSERT_FALSE(codes->dataSourceArray().empty());
    EXPECT_EQ(codes->dataSourceArray().front()->passWord(), testservice::kDemoPasscode);
}
#endif

}  // namespace

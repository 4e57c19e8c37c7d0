// The first piece of the UIKit stand-in: the alert stack that tests read and
// tap, the did-dismiss order, the key window and its root controller, the
// openURL recorder and the main-thread rule.
#include <gtest/gtest.h>

#include <thread>

#include "foundation/Exception.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIApplication.h"

namespace {

using uikit::UIAlertView;
using uikit::UIApplication;

struct RecordingDelegate : uikit::UIAlertViewDelegate {
    std::vector<std::pair<int64_t, size_t>> dismissed;  // button, alerts still visible
    void alertViewDidDismissWithButtonIndex(UIAlertView&, int64_t index) override {
        dismissed.emplace_back(index, UIApplication::sharedApplication().visibleAlerts().size());
    }
};

TEST(UIAlertView, ShownAlertsStackAndTellTheirDelegateAfterLeaving) {
    auto& app = UIApplication::sharedApplication();
    auto delegate = std::make_shared<RecordingDelegate>();
    auto first = std::make_shared<UIAlertView>(std::string("Title"), std::nullopt, delegate);
    EXPECT_EQ(first->addButtonWithTitle("No"), 0);
    EXPECT_EQ(first->addButtonWithTitle("Yes"), 1);
    EXPECT_EQ(first->buttonTitleAtIndex(1), "Yes");
    first->dismissWithClickedButtonIndex(0, true);  // not shown: nothing happens

    auto second = std::make_shared<UIAlertView>(std::nullopt, std::string("Second"));
    first->show();
    first->show();
    second->show();
    EXPECT_EQ(app.visibleAlerts(), (std::vector<uikit::UIAlertViewPtr>{first, second}));
    first->dismissWithClickedButtonIndex(1, true);
    EXPECT_EQ(delegate->dismissed, (std::vector<std::pair<int64_t, size_t>>{{1, 1}}));
    second->dismissWithClickedButtonIndex(0, false);
    EXPECT_TRUE(app.visibleAlerts().empty());

    bool raised = false;
    std::thread([&] {
        try {
            first->show();
        } catch (const foundation::Exception&) {
            raised = true;
        }
    }).join();
    EXPECT_TRUE(raised);  // main thread only
}

TEST(UIApplication, KeyWindowAndOpenedURLs) {
    auto& app = UIApplication::sharedApplication();
    auto window = app.keyWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->rootViewController(), nullptr);
    window->setRootViewController(std::make_shared<uikit::UIViewController>());
    auto other = std::make_shared<uikit::UIWindow>();
    other->makeKeyAndVisible();
    EXPECT_EQ(app.keyWindow(), other);
    EXPECT_FALSE(window->isKeyWindow());
    window->makeKeyAndVisible();
    EXPECT_NE(app.keyWindow()->rootViewController(), nullptr);

    EXPECT_TRUE(app.openURL(*foundation::URL::URLWithString("tel:+3225551234")));
    EXPECT_EQ(app.openedURLs().back().absoluteString(), "tel:+3225551234");
}

TEST(UIApplication, CanOpenURLAnswersByTheConfiguredSchemesAndRecordsEachQuestion) {
    auto& app = UIApplication::sharedApplication();
    app.resetForTests();
    auto url = [](const char* text) { return *foundation::URL::URLWithString(text); };
    EXPECT_TRUE(app.canOpenURL(url("HTTPS://example.org")));
    EXPECT_TRUE(app.canOpenURL(url("tel:+41225550101")));
    EXPECT_FALSE(app.canOpenURL(url("ftp://example.org")));
    app.setOpenableURLSchemes({"ftp"});
    EXPECT_TRUE(app.canOpenURL(url("ftp://example.org")));
    EXPECT_FALSE(app.canOpenURL(url("tel:+41225550101")));
    ASSERT_EQ(app.queriedURLs().size(), 5u);
    EXPECT_EQ(app.queriedURLs().front().absoluteString(), "HTTPS://example.org");
    EXPECT_TRUE(app.openedURLs().empty());
    app.resetForTests();
    EXPECT_TRUE(app.canOpenURL(url("mailto:a@example.org")));
}

}  // namespace

// What the badge recount asks of the key window: its root controller, and
// whether that controller has a badge to recount.
#include <gtest/gtest.h>

#include "uikit/UIApplication.h"

namespace {

struct BadgeScreen : uikit::UIViewController {
    int recounts = 0;
    bool implementsRefreshMessagesAndMeetingRequestsCounter() const override { return true; }
    void refreshMessagesAndMeetingRequestsCounter() override { ++recounts; }
};

TEST(RootViewController, AnswersWhetherItRecountsTheMessagesBadge) {
    auto window = uikit::UIApplication::sharedApplication().keyWindow();
    const auto saved = window->rootViewController();
    window->setRootViewController(nullptr);
    EXPECT_EQ(uikit::UIApplication::sharedApplication().keyWindow()->rootViewController(), nullptr);

    window->setRootViewController(std::make_shared<uikit::UIViewController>());
    EXPECT_FALSE(window->rootViewController()->implementsRefreshMessagesAndMeetingRequestsCounter());

    auto screen = std::make_shared<BadgeScreen>();
    window->setRootViewController(screen);
    const auto& root = uikit::UIApplication::sharedApplication().keyWindow()->rootViewController();
    ASSERT_TRUE(root->implementsRefreshMessagesAndMeetingRequestsCounter());
    root->refreshMessagesAndMeetingRequestsCounter();
    EXPECT_EQ(screen->recounts, 1);
    window->setRootViewController(saved);
}

}  // namespace

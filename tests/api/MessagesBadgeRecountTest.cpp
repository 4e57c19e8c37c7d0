// An outbox pass on the pad: the badge look-up finds the main tab bar behind
// the split view at the window's root, and the pass, once the messages are
// reloaded, recounts the unread threads through it.
#include <gtest/gtest.h>

#include "api/LocalServiceTest.h"
#include "api/MessagesManager.h"
#include "app/EventsSplitViewController.h"
#include "app/EventsTabBarController.h"
#include "app/MessagesCounterRefreshing.h"
#include "foundation/Clock.h"
#include "foundation/Thread.h"
#include "model/QVACoreDataMessage.h"
#include "model/QVACoreDataOutboxMessage.h"
#include "uikit/UIApplication.h"
#include "uikit/UIWindow.h"

namespace {

class CountingTabBar : public EventsTabBarController {
public:
    int recounts = 0;
    bool offMainThread = false;
    void refreshMessagesAndMeetingRequestsCounter() override {
        ++recounts;
        if (!foundation::isMainThread()) offMainThread = true;
    }
};

class MessagesBadgeRecountTest : public apitest::LocalServiceTest {
protected:
    MessagesManager& outbox = MessagesManager::sharedMessagesManager();

    void SetUp() override {
        LocalServiceTest::SetUp();
        foundation::Clock::useVirtual(800000000.0);
        ASSERT_TRUE(open(token(), eventId()));
        makeCurrent(account(), QVAEvent::initWithDictionary(foundation::Value::dictionary({{"id", eventId()}})));
    }
    void TearDown() override {
        if (auto timer = outbox.timerForSchedulingOutboxMessages()) timer->invalidate();
        outbox.setTimerForSchedulingOutboxMessages(nullptr);
        loop.runUntil([&] { return !outbox.isSendingOutboxMessages(); }, apitest::kWait);
        uikit::UIApplication::sharedApplication().keyWindow()->setRootViewController(nullptr);
        loop.runDueTasks();
        foundation::Clock::useReal();
        LocalServiceTest::TearDown();
    }
};

TEST_F(MessagesBadgeRecountTest, AnOutboxPassRecountsThroughTheTabBarBehindTheSplitView) {
    auto tabBar = std::make_shared<CountingTabBar>();
    auto split = std::make_shared<EventsSplitViewController>();
    split->setViewControllers({tabBar, std::make_shared<uikit::UIViewController>()});
    uikit::UIApplication::sharedApplication().keyWindow()->setRootViewController(split);
    ASSERT_EQ(messagesCounterRefreshingScreen().get(), static_cast<MessagesCounterRefreshing*>(tabBar.get()));

    outbox.sendMessageFor(QVAOutboxMessage::initWithBody("Body", "Subject", 1700000000, "Ann Lee", "100002", 0));
    ASSERT_TRUE(loop.runUntil([&] { return !rows<QVACoreDataOutboxMessage>(token(), eventId()).empty(); },
                              apitest::kWait));
    outbox.startTimerToSendOutboxMessagesIfAny();
    ASSERT_TRUE(loop.runUntil([&] { return tabBar->recounts > 0; }, apitest::kWait));
    EXPECT_EQ(tabBar->recounts, 1);
    EXPECT_FALSE(tabBar->offMainThread);
    EXPECT_FALSE(rows<QVACoreDataMessage>(token(), eventId()).empty());
}

}  // namespace

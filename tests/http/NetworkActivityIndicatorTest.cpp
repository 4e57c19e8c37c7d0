// The activity indicator: counting start and finish notifications of tasks
// and operations, and hiding only 0.17 s (virtual) after the last finish.
#include <gtest/gtest.h>

#include <vector>

#include "foundation/Clock.h"
#include "foundation/NotificationCenter.h"
#include "foundation/RunLoop.h"
#include "foundation/URLSession.h"
#include "http/QNNetworkActivityIndicatorManager.h"
#include "http/QNNetworking.h"

using namespace foundation;

namespace {

class IndicatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        Clock::useVirtual(0);
        session = URLSession::sessionWithConfiguration(URLSessionConfiguration::defaultSessionConfiguration());
        task = session->dataTaskWithURL(*URL::URLWithString("http://127.0.0.1:9/x"));
        manager.setIndicatorVisibilityHandler([this](bool visible) {
            if (shown.empty() || shown.back() != visible) shown.push_back(visible);
            this->visible = visible;
        });
    }
    void TearDown() override {
        Clock::useReal();
        session->invalidateAndCancel();
        std::weak_ptr<URLSession> gone = session;
        session.reset();
        task.reset();
        RunLoop::main().runUntil([&] { return gone.expired(); }, 10);
    }

    void post(const char* name, const Value& object) {
        NotificationCenter::defaultCenter().postNotificationName(name, object);
        RunLoop::main().runDueTasks();
    }
    void advance(double seconds) {
        Clock::advance(seconds);
        RunLoop::main().runDueTasks();
    }

    URLSessionPtr session;
    URLSessionDataTaskPtr task;
    QNNetworkActivityIndicatorManager manager;
    std::vector<bool> shown;
    bool visible = false;
};

}  // namespace

TEST_F(IndicatorTest, ShowsAtOnceAndHidesAfterTheDelay) {
    manager.setEnabled(true);
    post(kQNNetworkingTaskDidResumeNotification, task);
    post(kQNNetworkingTaskDidResumeNotification, task);
    EXPECT_TRUE(visible);
    EXPECT_EQ(manager.activityCount(), 2);
    post(kQNNetworkingTaskDidCompleteNotification, task);
    post(kQNNetworkingTaskDidSuspendNotification, task);
    EXPECT_EQ(manager.activityCount(), 0);
    advance(0.16);
    EXPECT_TRUE(visible);
    advance(0.02);
    EXPECT_FALSE(visible);
    EXPECT_EQ(shown, (std::vector<bool>{true, false}));

    // A finish without a start, and notifications without a request URL.
    post(kQNNetworkingOperationDidFinishNotification, task);
    EXPECT_EQ(manager.activityCount(), 0);
    post(kQNNetworkingOperationDidStartNotification, Value("no request"));
    EXPECT_EQ(manager.activityCount(), 0);
}

TEST_F(IndicatorTest, ANewStartWithinTheDelayKeepsItOn) {
    manager.setEnabled(true);
    post(kQNNetworkingTaskDidResumeNotification, task);
    post(kQNNetworkingTaskDidCompleteNotification, task);
    advance(0.1);
    post(kQNNetworkingTaskDidResumeNotification, task);
    advance(0.5);
    EXPECT_TRUE(visible);
    EXPECT_EQ(shown, (std::vector<bool>{true}));
    post(kQNNetworkingTaskDidCompleteNotification, task);
    advance(0.2);
    EXPECT_EQ(shown, (std::vector<bool>{true, false}));
}

TEST_F(IndicatorTest, DisabledCountsButLeavesTheIndicatorAlone) {
    post(kQNNetworkingTaskDidResumeNotification, task);
    advance(1);
    EXPECT_EQ(manager.activityCount(), 1);
    EXPECT_TRUE(shown.empty());
    manager.setEnabled(true);
    post(kQNNetworkingTaskDidResumeNotification, task);
    EXPECT_TRUE(visible);
}

TEST_F(IndicatorTest, APendingHideFinishesAtOnceOnlyWhenNoRequestRuns) {
    manager.setEnabled(true);
    post(kQNNetworkingTaskDidResumeNotification, task);
    manager.finishPendingHide();
    EXPECT_TRUE(visible);
    post(kQNNetworkingTaskDidCompleteNotification, task);
    EXPECT_TRUE(visible);
    manager.finishPendingHide();
    EXPECT_FALSE(visible);
    // The timer it replaced does not fire again later.
    advance(1);
    EXPECT_EQ(shown, (std::vector<bool>{true, false}));
}

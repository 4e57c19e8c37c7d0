// The outbox against the local meeting service, on the virtual clock:
// offline nothing is sent and the rows stay; online a pass sends every row
// at once, the confirmed one leaves (by its own identity, even when another
// row shares its compose second) and the other is sent again 30 seconds
// later; a message whose answer was lost is sent again under the same key
// and stored once. The thread operations mark and delete on the service and
// in the store, and always complete. A pass recounts the messages badge, on
// the main thread, through the badge the shell installs.
#include <gtest/gtest.h>

#include <map>
#include <mutex>
#include <set>

#include "api/LocalServiceTest.h"
#include "api/MessagesBadgeHook.h"
#include "api/MessagesManager.h"
#include "api/QVAApiManagerRefresh.h"
#include "foundation/Clock.h"
#include "foundation/JSONSerialization.h"
#include "foundation/Thread.h"
#include "http/QNHTTPRequestSerializer.h"
#include "model/QVACoreDataMessage.h"
#include "model/QVACoreDataOutboxMessage.h"

namespace {

class MessagesManagerTest : public apitest::LocalServiceTest {
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
        MessagesBadgeHook::setFinder(nullptr);
        loop.runDueTasks();
        foundation::Clock::useReal();
        LocalServiceTest::TearDown();
    }

    std::vector<std::shared_ptr<QVACoreDataOutboxMessage>> outboxRows() {
        return rows<QVACoreDataOutboxMessage>(token(), eventId());
    }
    std::vector<std::string> sentSubjects() const {
        std::vector<std::string> subjects;
        for (const auto& write : service->writes())
            if (write.method == "POST" && write.path == apiPath("messages"))
                subjects.push_back(write.body["subject"].stringValue());
        return subjects;
    }
    // Answers a send "Message sent" for the subjects given, "Queued" otherwise.
    void confirm(std::set<std::string> subjects) {
        service->server().on(
            "POST", apiPath("messages"), [this, subjects](const testservice::RecordedRequest& request) {
                auto body = foundation::JSONSerialization::JSONObjectWithString(request.body);
                const auto subject = body["subject"].stringValue();
                {
                    std::lock_guard<std::mutex> lock(sendsMutex);
                    sends.push_back(subject);
                }
                testservice::Reply reply = testservice::Reply::text(
                    subjects.count(subject) ? R"({"result":"Message sent"})" : R"({"result":"Queued"})");
                reply.contentType = "application/json";
                return reply;
            });
    }
    void queue(const std::string& subject, int32_t composeDate) {
        outbox.sendMessageFor(
            QVAOutboxMessage::initWithBody("Body of " + subject, subject, composeDate, "Ann Lee", "100002", 0));
    }
    // What the scripted service was asked to send, in order (its threads write it).
    std::vector<std::string> confirmedSends() {
        std::lock_guard<std::mutex> lock(sendsMutex);
        return sends;
    }
    void waitForPass(size_t count) {
        ASSERT_TRUE(loop.runUntil([&] { return confirmedSends().size() >= count && !outbox.isSendingOutboxMessages(); },
                                  apitest::kWait));
    }
    // Every message of the account into the current store.
    void loadMessages() {
        bool done = false;
        QVAApiManagerRefresh::refreshMessagesWithCompletionBlock(
            [&](const foundation::ErrorPtr& error, const foundation::Value&) {
                EXPECT_EQ(error, nullptr);
                done = true;
            });
        ASSERT_TRUE(loop.runUntil([&] { return done; }, apitest::kWait));
    }
    std::vector<std::shared_ptr<QVACoreDataMessage>> threadRows(int32_t threadId) {
        return rows<QVACoreDataMessage>(token(), eventId(), coredata::Predicate::withFormat("threadId = %d", threadId));
    }

    std::mutex sendsMutex;
    std::vector<std::string> sends;
};

TEST_F(MessagesManagerTest, ConfirmedMessagesLeaveTheOutboxAndTheOthersAreSentAgain) {
    setOnline(false);
    // Two messages composed in the same second.
    queue("first", 1700000000);
    queue("second", 1700000000);
    ASSERT_TRUE(loop.runUntil([&] { return outboxRows().size() == 2; }, apitest::kWait));
    loop.runDueTasks();
    EXPECT_TRUE(sentSubjects().empty());

    setOnline(true);
    confirm({"first"});
    outbox.startTimerToSendOutboxMessagesIfAny();
    EXPECT_TRUE(outbox.isSendingOutboxMessages());
    waitForPass(2);
    auto left = outboxRows();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0]->subject(), "second");

    // Starting again while nothing runs sends at once; the next firing 30
    // seconds later sends what is still there.
    confirm({"first", "second"});
    foundation::Clock::advance(MessagesManager::kOutboxInterval);
    waitForPass(3);
    EXPECT_EQ(confirmedSends().back(), "second");
    EXPECT_TRUE(outboxRows().empty());
}

TEST_F(MessagesManagerTest, DeletingFromTheListRemovesOneRowOfItsSecondAndTheOtherIsStillSent) {
    setOnline(false);
    queue("dropped", 1700000200);
    queue("kept", 1700000200);
    ASSERT_TRUE(loop.runUntil([&] { return outboxRows().size() == 2; }, apitest::kWait));
    loop.runDueTasks();

    outbox.deleteOutboxMessageWithComposeDate(1700000200);
    ASSERT_TRUE(loop.runUntil([&] { return outboxRows().size() == 1; }, apitest::kWait));
    loop.runDueTasks();
    // The first row of that second went; the other keeps its place.
    auto left = outboxRows();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0]->subject(), "kept");

    // A second with no row left to delete changes nothing.
    outbox.deleteOutboxMessageWithComposeDate(1700000299);
    loop.runDueTasks();
    EXPECT_EQ(outboxRows().size(), 1u);

    setOnline(true);
    confirm({"dropped", "kept"});
    foundation::Clock::advance(MessagesManager::kOutboxInterval);
    waitForPass(1);
    EXPECT_EQ(confirmedSends(), std::vector<std::string>{"kept"});
    ASSERT_TRUE(loop.runUntil([&] { return outboxRows().empty(); }, apitest::kWait));
}

TEST_F(MessagesManagerTest, AFailedSendKeepsTheRowForTheNextPass) {
    service->injectFault("POST", apiPath("messages"), {.status = 500, .times = 1});
    queue("retry", 1700000100);
    ASSERT_TRUE(loop.runUntil(
        [&] { return service->requestCount("POST", apiPath("messages")) == 1 && !outbox.isSendingOutboxMessages(); },
        apitest::kWait));
    EXPECT_EQ(outboxRows().size(), 1u);

    foundation::Clock::advance(MessagesManager::kOutboxInterval);
    ASSERT_TRUE(loop.runUntil([&] { return outboxRows().empty(); }, apitest::kWait));
    EXPECT_EQ(service->requestCount("POST", apiPath("messages")), 2u);
}

// The service took the message but its answer never came back: the row stays
// and the next pass sends it again under the row's own key, which the
// service answers as before without storing it twice.
TEST_F(MessagesManagerTest, AMessageWhoseAnswerIsHeldPastTheTimeOutIsStoredOnceAfterTheNextPass) {
    QVAApiManager::sharedApiManager().requestSerializer()->setTimeoutInterval(1);
    const size_t before = service->items(testservice::MeetingKind::Messages).size();
    service->injectFault("POST", apiPath("messages"), {.stall = true, .times = 1, .afterTaking = true});
    queue("held", 1700000300);
    ASSERT_TRUE(loop.runUntil(
        [&] { return service->requestCount("POST", apiPath("messages")) == 1 && !outbox.isSendingOutboxMessages(); },
        apitest::kWait));
    EXPECT_EQ(outboxRows().size(), 1u);
    EXPECT_EQ(service->items(testservice::MeetingKind::Messages).size(), before + 1);

    foundation::Clock::advance(MessagesManager::kOutboxInterval);
    ASSERT_TRUE(loop.runUntil([&] { return outboxRows().empty(); }, apitest::kWait));
    EXPECT_EQ(service->requestCount("POST", apiPath("messages")), 2u);
    EXPECT_EQ(service->items(testservice::MeetingKind::Messages).size(), before + 1);
    std::set<std::string> keys;
    for (const auto& request : service->server().requests())
        if (request.method == "POST") keys.insert(request.header("Idempotency-Key").value_or(""));
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_FALSE(keys.begin()->empty());
}

// The app ends while the service takes the message: its request is dropped
// without an answer and the row stays in the store. The relaunched app (a
// new service client) sends it again in its first pass: one message.
TEST_F(MessagesManagerTest, AMessageSentAsTheAppEndedIsStoredOnceAfterTheRelaunchsPass) {
    const size_t before = service->items(testservice::MeetingKind::Messages).size();
    service->injectFault("POST", apiPath("messages"), {.stall = true, .times = 1, .afterTaking = true});
    queue("interrupted", 1700000400);
    ASSERT_TRUE(loop.runUntil(
        [&] { return service->items(testservice::MeetingKind::Messages).size() == before + 1; }, apitest::kWait));
    QVAApiManager::sharedApiManager().cancelAllHTTPOperationTasks();
    ASSERT_TRUE(loop.runUntil([&] { return !outbox.isSendingOutboxMessages(); }, apitest::kWait));
    EXPECT_EQ(outboxRows().size(), 1u);

    QVAApiManager::setServiceRoot(service->rootURL());
    outbox.startTimerToSendOutboxMessagesIfAny();
    ASSERT_TRUE(loop.runUntil([&] { return outboxRows().empty(); }, apitest::kWait));
    EXPECT_EQ(service->requestCount("POST", apiPath("messages")), 2u);
    EXPECT_EQ(service->items(testservice::MeetingKind::Messages).size(), before + 1);
}

TEST_F(MessagesManagerTest, MarkingAThreadReadWritesTheServicesAnswerAndAlwaysCompletes) {
    loadMessages();
    int32_t threadId = -1;
    for (const auto& message : service->items(testservice::MeetingKind::Messages))
        if (!message["read"].boolValue()) threadId = message["threadId"].intValue();
    ASSERT_NE(threadId, -1);

    bool done = false;
    outbox.markAsReadMessageWithThreadId(threadId, token(),
                                         [&](const foundation::ErrorPtr& error, const foundation::Value&) {
                                             EXPECT_EQ(error, nullptr);
                                             done = true;
                                         });
    ASSERT_TRUE(loop.runUntil([&] { return done; }, apitest::kWait));
    for (const auto& row : threadRows(threadId)) EXPECT_TRUE(row->isRead()) << row->messageId();

    // Nothing left to mark: no call, and the completion still comes.
    service->clearRequestLog();
    done = false;
    outbox.markAsReadMessageWithThreadId(threadId, token(),
                                         [&](const foundation::ErrorPtr& error, const foundation::Value&) {
                                             EXPECT_EQ(error, nullptr);
                                             done = true;
                                         });
    ASSERT_TRUE(loop.runUntil([&] { return done; }, apitest::kWait));
    for (const auto& request : service->requestLog()) EXPECT_NE(request.method, "PATCH") << request.path;
}

TEST_F(MessagesManagerTest, DeletingAThreadKeepsOnlyTheMessageTheServiceRefused) {
    loadMessages();
    std::map<int32_t, std::vector<int32_t>> threads;
    for (const auto& message : service->items(testservice::MeetingKind::Messages))
        threads[message["threadId"].intValue()].push_back(message["id"].intValue());
    int32_t threadId = -1;
    for (const auto& [id, messages] : threads)
        if (messages.size() >= 2) threadId = id;
    ASSERT_NE(threadId, -1);
    const int32_t refused = threads[threadId].front();
    service->injectFault("DELETE", apiPath("messages/" + std::to_string(refused)), {.status = 500});

    bool done = false;
    foundation::ErrorPtr reported;
    outbox.deleteMessageWithThreadId(threadId, token(),
                                     [&](const foundation::ErrorPtr& error, const foundation::Value&) {
                                         reported = error;
                                         done = true;
                                     });
    ASSERT_TRUE(loop.runUntil([&] { return done; }, apitest::kWait));
    EXPECT_NE(reported, nullptr);
    auto left = threadRows(threadId);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0]->messageId(), refused);

    // A thread with nothing stored: no call, and the completion still comes.
    done = false;
    outbox.deleteMessageWithThreadId(987654, token(), [&](const foundation::ErrorPtr& error, const foundation::Value&) {
        EXPECT_EQ(error, nullptr);
        done = true;
    });
    ASSERT_TRUE(loop.runUntil([&] { return done; }, apitest::kWait));
}

TEST_F(MessagesManagerTest, AThreadDeletionReportsTheFailureEvenWhenAnotherMessageIsOnlyRefused) {
    loadMessages();
    std::map<int32_t, std::vector<int32_t>> threads;
    for (const auto& message : service->items(testservice::MeetingKind::Messages))
        threads[message["threadId"].intValue()].push_back(message["id"].intValue());
    int32_t threadId = -1;
    for (const auto& [id, messages] : threads)
        if (messages.size() >= 2) threadId = id;
    ASSERT_NE(threadId, -1);
    // One call fails; every other one answers with a body and no error, so
    // it is not deleted either. Whatever order the answers come in, the
    // failure is what the completion reports.
    const auto& messages = threads[threadId];
    service->injectFault("DELETE", apiPath("messages/" + std::to_string(messages.front())), {.status = 500});
    for (size_t i = 1; i < messages.size(); ++i)
        service->injectFault("DELETE", apiPath("messages/" + std::to_string(messages[i])),
                             {.status = 200, .body = R"({"result":"Kept"})"});

    bool done = false;
    foundation::ErrorPtr reported;
    outbox.deleteMessageWithThreadId(threadId, token(),
                                     [&](const foundation::ErrorPtr& error, const foundation::Value&) {
                                         reported = error;
                                         done = true;
                                     });
    ASSERT_TRUE(loop.runUntil([&] { return done; }, apitest::kWait));
    EXPECT_NE(reported, nullptr);
    EXPECT_EQ(threadRows(threadId).size(), messages.size());
}

// The badge as the shell would install it, counting its recounts.
struct CountingBadge {
    int recounts = 0;
    bool offMainThread = false;
};

TEST_F(MessagesManagerTest, AnOutboxPassRecountsTheBadgeOnTheMainThread) {
    auto badge = std::make_shared<CountingBadge>();
    MessagesBadgeHook::setFinder([badge]() -> MessagesBadgeHook::Recount {
        return [badge] {
            ++badge->recounts;
            if (!foundation::isMainThread()) badge->offMainThread = true;
        };
    });

    outbox.sendMessageFor(QVAOutboxMessage::initWithBody("Body", "Subject", 1700000000, "Ann Lee", "100002", 0));
    ASSERT_TRUE(loop.runUntil([&] { return !rows<QVACoreDataOutboxMessage>(token(), eventId()).empty(); },
                              apitest::kWait));
    outbox.startTimerToSendOutboxMessagesIfAny();
    ASSERT_TRUE(loop.runUntil([&] { return badge->recounts > 0; }, apitest::kWait));
    EXPECT_EQ(badge->recounts, 1);
    EXPECT_FALSE(badge->offMainThread);
    EXPECT_FALSE(rows<QVACoreDataMessage>(token(), eventId()).empty());
}

}  // namespace

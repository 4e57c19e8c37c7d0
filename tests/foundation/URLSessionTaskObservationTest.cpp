#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <vector>

#include "foundation/RunLoop.h"
#include "foundation/URL.h"
#include "foundation/URLSession.h"
#include "foundation/URLSessionConfiguration.h"
#include "foundation/URLSessionTask.h"
#include "service/TestServer.h"

using namespace foundation;

namespace {

struct Seen {
    std::mutex mutex;
    std::vector<std::string> keyPaths;
    std::vector<int64_t> received;
    std::vector<URLSessionTask::State> states;
};

TEST(URLSessionTaskObservation, ObserversHearEachChangeAndTheCompletionOnce) {
    testservice::TestServer server;
    ASSERT_TRUE(server.start());
    testservice::Reply body = testservice::Reply::text(std::string(10000, 'x'));
    body.contentType = "application/octet-stream";
    server.on("GET", "/body", body);

    auto session = URLSession::sessionWithConfiguration(URLSessionConfiguration::defaultSessionConfiguration());
    auto task = session->dataTaskWithRequest(URLRequest(*URL::URLWithString(server.urlFor("/body"))));
    Seen seen;
    std::atomic<bool> completed{false};
    int stateId = task->addObserver("state", [&](const URLSessionTaskPtr& t, const std::string& keyPath) {
        std::lock_guard lock(seen.mutex);
        seen.keyPaths.push_back(keyPath);
        seen.states.push_back(t->state());
        if (t->state() == URLSessionTask::State::Completed) completed = true;
    });
    int receivedId = task->addObserver("countOfBytesReceived", [&](const URLSessionTaskPtr& t, const std::string& keyPath) {
        std::lock_guard lock(seen.mutex);
        seen.keyPaths.push_back(keyPath);
        seen.received.push_back(t->countOfBytesReceived());
    });
    int sentId = task->addObserver("countOfBytesSent", [&](const URLSessionTaskPtr&, const std::string&) {
        ADD_FAILURE() << "a GET sends no body";
    });
    EXPECT_GT(stateId, 0);
    EXPECT_EQ(task->addObserver("response", [](const URLSessionTaskPtr&, const std::string&) {}), 0);

    task->resume();
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return completed.load(); }, 10));

    std::lock_guard lock(seen.mutex);
    ASSERT_FALSE(seen.received.empty());
    EXPECT_EQ(seen.received.back(), 10000);
    EXPECT_TRUE(std::is_sorted(seen.received.begin(), seen.received.end()));
    ASSERT_EQ(seen.states.size(), 2u);
    EXPECT_EQ(seen.states.front(), URLSessionTask::State::Running);
    EXPECT_EQ(seen.states.back(), URLSessionTask::State::Completed);

    EXPECT_TRUE(task->removeObserver(receivedId));
    EXPECT_FALSE(task->removeObserver(receivedId));
    EXPECT_TRUE(task->removeObserver(sentId));
    EXPECT_TRUE(task->removeObserver(stateId));
    session->invalidateAndCancel();
}

TEST(URLSessionTaskObservation, AnObserverMayRemoveItselfAndHearsNothingAfter) {
    auto session = URLSession::sessionWithConfiguration(URLSessionConfiguration::defaultSessionConfiguration());
    auto task = session->dataTaskWithRequest(URLRequest(*URL::URLWithString("http://127.0.0.1:9/none")));
    int calls = 0;
    int id = 0;
    id = task->addObserver("state", [&](const URLSessionTaskPtr& t, const std::string&) {
        ++calls;
        t->removeObserver(id);
    });
    task->resume();
    task->suspend();
    task->cancel();
    EXPECT_EQ(calls, 1);
    session->invalidateAndCancel();
}

}  // namespace

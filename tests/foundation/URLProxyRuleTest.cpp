// The proxy rule that the connection and the session share: a proxy named in
// the environment carries every request except those to the hosts
// "no_proxy" names. The proxy here is a test server that answers whatever it
// is asked; the target, 127.0.0.2, is this machine but not a host exempt by
// default, and nothing listens there, so a request that goes direct is
// refused at once, and one that goes by the proxy is answered.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "foundation/OperationQueue.h"
#include "foundation/RunLoop.h"
#include "foundation/URLConnection.h"
#include "foundation/URLErrors.h"
#include "foundation/URLSession.h"
#include "service/TestServer.h"

using namespace foundation;
using testservice::Reply;
using testservice::TestServer;

namespace {

constexpr double kLoadWait = 10.0;

// One environment variable set for the test's span, as it was afterwards.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnvironment() {
        if (old_) ::setenv(name_, old_->c_str(), 1);
        else ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

// How a load ended: the error, or none when it was answered.
struct Outcome {
    bool done = false;
    ErrorPtr error;
};

class ConnectionRecorder : public URLConnectionDelegate {
public:
    Outcome outcome;
    void connectionDidFinishLoading(URLConnection&) override { outcome.done = true; }
    void connectionDidFailWithError(URLConnection&, const ErrorPtr& error) override {
        outcome.error = error;
        outcome.done = true;
    }
};

class SessionRecorder : public URLSessionDataDelegate {
public:
    Outcome outcome;
    void didCompleteWithError(const URLSessionPtr&, const URLSessionTaskPtr&, const ErrorPtr& error) override {
        outcome.error = error;
        outcome.done = true;
    }
};

Outcome loadByConnection(const URLRequest& request) {
    auto recorder = std::make_shared<ConnectionRecorder>();
    auto connection = URLConnection::connectionWithRequest(request, recorder);
    connection->scheduleInRunLoop(RunLoop::main());
    connection->start();
    RunLoop::main().runUntil([&] { return recorder->outcome.done; }, kLoadWait);
    return recorder->outcome;
}

Outcome loadBySession(const URLRequest& request) {
    auto recorder = std::make_shared<SessionRecorder>();
    auto session = URLSession::sessionWithConfiguration(URLSessionConfiguration::defaultSessionConfiguration(),
                                                        recorder, OperationQueue::mainQueue());
    session->dataTaskWithRequest(request)->resume();
    RunLoop::main().runUntil([&] { return recorder->outcome.done; }, kLoadWait);
    session->invalidateAndCancel();
    return recorder->outcome;
}

class URLProxyRuleTest : public ::testing::TestWithParam<Outcome (*)(const URLRequest&)> {
protected:
    void SetUp() override {
        proxy.setFallback([](const auto&) { return Reply::text("by the proxy"); });
        ASSERT_TRUE(proxy.start());
    }

    // Loads the target with the proxy set and `noProxy` as the exempt hosts.
    Outcome load(const std::string& noProxy) {
        ScopedEnvironment httpProxy("http_proxy", proxy.baseURL());
        ScopedEnvironment exempt("no_proxy", noProxy);
        // Any port will do: nothing listens on 127.0.0.2.
        auto url = URL::URLWithString("http://127.0.0.2:" + std::to_string(proxy.port()) + "/meetings");
        return GetParam()(URLRequest(*url));
    }

    TestServer proxy;
};

TEST_P(URLProxyRuleTest, AHostNoProxyNamesIsReachedDirectly) {
    Outcome outcome = load("example.org,127.0.0.2");
    ASSERT_TRUE(outcome.done);
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.error->code(), URLError::CannotConnectToHost);
    EXPECT_EQ(proxy.requestCount(), 0u);
}

TEST_P(URLProxyRuleTest, AnyOtherHostGoesByTheProxy) {
    Outcome outcome = load("example.org");
    ASSERT_TRUE(outcome.done);
    EXPECT_FALSE(outcome.error);
    EXPECT_EQ(proxy.requestCount(), 1u);
}

INSTANTIATE_TEST_SUITE_P(BothPaths, URLProxyRuleTest, ::testing::Values(&loadByConnection, &loadBySession),
                         [](const auto& info) { return info.index == 0 ? "Connection" : "Session"; });

}  // namespace

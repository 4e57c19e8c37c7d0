// Shared by the API client tests: a meeting store fixture whose shared API
// client points at a loopback test server ("<server>/api" as service root),
// with the Internet reported reachable, and a helper that starts a call and
// pumps the main run loop until its completion ran.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "../Utils/MeetingStoreTestSupport.h"
#include "api/QVAApiManager.h"
#include "foundation/JSONSerialization.h"
#include "foundation/RunLoop.h"
#include "http/QNNetworkReachabilityManager.h"
#include "network/Reachability.h"
#include "service/TestServer.h"
#include "model/EntityClass.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIApplication.h"

namespace apitest {

struct Outcome {
    bool called = false;
    foundation::ErrorPtr error;
    foundation::Value result;
};

constexpr double kManagerWait = 15.0;

class ApiTest : public meetingtest::MeetingStoreTest {
protected:
    testservice::TestServer server;

    void SetUp() override {
        MeetingStoreTest::SetUp();
        registerEntityClasses();
        ASSERT_TRUE(server.start());
        QVAApiManager::setServiceRoot(server.urlFor("/api"));
        network::Reachability::setSimulatedFlags(network::ReachabilityFlag::Reachable);
        auto& reachability = QNNetworkReachabilityManager::sharedManager();
        reachability.startMonitoring();
        ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return reachability.isReachableViaWiFi(); }, kManagerWait));
        dismissAlerts();
    }
    void TearDown() override {
        dismissAlerts();
        QVAApiManager::setServiceRoot(std::nullopt);
        MeetingStoreTest::TearDown();
    }

    QVAApiManager& api() { return QVAApiManager::sharedApiManager(); }
    std::string path(const std::string& servicePath) const { return "/api/v1/" + servicePath; }

    static void serve(testservice::TestServer& on, std::string method, std::string path,
                      testservice::Reply reply) {
        on.on(std::move(method), std::move(path), std::move(reply));
    }
    void serve(std::string method, std::string path, testservice::Reply reply) {
        serve(server, std::move(method), std::move(path), std::move(reply));
    }

    template <class Start>
    Outcome call(Start start) {
        auto done = std::make_shared<Outcome>();
        start([done](const foundation::ErrorPtr& error, const foundation::Value& result) {
            done->called = true;
            done->error = error;
            done->result = result;
        });
        EXPECT_TRUE(foundation::RunLoop::main().runUntil([&] { return done->called; }, kManagerWait));
        return *done;
    }

    static testservice::Reply json(std::string body, int status = 200) {
        testservice::Reply reply = testservice::Reply::text(std::move(body), status);
        reply.contentType = "application/json";
        return reply;
    }
    static foundation::Value bodyOf(const testservice::RecordedRequest& request) {
        return foundation::JSONSerialization::JSONObjectWithData(foundation::Data::fromString(request.body));
    }
    static std::vector<std::shared_ptr<uikit::UIAlertView>> alerts() {
        return uikit::UIApplication::sharedApplication().visibleAlerts();
    }
    static void dismissAlerts() {
        while (!alerts().empty()) alerts().back()->dismissWithClickedButtonIndex(0, false);
    }
};

}  // namespace apitest

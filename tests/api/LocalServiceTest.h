// Shared by the tests of the full download, the delta update service and the
// outbox: a generated meeting served by the local meeting service on
// loopback, the API client pointed at it, the device online, and clean
// settings and stores around each test. Waiting is done by pumping the main
// run loop, never by sleeping.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "settings/ApplicationSettingsStore.h"
#include "api/QVAApiManager.h"
#include "foundation/Log.h"
#include "foundation/RunLoop.h"
#include "http/QNNetworkReachabilityManager.h"
#include "network/Reachability.h"
#include "service/MeetingGenerator.h"
#include "service/MeetingService.h"
#include "store/StoreTestSupport.h"

namespace apitest {

constexpr double kWait = 30.0;

// The completion of an operation of the API client or the sync engines.
using Done = std::function<void(const foundation::ErrorPtr&, const foundation::Value&)>;

inline bool logged(const foundation::ScopedLogCapture& log, const std::string& text) {
    for (const auto& line : log.lines())
        if (line.find(text) != std::string::npos) return true;
    return false;
}

class LocalServiceTest : public storetest::StoreTest {
protected:
    ApplicationSettingsStore& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    foundation::RunLoop& loop = foundation::RunLoop::main();
    std::unique_ptr<testservice::MeetingService> service;

    void SetUp() override {
        StoreTest::SetUp();
        settings.clear();
        service = std::make_unique<testservice::MeetingService>(
            testservice::generateMeeting({.seed = 1, .sessions = 24, .participants = 60, .days = 2}));
        // Small pages, so every bigger list is read over "Link" pages.
        service->setPageSize(10);
        ASSERT_TRUE(service->start());
        QVAApiManager::setServiceRoot(service->rootURL());
        setOnline(true);
    }
    void TearDown() override {
        QVAApiManager::setServiceRoot(std::nullopt);
        service->stop();
        QNNetworkReachabilityManager::sharedManager().stopMonitoring();
        network::Reachability::setSimulatedFlags(std::nullopt);
        settings.clear();
        StoreTest::TearDown();
    }

    void setOnline(bool online) {
        auto& reachability = QNNetworkReachabilityManager::sharedManager();
        network::Reachability::setSimulatedFlags(online ? network::ReachabilityFlag::Reachable : 0);
        reachability.startMonitoring();
        ASSERT_TRUE(loop.runUntil(
            [&] {
                return online ? reachability.isReachableViaWiFi()
                              : reachability.networkReachabilityStatus() == QNNetworkReachabilityStatus::NotReachable;
            },
            kWait));
    }

    // Starts an operation and pumps the main run loop until it completes;
    // true when it ended without an error.
    bool run(const std::function<void(Done)>& start) {
        bool called = false, failed = true;
        start([&](const foundation::ErrorPtr& error, const foundation::Value&) {
            called = true;
            failed = error != nullptr;
        });
        return loop.runUntil([&] { return called; }, kWait) && !failed;
    }

    std::string token() const { return service->demoToken(); }
    std::string eventId() const { return service->eventId(); }
    std::string apiPath(const std::string& path) const { return "/api/v1/" + path; }

    std::shared_ptr<QVAUserAccount> account() const {
        return QVAUserAccount::initWithDictionary(foundation::Value::dictionary({{"accessToken", token()}}));
    }
    // The meeting as the service answers it (its feed address filled in).
    std::shared_ptr<QVAEvent> fetchEvent(const std::string& id) {
        std::shared_ptr<QVAEvent> event;
        bool done = false;
        QVAApiManager::sharedApiManager().getEventWithId(
            id, token(), [&](const foundation::ErrorPtr& error, const foundation::Value& result) {
                EXPECT_EQ(error, nullptr);
                event = result.objectAs<QVAEvent>();
                done = true;
            });
        EXPECT_TRUE(loop.runUntil([&] { return done; }, kWait));
        return event;
    }
    void makeCurrent(const std::shared_ptr<QVAUserAccount>& user, const std::shared_ptr<QVAEvent>& event) {
        settings.setCurrentAccount(user);
        settings.setCurrentEvent(event);
    }

    size_t count(const std::string& entity, const std::string& event) {
        auto stack = store.getCoreDataStackForAuthToken(token(), event);
        auto context = stack ? stack->managedObjectContextMainQueue() : nullptr;
        auto request = store.fetchRequestForItemType(EntityClass::named(entity), nullptr, context);
        return store.executeFetchRequestAndWait(request, context).size();
    }
};

}  // namespace apitest

// The home screen over a generated meeting loaded from the local service:
// the generator writes its dates as the service does, so the home screen's
// text comparisons and its mode agree with them.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "Utils/DateHelper.h"
#include "api/QVAApiManager.h"
#include "api/QVAApiManager_FullDownload.h"
#include "app/ShellTestSupport.h"
#include "foundation/Clock.h"
#include "foundation/Log.h"
#include "model/QVACoreDataSession.h"
#include "model/QVAEvent.h"
#include "model/QVAUserAccount.h"
#include "programme/SpotlightSectionDataModel.h"
#include "programme/SpotlightSessionModel.h"
#include "programme/SpotlightViewController.h"
#include "service/MeetingGenerator.h"
#include "service/MeetingService.h"

namespace {

using foundation::Value;
using Home = SpotlightViewController;
using Strings = std::vector<std::string>;

constexpr double kMeetingWait = 30.0;

class SpotlightGeneratedMeetingTest : public shelltest::ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        service_ = std::make_unique<testservice::MeetingService>(
            testservice::generateMeeting({.seed = 3, .sessions = 40, .participants = 80, .days = 4}));
        ASSERT_TRUE(service_->start());
        QVAApiManager::setServiceRoot(service_->rootURL());
        auto& reachability = QNNetworkReachabilityManager::sharedManager();
        network::Reachability::setSimulatedFlags(network::ReachabilityFlag::Reachable);
        reachability.startMonitoring();
        ASSERT_TRUE(loop().runUntil([&] { return reachability.isReachableViaWiFi(); }, kMeetingWait));
    }
    void TearDown() override {
        service_->stop();
        ShellTest::TearDown();
    }

    static foundation::RunLoop& loop() { return foundation::RunLoop::main(); }

    // The generated meeting, as the service answers it, downloaded into its
    // store and made current.
    void loadMeeting() {
        const std::string token = service_->demoToken();
        const std::string eventId = service_->eventId();
        std::shared_ptr<QVAEvent> event;
        bool fetched = false;
        QVAApiManager::sharedApiManager().getEventWithId(
            eventId, token, [&](const foundation::ErrorPtr& error, const Value& result) {
                EXPECT_EQ(error, nullptr);
                event = result.objectAs<QVAEvent>();
                fetched = true;
            });
        ASSERT_TRUE(loop().runUntil([&] { return fetched; }, kMeetingWait));
        ASSERT_TRUE(event);
        ASSERT_TRUE(open(token, eventId));
        auto account = QVAUserAccount::initWithDictionary(Value::dictionary({{"accessToken", token}}));
        settings.setCurrentAccount(account);
        settings.setCurrentEvent(event);

        bool loaded = false;
        QVAApiManagerFullDownload::loadAllDataForAccount(
            account, event, [](int32_t, int32_t, const std::optional<std::string>&) {},
            [&](const foundation::ErrorPtr& error, const Value&) {
                EXPECT_EQ(error, nullptr);
                loaded = true;
            });
        ASSERT_TRUE(loop().runUntil([&] { return loaded; }, kMeetingWait));
    }

    // The instant a service text names, for the virtual clock.
    static double instant(const std::string& serviceText) {
        auto date = DateHelper::dateFromServer(Value(serviceText), true);
        EXPECT_TRUE(date) << serviceText;
        return date ? date->timeIntervalSinceReferenceDate() : 0;
    }

    static Strings ids(const Home& home, int64_t section) {
        Strings out;
        if (auto model = home.sectionModelForSection(section))
            for (const auto& item : model->modelItems())
                if (auto row = std::dynamic_pointer_cast<SpotlightSessionModel>(item))
                    out.push_back(row->itemId().value_or(""));
        return out;
    }
    static bool has(const Strings& list, const std::string& id) {
        return std::find(list.begin(), list.end(), id) != list.end();
    }

    std::unique_ptr<testservice::MeetingService> service_;
};

TEST_F(SpotlightGeneratedMeetingTest, ASessionStartingNowRunsAndTheModeFollowsTheLastDay) {
    ASSERT_NO_FATAL_FAILURE(loadMeeting());
    auto sessions = rows<QVACoreDataSession>(service_->demoToken(), service_->eventId());
    ASSERT_GT(sessions.size(), 10u);
    std::sort(sessions.begin(), sessions.end(), [](const auto& a, const auto& b) {
        return a->startDatetime().value_or("") < b->startDatetime().value_or("");
    });
    const auto& session = sessions[sessions.size() / 2];
    const std::string id = session->itemId().value_or("");
    foundation::Clock::useVirtual(instant(session->startDatetime().value_or("")));

    foundation::ScopedLogCapture log;
    launch();
    auto home = rootOfTab<Home>(0);
    ASSERT_TRUE(home && home->isViewLoaded());
    EXPECT_TRUE(log.contains(Home::kBeforeOrDuringMeetingLog));
    EXPECT_FALSE(home->isCurrentMeetingInThePast());
    EXPECT_TRUE(has(ids(*home, Home::kWhatsOnNowSection), id)) << id;
    EXPECT_FALSE(has(ids(*home, Home::kComingUpSection), id)) << id;

    // The meeting's last day is 18 June: it is over at the next midnight there.
    foundation::Clock::useVirtual(instant("2026-06-19T00:00:00+02:00"));
    home->loadSpotlight();
    EXPECT_TRUE(home->isCurrentMeetingInThePast());
    EXPECT_TRUE(log.contains(Home::kAfterMeetingLog));
    foundation::Clock::useVirtual(instant("2026-06-18T23:59:59+02:00"));
    home->loadSpotlight();
    EXPECT_FALSE(home->isCurrentMeetingInThePast());
}

}  // namespace

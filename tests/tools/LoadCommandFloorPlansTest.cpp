// "load" is done only with the meeting's floor plans: a plan the service
// would not give makes it say so, in its closing line too, and fail,
// however complete the content; a later "dump" warns of it. The plans it
// judges are those of the venues as the load leaves them, fetched by a run
// of its own when another was under way.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "foundation/StringUtils.h"
#include "settings/ApplicationSettingsStore.h"
#include "quovana/Cli.h"
#include "service/MeetingGenerator.h"
#include "service/MeetingService.h"
#include "support/TemporaryDirectory.h"
#include "tools/InProcessCommandState.h"

TEST(LoadCommandFloorPlans, AFailedPlanFailsTheLoadUntilItArrives) {
    InProcessCommandState state;
    state.enter();
    TemporaryDirectory home;
    testservice::MeetingService service(testservice::generateMeeting({.seed = 21, .sessions = 20, .participants = 60, .days = 1}));
    ASSERT_TRUE(service.start());
    std::string plan;
    for (const auto& [path, file] : service.snapshot().files)
        if (plan.empty() && path.rfind("/files/maps/", 0) == 0) plan = path;
    service.injectFault("GET", plan, {.status = 401, .body = R"({"error":"Invalid access token"})"});
    std::ostringstream out, err;
    auto run = [&](std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--service", service.rootURL(), "--home", home.path()});
        out.str("");
        err.str("");
        return quovana::runCli(arguments, out, err);
    };
    EXPECT_EQ(run({"login", testservice::kDemoUsername, testservice::kDemoPassword}), 0);

    EXPECT_EQ(run({"load"}), 1) << out.str() << err.str();
    EXPECT_TRUE(foundation::StringUtils::contains(
        err.str(), "the floor plans are incomplete: Unable to download all Interactive Maps Files!"))
        << err.str();
    // The closing line says so too.
    EXPECT_TRUE(foundation::StringUtils::contains(out.str(), "): incomplete, the floor plans are not all there"))
        << out.str();
    const std::string warning = "did not get all its floor plans";
    EXPECT_EQ(run({"dump", "QVACoreDataVenue", "--fields", "itemId"}), 0) << err.str();
    EXPECT_TRUE(foundation::StringUtils::contains(err.str(), warning)) << err.str();

    service.clearFaults();
    EXPECT_EQ(run({"load"}), 0) << out.str() << err.str();
    EXPECT_FALSE(foundation::StringUtils::contains(err.str(), "floor plans are incomplete")) << err.str();
    EXPECT_EQ(run({"dump", "QVACoreDataVenue", "--fields", "itemId"}), 0) << err.str();
    EXPECT_FALSE(foundation::StringUtils::contains(err.str(), warning)) << err.str();
    service.stop();
    state.leave();
}

namespace {

class LoadOfACompleteStore : public ::testing::Test {
protected:
    void SetUp() override {
        state_.enter();
        ASSERT_TRUE(service_.start());
        ASSERT_EQ(run({"login", testservice::kDemoUsername, testservice::kDemoPassword}), 0) << err_.str();
        ASSERT_EQ(run({"load"}), 0) << out_.str() << err_.str();
    }
    void TearDown() override {
        service_.stop();
        state_.leave();
    }

    int run(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--service", service_.rootURL(), "--home", home_.path()});
        out_.str("");
        err_.str("");
        return quovana::runCli(arguments, out_, err_);
    }

    // The first floor-plan file the service serves.
    std::string firstPlan() const {
        for (const auto& [path, file] : service_.snapshot().files)
            if (path.rfind("/files/maps/", 0) == 0) return path;
        return {};
    }

    InProcessCommandState state_;
    TemporaryDirectory home_;
    testservice::MeetingService service_{
        testservice::generateMeeting({.seed = 22, .sessions = 20, .participants = 60, .days = 1})};
    std::ostringstream out_, err_;
};

// The delta's silent refresh of plans downloaded hours ago is under way when
// the load's own download would start: the load waits for it and fetches
// the plans itself, so a plan the service refuses is told, not "downloaded".
TEST_F(LoadOfACompleteStore, APlanDownloadAlreadyUnderWayIsWaitedForNotCountedAsDone) {
    ApplicationSettingsStore::sharedApplicationSettingsStore().setLastUpdateTimeInteractiveMaps(
        foundation::Date::now().dateByAddingTimeInterval(-3 * 3600));
    service_.injectFault("GET", firstPlan(), {.status = 500, .body = R"({"error":"Plans are being redrawn"})"});
    EXPECT_EQ(run({"load"}), 1) << out_.str() << err_.str();
    EXPECT_FALSE(foundation::StringUtils::contains(err_.str(), "floor plans downloaded")) << err_.str();
    EXPECT_TRUE(foundation::StringUtils::contains(err_.str(), "the floor plans are incomplete")) << err_.str();
}

// A floor the organiser just gave the primary venue reaches the store with
// the load's delta, and its plan is fetched in the same load.
TEST_F(LoadOfACompleteStore, APlanAddedSinceTheLastLoadIsFetchedAfterTheDelta) {
    const std::string first = firstPlan();
    const std::string added = first.substr(0, first.rfind('/') + 1) + "added-floor.svg";
    std::string venueId;
    service_.mutate([&](testservice::MeetingData& data) {
        data.files[added] = data.files[first];
        for (auto& venue : data.items(testservice::MeetingKind::Venues)) {
            if (!venue["primary"].boolValue()) continue;
            auto& levels = *(*venue.dictionary())["floorLevels"].array();
            foundation::Value level = levels.front();
            const std::string href = service_.urlFor(added);
            (*level.dictionary())["level"] = foundation::Value(9);
            (*level.dictionary())["name"] = foundation::Value("Roof");
            (*level.dictionary())["default"] = foundation::Value(false);
            (*level.dictionary())["imageUrl"] = foundation::Value(href);
            (*level.dictionary())["interactive_maps"] = foundation::Value(foundation::Value::Array{
                foundation::Value::dictionary({{"href", href}, {"rel", "added-floor.svg"}})});
            levels.push_back(level);
            venueId = venue["id"].stringValue();
        }
    });
    ASSERT_TRUE(service_.bumpRevision(testservice::MeetingKind::Venues, venueId));
    EXPECT_EQ(run({"load"}), 0) << out_.str() << err_.str();
    EXPECT_EQ(service_.requestCount("GET", added), 1u) << out_.str() << err_.str();
    EXPECT_TRUE(foundation::StringUtils::contains(out_.str(), "): complete")) << out_.str();
}

}  // namespace

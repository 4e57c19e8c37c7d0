// The app mode's location commands and options, heard by a location manager
// of the test's own: what each command delivers, the device switches the
// options set for the run (and put back after it), and the errors when no
// manager listens or the words are wrong.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "api/QVAApiManager.h"
#include "eventkit/EKEventStore.h"
#include "foundation/ApplicationHome.h"
#include "location/CLBeaconRegion.h"
#include "location/CLLocationManager.h"
#include "location/CLLocationManagerDelegate.h"
#include "quovana/AppOptions.h"
#include "quovana/Cli.h"
#include "support/TemporaryDirectory.h"
#include "uikit/ScreenDriver.h"
#include "foundation/StringUtils.h"

namespace {

using location::CLLocationManager;

using foundation::StringUtils::contains;

// Each callback as a line, with the device switches as the app saw them.
class Listener : public location::CLLocationManagerDelegate {
public:
    std::vector<std::string> calls;
    std::vector<double> fixTimes;

    void note(const std::string& call) {
        calls.push_back(call + (CLLocationManager::isRangingAvailable() ? "" : " [no ranging]"));
    }
    void locationManagerDidRangeBeaconsInRegion(CLLocationManager&, const std::vector<location::CLBeaconPtr>& beacons,
                                                const location::CLBeaconRegionPtr&) override {
        std::string text = "range";
        for (const auto& b : beacons)
            text += " " + std::to_string(b->major()) + ":" + std::to_string(b->minor()) + ":" +
                    location::proximityName(b->proximity());
        note(text);
    }
    void locationManagerRangingBeaconsDidFailForRegionWithError(CLLocationManager&, const location::CLBeaconRegionPtr&,
                                                                const foundation::ErrorPtr&) override {
        note("range-fail");
    }
    void locationManagerDidEnterRegion(CLLocationManager&, const location::CLRegionPtr&) override { note("enter"); }
    void locationManagerDidExitRegion(CLLocationManager&, const location::CLRegionPtr&) override { note("exit"); }
    void locationManagerDidDetermineStateForRegion(CLLocationManager&, location::CLRegionState state,
                                                   const location::CLRegionPtr&) override {
        note("state " + std::to_string(static_cast<int>(state)));
    }
    void locationManagerDidUpdateToLocationFromLocation(CLLocationManager&, const location::CLLocationPtr& fix,
                                                        const location::CLLocationPtr&) override {
        fixTimes.push_back(fix->timestamp().timeIntervalSinceReferenceDate());
        note("location " + std::to_string(static_cast<int>(fix->horizontalAccuracy())));
    }
    void locationManagerDidFailWithError(CLLocationManager&, const foundation::ErrorPtr&) override {
        note("location-fail");
    }
};

class LocationCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        previousHome_ = foundation::ApplicationHome::root();
        manager = CLLocationManager::create();
        manager->setDelegate(listener);
        auto region = location::CLBeaconRegion::create("U", 1, std::string("kestrow center 1"));
        manager->startMonitoringForRegion(region);
        manager->startRangingBeaconsInRegion(region);
        manager->startUpdatingLocation();
    }
    void TearDown() override {
        uikit::ScreenDriver::setObjectHandOver({});
        QVAApiManager::setServiceRoot(std::nullopt);
        foundation::ApplicationHome::setRoot(previousHome_);
        CLLocationManager::resetClassSwitches();
    }

    // The gallery, which makes no manager of its own, on the test's home.
    int run(std::vector<std::string> options, const std::string& script, std::string* output = nullptr) {
        std::vector<std::string> arguments = {"--home", home_.path(), "--service", "http://127.0.0.1:9/api",
                                              "app", "--gallery"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        std::istringstream in(script);
        std::ostringstream out, err;
        const int status = quovana::runCli(arguments, in, out, err);
        if (output) *output = out.str() + err.str();
        return status;
    }

    std::shared_ptr<Listener> listener = std::make_shared<Listener>();
    std::shared_ptr<CLLocationManager> manager;
    TemporaryDirectory home_;
    std::string previousHome_;
};

TEST_F(LocationCommandsTest, EachCommandDeliversToTheManagerThatListens) {
    std::string out;
    const int status = run({"--clock", "2026-06-16T10:00:00+02:00"},
                           "region enter \"kestrow center 1\"\n"
                           "region-state \"kestrow center 1\" outside\n"
                           "range \"kestrow center 1\" 1:2:0.8 1:3:4.5:immediate 1:4:-1 1:5:0.2\n"
                           "range \"kestrow center 1\"\n"
                           "range-fail \"kestrow center 1\"\n"
                           "location 46.2254,6.1372 10 11\n"
                           "location-fail\n"
                           "region exit \"kestrow center 1\"\n",
                           &out);
    EXPECT_EQ(status, 0) << out;
    EXPECT_EQ(listener->calls,
              (std::vector<std::string>{"enter", "state 2", "range 1:2:near 1:3:immediate 1:4:unknown 1:5:immediate",
                                        "range", "range-fail", "location 10", "location-fail", "exit"}));
    ASSERT_EQ(listener->fixTimes.size(), 1u);
    EXPECT_DOUBLE_EQ(listener->fixTimes[0], *quovana::parseInstant("2026-06-16T10:00:00+02:00") - 11);
}

TEST_F(LocationCommandsTest, NobodyListeningOrWrongWordsAreReportedAndChangeNothing) {
    std::string out;
    manager->stopUpdatingLocation();
    EXPECT_EQ(run({}, "region enter elsewhere\nrange-fail elsewhere\nlocation 1,2 5\n", &out), 1);
    EXPECT_TRUE(contains(out, "error: no location manager monitors the region \"elsewhere\"")) << out;
    EXPECT_TRUE(contains(out, "error: no location manager ranges the region \"elsewhere\""));
    EXPECT_TRUE(contains(out, "error: no location manager updates locations"));

    EXPECT_EQ(run({}, "range \"kestrow center 1\" 1:2\nregion-state \"kestrow center 1\" maybe\nlocation 46.2 10\n"
                      "range \"kestrow center 1\" 1:2:0.5:close\n", &out), 2);
    EXPECT_TRUE(contains(out, "usage: range ID [MAJOR:MINOR:ACCURACY[:PROXIMITY] ...]")) << out;
    EXPECT_TRUE(contains(out, "usage: region-state ID inside|outside|unknown"));
    EXPECT_TRUE(contains(out, "usage: location LAT,LON ACCURACY [AGE]"));
    EXPECT_TRUE(listener->calls.empty());
}

TEST_F(LocationCommandsTest, TheDeviceSwitchesHoldForTheRunOnly) {
    EXPECT_EQ(run({"--ranging", "off", "--location-services", "off", "--location-authorization", "2"},
                  "region enter \"kestrow center 1\"\n"),
              0);
    EXPECT_EQ(listener->calls, std::vector<std::string>{"enter [no ranging]"});
    EXPECT_TRUE(CLLocationManager::isRangingAvailable());
    EXPECT_TRUE(CLLocationManager::locationServicesEnabled());
    EXPECT_EQ(CLLocationManager::authorizationStatus(), location::CLAuthorizationStatus::AuthorizedAlways);

    EXPECT_EQ(run({"--ranging", "maybe"}, ""), 2);
    EXPECT_EQ(run({"--location-services", "1"}, ""), 2);
    EXPECT_EQ(run({"--location-authorization", "5"}, ""), 2);
}

// The titles of the writable calendars the home's device holds, sorted.
std::vector<std::string> writableCalendarTitles() {
    // The calendars show to an app the user let in.
    const auto access = eventkit::EKEventStore::authorizationStatusForEntityType(eventkit::EKEntityType::Event);
    eventkit::EKEventStore::setAuthorizationStatus(eventkit::EKEntityType::Event,
                                                   eventkit::EKAuthorizationStatus::Authorized);
    std::vector<std::string> titles;
    for (const auto& calendar : eventkit::EKEventStore::create()->calendarsForEntityType(eventkit::EKEntityType::Event))
        if (calendar->allowsContentModifications()) titles.push_back(calendar->title());
    eventkit::EKEventStore::setAuthorizationStatus(eventkit::EKEntityType::Event, access);
    std::sort(titles.begin(), titles.end());
    return titles;
}

TEST_F(LocationCommandsTest, EachCalendarOptionMakesADeviceCalendarBeforeTheLaunch) {
    std::string out;
    EXPECT_EQ(run({"--calendar", "Work", "--calendar", "Family"}, "", &out), 0) << out;
    EXPECT_EQ(writableCalendarTitles(), (std::vector<std::string>{"Calendar", "Family", "Work"}));
}

// As a phone comes with one, the device has a calendar the agenda can be
// synced into without --calendar, kept in the home: a later run neither
// makes it again nor loses it beside the ones --calendar adds.
TEST_F(LocationCommandsTest, TheDeviceHasItsOwnCalendarOnceInTheHome) {
    std::string out;
    EXPECT_EQ(run({}, "", &out), 0) << out;
    EXPECT_EQ(writableCalendarTitles(), (std::vector<std::string>{"Calendar"}));
    EXPECT_EQ(run({"--calendar", "Work"}, "", &out), 0) << out;
    EXPECT_EQ(run({}, "", &out), 0) << out;
    EXPECT_EQ(writableCalendarTitles(), (std::vector<std::string>{"Calendar", "Work"}));
}

TEST(AppOptionsLocationTest, OptionsAreReadIntoTheirFields) {
    quovana::AppOptions options;
    EXPECT_EQ(quovana::parseAppOptions({"--ranging", "off", "--location-services", "on", "--location-authorization",
                                        "4", "--calendar", "Work", "--calendar", "Home"},
                                       true, options),
              "");
    EXPECT_EQ(options.ranging, false);
    EXPECT_EQ(options.locationServices, true);
    EXPECT_EQ(options.locationAuthorization, 4);
    EXPECT_EQ(options.calendars, (std::vector<std::string>{"Work", "Home"}));
}

}  // namespace

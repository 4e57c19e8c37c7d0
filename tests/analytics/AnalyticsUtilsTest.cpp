// The analytics facade and its archive: super-properties, the queue's order
// across threads and launches, the crash-log line of every tracked event, and
// damaged archives that read as their valid records.
#include <gtest/gtest.h>

#include <memory>
#include <source_location>
#include <thread>

#include "analytics/AnalyticsEventArchive.h"
#include "analytics/AnalyticsUtils.h"
#include "crashreporting/CrashReporter.h"
#include "foundation/ApplicationHome.h"
#include "foundation/Clock.h"
#include "foundation/FileManager.h"
#include "foundation/Log.h"
#include "support/TemporaryDirectory.h"

using namespace foundation;

namespace {

// Stands in for the app's settings store.
struct FakeSuperPropertiesProvider : AnalyticsSuperPropertiesProvider {
    std::optional<std::string> eventId() const override { return eventId_; }
    std::optional<std::string> eventName() const override { return eventName_; }
    std::optional<std::string> userId() const override { return userId_; }
    std::optional<std::string> eventId_, eventName_, userId_;
};

// A fresh application home on a virtual clock.
struct AnalyticsHome : TemporaryDirectory {
    static constexpr double kStart = 1000;
    AnalyticsHome() { ApplicationHome::setRoot(path()), Clock::useVirtual(kStart); }
    ~AnalyticsHome() { Clock::useReal(), ApplicationHome::setRoot(previous); }
    std::string previous = ApplicationHome::root();
};

std::string record(const std::string& json) {
    uint32_t n = uint32_t(json.size());
    return std::string{char(n >> 24), char(n >> 16), char(n >> 8), char(n)} + json;
}

void append(const std::string& path, const std::string& bytes) {
    auto data = FileManager::defaultManager().contentsAtPath(path).value_or(Data());
    data.append(bytes);
    ASSERT_TRUE(FileManager::defaultManager().writeData(data, path, true));
}

}  // namespace

TEST(AnalyticsUtils, TrackedEventsQueueInOrderWithSuperPropertiesAndSurviveALaunch) {
    AnalyticsHome home;
    AnalyticsUtils::initializeAnalytics();
    EXPECT_TRUE(AnalyticsUtils::queuedEvents().empty());
    EXPECT_EQ(AnalyticsUtils::archivePath(), home / "Library/Analytics/events.archive");
    auto provider = std::make_shared<FakeSuperPropertiesProvider>();
    provider->eventId_ = "501";
    provider->eventName_ = "Annual Meeting";
    AnalyticsUtils::setSuperPropertiesProvider(provider);
    AnalyticsUtils::registerSuperProperties();
    std::map<std::string, std::string> supers{{"Event id", "501"}, {"Event name", "Annual Meeting"}};
    EXPECT_EQ(AnalyticsUtils::superProperties(), supers);
    EXPECT_EQ(CrashReporter::customValues()["Event name"], "Annual Meeting");
    EXPECT_FALSE(CrashReporter::customValues().count("User id"));

    std::string function = std::source_location::current().function_name();
    int startLine = __LINE__ + 1;
    AnalyticsUtils::trackEventWithName("Start app");
    Clock::advance(2.5);
    int changeLine = __LINE__ + 1;
    AnalyticsUtils::trackEventWithNameAndData(
        "Change event", {{"New event name", Value("Board")}, {"New event id", Value(502)}, {"Session id", Value()}});
    auto crashLog = CrashReporter::logLines();
    ASSERT_GE(crashLog.size(), 2u);
    EXPECT_EQ(crashLog[crashLog.size() - 2],
              function + " line " + std::to_string(startLine) + " $ User performed event Start app with data (null)");
    std::string changed = crashLog.back();
    EXPECT_EQ(changed.rfind(function + " line " + std::to_string(changeLine) +
                                " $ User performed event Change event with data {", 0), 0u) << changed;
    EXPECT_NE(changed.find("Board"), std::string::npos);
    EXPECT_EQ(changed.find("Session id"), std::string::npos);

    provider->userId_ = "77";
    AnalyticsUtils::clearSuperProperties();
    AnalyticsUtils::trackEventWithName("Log out");
    std::vector<AnalyticsEvent> expected{
        {"Start app", {}, supers, Date(AnalyticsHome::kStart)},
        {"Change event", {{"New event id", "502"}, {"New event name", "Board"}}, supers,
         Date(AnalyticsHome::kStart + 2.5)},
        {"Log out", {}, {}, Date(AnalyticsHome::kStart + 2.5)},
    };
    EXPECT_EQ(AnalyticsUtils::queuedEvents(), expected);
    EXPECT_EQ(AnalyticsEventArchive::read(AnalyticsUtils::archivePath()).events, expected);

    // A new launch finds the queue as it was, and no super-properties until they are registered.
    AnalyticsUtils::initializeAnalytics();
    EXPECT_TRUE(AnalyticsUtils::superProperties().empty());
    EXPECT_EQ(AnalyticsUtils::queuedEvents(), expected);
    AnalyticsUtils::registerSuperProperties();
    EXPECT_EQ(AnalyticsUtils::superProperties().at("User id"), "77");
    EXPECT_EQ(CrashReporter::customValues()["User id"], "77");
}

TEST(AnalyticsUtils, EventsFromManyThreadsAllArriveInEachThreadsOrder) {
    AnalyticsHome home;
    AnalyticsUtils::initializeAnalytics();
    constexpr int kThreads = 4, kEach = 50;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([t] {
            for (int i = 0; i < kEach; ++i)
                AnalyticsUtils::trackEventWithNameAndData("Tap", {{"thread", Value(t)}, {"n", Value(i)}});
        });
    for (auto& thread : threads) thread.join();
    auto events = AnalyticsUtils::queuedEvents();
    ASSERT_EQ(events.size(), size_t(kThreads * kEach));
    std::vector<int> next(kThreads, 0);
    for (const auto& event : events)
        EXPECT_EQ(std::stoi(event.properties.at("n")), next[std::stoi(event.properties.at("thread"))]++);
    EXPECT_EQ(AnalyticsEventArchive::read(AnalyticsUtils::archivePath()).events, events);
}

TEST(AnalyticsEventArchive, DamageReadsAsTheRecordsBeforeItAndALaunchCutsIt) {
    AnalyticsHome home;
    std::string path = home / "Library/Analytics/events.archive";
    ASSERT_TRUE(FileManager::defaultManager().createDirectoryAtPath(home / "Library/Analytics", true));
    std::vector<AnalyticsEvent> events{{"Start app", {}, {{"User id", "7"}}, Date(1)},
                                       {"Send message", {{"to", "Ann"}}, {}, Date(2)}};
    for (std::string damage : {std::string("\0\0", 2), record("{\"name\":\"cut short\"").substr(0, 12),
                               std::string("\xFF\xFF\xFF\xFF{}", 6), record("not json"),
                               record(R"({"name":3,"properties":{},"superProperties":{},"time":1})"),
                               record(R"({"name":"x","properties":{"n":1},"superProperties":{},"time":1})")}) {
        ASSERT_TRUE(AnalyticsEventArchive::write(events, path));
        uint64_t whole = AnalyticsEventArchive::read(path).fileLength;
        append(path, damage);
        append(path, record(R"({"name":"after","properties":{},"superProperties":{},"time":3})"));
        auto read = AnalyticsEventArchive::read(path);
        EXPECT_EQ(read.events, events);
        EXPECT_EQ(read.validLength, whole);
        EXPECT_GT(read.fileLength, whole);
    }

    ScopedLogCapture log;
    AnalyticsUtils::initializeAnalytics();
    AnalyticsUtils::trackEventWithName("Stop app");
    events.push_back({"Stop app", {}, {}, Date(AnalyticsHome::kStart)});
    EXPECT_EQ(AnalyticsUtils::queuedEvents(), events);
    EXPECT_TRUE(log.contains("[Analytics] Dropped ")) << ::testing::PrintToString(log.lines());
    auto read = AnalyticsEventArchive::read(path);
    EXPECT_EQ(read.events, events);
    EXPECT_EQ(read.validLength, read.fileLength);

    ASSERT_TRUE(FileManager::defaultManager().writeData(Data::fromString("\x7F garbage"), path, true));
    EXPECT_TRUE(AnalyticsEventArchive::read(path).events.empty());
}

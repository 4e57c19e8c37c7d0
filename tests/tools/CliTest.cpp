// The command-line front run in-process against the local meeting service:
// the user's road (login, load, delta, dump, settings, outbox, threads) and
// the answers to bad input (exit 2 for usage, 1 for what the app reports).
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

#include "api/ApplicationService.h"
#include "settings/ApplicationSettingsStore.h"
#include "api/SyncCalendarService.h"
#include "eventkit/EKEventStore.h"
#include "api/QVAApiManager.h"
#include "foundation/ApplicationHome.h"
#include "foundation/FileManager.h"
#include "graphics/Bitmap.h"
#include "foundation/JSONSerialization.h"
#include "foundation/Log.h"
#include "foundation/RunLoop.h"
#include "model/QVAEvent.h"
#include "network/Reachability.h"
#include "quovana/Cli.h"
#include "quovana/CommandContext.h"
#include "service/MeetingGenerator.h"
#include "service/MeetingService.h"
#include "service/TestCertificateAuthority.h"
#include "store/StorageManager.h"
#include "support/TemporaryDirectory.h"
#include "tools/InProcessCommandState.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIApplication.h"

using foundation::Value;
using testservice::MeetingKind;
using testservice::MeetingService;

namespace {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

class CliTest : public ::testing::Test {
protected:
    // One service for the suite: stopping one waits out its clients' idle
    // connections. Each test has its own home, so its own account and store.
    static void SetUpTestSuite() {
        service_ = std::make_unique<MeetingService>(
            testservice::generateMeeting({.seed = 3, .sessions = 30, .participants = 120, .days = 2}));
        ASSERT_TRUE(service_->start());
    }
    static void TearDownTestSuite() { service_.reset(); }

    void SetUp() override {
        ASSERT_TRUE(service_);
        state_.enter();
    }
    void TearDown() override { state_.leave(); }

    // The command with the service and the home in front.
    CliRun run(std::vector<std::string> arguments, const std::string& serviceRoot = {}) {
        std::vector<std::string> full = {"--service", serviceRoot.empty() ? service_->rootURL() : serviceRoot,
                                         "--home", home_.path()};
        full.insert(full.end(), arguments.begin(), arguments.end());
        std::ostringstream out, err;
        CliRun result;
        result.status = quovana::runCli(full, out, err);
        result.out = out.str();
        result.err = err.str();
        return result;
    }

    CliRun loginAndLoad() {
        CliRun login = run({"login", testservice::kDemoUsername, testservice::kDemoPassword});
        EXPECT_EQ(login.status, 0) << login.err;
        return run({"load"});
    }

    static std::unique_ptr<MeetingService> service_;
    TemporaryDirectory home_;
    InProcessCommandState state_;
};

std::unique_ptr<MeetingService> CliTest::service_;

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) out.push_back(line);
    return out;
}

TEST_F(CliTest, LoginLoadDeltaDumpAndSettingsWalkTheUsersRoad) {
    CliRun load = loginAndLoad();
    ASSERT_EQ(load.status, 0) << load.err;
    EXPECT_NE(load.out.find("22/22 "), std::string::npos) << load.out;
    EXPECT_NE(load.out.find("): complete"), std::string::npos) << load.out;
    // The floor plans are parsed on a worker after their download: the
    // command ends only once that is over, not when the download flag drops.
    EXPECT_NE(load.err.find("floor plans downloaded"), std::string::npos) << load.err;
    EXPECT_FALSE(ApplicationSettingsStore::sharedApplicationSettingsStore().currentEventIsDownloadingOrParsingIMaps());
    // A second load finds the store complete and says on the output, where
    // the progress would be, that a forced delta runs instead.
    CliRun reload = run({"load"});
    ASSERT_EQ(reload.status, 0) << reload.err;
    EXPECT_NE(reload.out.find("the store was complete: a forced delta update runs instead"), std::string::npos)
        << reload.out;
    EXPECT_EQ(reload.out.find("22/22 "), std::string::npos) << reload.out;

    // The service changes one session; the forced delta brings it in.
    Value session = service_->items(MeetingKind::Sessions).front();
    const std::string id = session["id"].stringValue();
    session[std::string("title")] = Value(std::string("Moved session"));
    service_->putItem(MeetingKind::Sessions, session);
    auto revision = service_->bumpRevision(MeetingKind::Sessions, id);
    ASSERT_TRUE(revision);
    CliRun delta = run({"delta", "--force"});
    ASSERT_EQ(delta.status, 0) << delta.err;
    EXPECT_NE(delta.out.find("delta update done"), std::string::npos);
    // A plain check right after is throttled and says so.
    CliRun throttled = run({"delta"});
    EXPECT_EQ(throttled.status, 0);
    EXPECT_NE(throttled.out.find("no delta update"), std::string::npos) << throttled.out;

    CliRun dump = run({"dump", "QVACoreDataSession", "--fields", "itemId,revision"});
    ASSERT_EQ(dump.status, 0) << dump.err;
    auto rows = lines(dump.out);
    ASSERT_EQ(rows.size(), 30u);
    bool sawChanged = false;
    for (const auto& line : rows) {
        Value row = foundation::JSONSerialization::JSONObjectWithString(line);
        ASSERT_TRUE(row.isDictionary()) << line;
        EXPECT_EQ(row.count(), 2u) << line;
        if (row["itemId"].stringValue() == id) {
            sawChanged = true;
            EXPECT_EQ(row["revision"].stringValue(), std::to_string(*revision));
        }
    }
    EXPECT_TRUE(sawChanged);
    CliRun where = run({"dump", "QVACoreDataSession", "--where", "itemId == '" + id + "'", "--fields", "title"});
    ASSERT_EQ(where.status, 0) << where.err;
    EXPECT_EQ(where.out, "{\"title\":\"Moved session\"}\n");

    CliRun settings = run({"settings", "dump"});
    ASSERT_EQ(settings.status, 0);
    EXPECT_NE(settings.out.find("\"key\":\"CurrentAccount\""), std::string::npos);
    EXPECT_NE(settings.out.find("\"key\":\"PersistentStoresValidityKey\""), std::string::npos);
    EXPECT_EQ(run({"settings", "set", "AutomaticallyCheckForContentUpdates", "false"}).status, 0);
    EXPECT_FALSE(ApplicationSettingsStore::sharedApplicationSettingsStore().automaticallyCheckForContentUpdates());
    EXPECT_EQ(run({"settings", "get", "AutomaticallyCheckForContentUpdates"}).out, "false\n");
    CliRun automatic = run({"delta", "--auto"});
    EXPECT_EQ(automatic.status, 0);
    EXPECT_NE(automatic.out.find("switched off"), std::string::npos);

    CliRun refresh = run({"refresh", "participants"});
    EXPECT_EQ(refresh.status, 0) << refresh.err;
    CliRun messages = run({"refresh", "messages"});
    EXPECT_EQ(messages.status, 0) << messages.err;
}

TEST_F(CliTest, OutboxSendsWhenOnlineAndThreadsAreMarkedRead) {
    network::Reachability::setSimulatedFlags(network::ReachabilityFlag::Reachable | network::ReachabilityFlag::IsDirect);
    ASSERT_EQ(loginAndLoad().status, 0);
    const size_t writesBefore = service_->writes().size();
    CliRun queued = run({"outbox", "queue", "100002,100003", "Hello", "See you at the dinner"});
    ASSERT_EQ(queued.status, 0) << queued.err;
    EXPECT_NE(queued.out.find("0 messages wait"), std::string::npos) << queued.out;
    auto writes = service_->writes();
    ASSERT_GT(writes.size(), writesBefore);
    EXPECT_EQ(writes.back().method, "POST");
    EXPECT_EQ(writes.back().body["subject"].stringValue(), "Hello");

    // An unread thread of the stored messages becomes read on both sides.
    CliRun unread = run({"dump", "QVACoreDataMessage", "--where", "isRead == NO", "--fields", "threadId"});
    ASSERT_EQ(unread.status, 0) << unread.err;
    auto rows = lines(unread.out);
    ASSERT_FALSE(rows.empty());
    const std::string thread =
        foundation::JSONSerialization::JSONObjectWithString(rows.front())["threadId"].stringValue();
    CliRun read = run({"thread", "read", thread});
    ASSERT_EQ(read.status, 0) << read.err;
    EXPECT_NE(read.out.find(", 0 unread"), std::string::npos) << read.out;
}

TEST_F(CliTest, BadInputGetsAClearMessageAndItsExitCode) {
    CliRun unknown = run({"fly"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("unknown command \"fly\""), std::string::npos);
    EXPECT_EQ(run({"login", "only-user"}).status, 2);
    EXPECT_EQ(run({"delta", "--sometimes"}).status, 2);
    EXPECT_EQ(run({"refresh", "everything"}).status, 2);

    CliRun notLoggedIn = run({"load"});
    EXPECT_EQ(notLoggedIn.status, 1);
    EXPECT_NE(notLoggedIn.err.find("not logged in"), std::string::npos);

    CliRun wrong = run({"login", testservice::kDemoUsername, "not-the-password"});
    EXPECT_EQ(wrong.status, 1);
    // The alert's words and the service's reason, alone: the app's log of the
    // refusal (the answer's raw body among it) is in the home's log file.
    EXPECT_EQ(wrong.err,
              "quovana: Authentication failed! Invalid username or wrong password (the service says: Invalid username "
              "or password)\n");
    EXPECT_EQ(run({"login", "--passcode", "1"}).err, "quovana: Authentication failed! Invalid passcode\n");
    std::ifstream loginLog(home_.path() + "/quovana-login.log");
    const std::string logged((std::istreambuf_iterator<char>(loginLog)), std::istreambuf_iterator<char>());
    EXPECT_NE(logged.find("authentication/login"), std::string::npos) << logged;

    // A service that is not there: the port of a stopped one.
    MeetingService gone(testservice::generateMeeting({.sessions = 1, .participants = 2, .days = 1}));
    ASSERT_TRUE(gone.start());
    const std::string goneRoot = gone.rootURL();
    gone.stop();
    CliRun unreachable = run({"login", testservice::kDemoUsername, testservice::kDemoPassword}, goneRoot);
    EXPECT_EQ(unreachable.status, 1);
    EXPECT_NE(unreachable.err.find("An error occurred while logging in"), std::string::npos) << unreachable.err;

    // A service whose certificate no trusted authority signed.
    testservice::TestCertificateAuthority authority;
    auto selfSigned = authority.makeUntrustedServerCertificate();
    ASSERT_TRUE(selfSigned);
    MeetingService untrusted(testservice::generateMeeting({.sessions = 1, .participants = 2, .days = 1}),
                             {.tls = testservice::TestServer::TLSFiles{selfSigned->certificate, selfSigned->key}});
    ASSERT_TRUE(untrusted.start());
    CliRun refused = run({"login", testservice::kDemoUsername, testservice::kDemoPassword}, untrusted.rootURL());
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("The service's certificate is not trusted"), std::string::npos) << refused.err;
    // One its trusted authority signed for another host: not a matter of trust.
    auto elsewhere = authority.makeServerCertificateFor("DNS:meetings.example,IP:10.1.2.3");
    ASSERT_TRUE(elsewhere);
    testservice::TestCertificateAuthority::ScopedTrust trusted(authority.caFile());
    MeetingService misnamed(testservice::generateMeeting({.sessions = 1, .participants = 2, .days = 1}),
                            {.tls = testservice::TestServer::TLSFiles{elsewhere->certificate, elsewhere->key}});
    ASSERT_TRUE(misnamed.start());
    CliRun otherHost = run({"login", testservice::kDemoUsername, testservice::kDemoPassword}, misnamed.rootURL());
    EXPECT_EQ(otherHost.status, 1);
    EXPECT_NE(otherHost.err.find("The service's certificate is for another host (" + misnamed.rootURL() +
                                 "/v1/authentication/login): it names meetings.example, 10.1.2.3, not 127.0.0.1\n"),
              std::string::npos)
        << otherHost.err;

    // An option that applies once, given twice.
    CliRun twice = run({"--home", home_.path(), "settings", "dump"});
    EXPECT_EQ(twice.status, 2);
    EXPECT_NE(twice.err.find("--home is given twice"), std::string::npos) << twice.err;

    ASSERT_EQ(loginAndLoad().status, 0);
    CliRun entity = run({"dump", "QVACoreDataSpaceship"});
    EXPECT_EQ(entity.status, 2);
    EXPECT_NE(entity.err.find("unknown entity \"QVACoreDataSpaceship\""), std::string::npos);
    CliRun field = run({"dump", "QVACoreDataSession", "--fields", "itemId,colour"});
    EXPECT_EQ(field.status, 2);
    EXPECT_NE(field.err.find("no field \"colour\""), std::string::npos);
    CliRun predicate = run({"dump", "QVACoreDataSession", "--where", "itemId == AND"});
    EXPECT_EQ(predicate.status, 2);
    EXPECT_NE(predicate.err.find("malformed predicate"), std::string::npos);
    // A misspelt field in a predicate is named, not answered with no rows.
    CliRun misspelt = run({"dump", "QVACoreDataSession", "--where", "titel == 'x' OR itemId == '1'"});
    EXPECT_EQ(misspelt.status, 2);
    EXPECT_NE(misspelt.err.find("names \"titel\", which is not a field"), std::string::npos) << misspelt.err;
    EXPECT_TRUE(misspelt.out.empty());
    // A field of a sub-entity selects among the parent's rows.
    CliRun subField = run({"dump", "QVACoreDataBaseSession", "--where", "status != nil", "--fields", "itemId"});
    EXPECT_EQ(subField.status, 0) << subField.err;
    EXPECT_FALSE(subField.out.empty());
    EXPECT_EQ(run({"settings", "set", "ShowSwipeHintLabel", "{not json"}).status, 2);
    EXPECT_EQ(run({"dump", "QVACoreDataSession", "--fields", "itemId", "--fields", "title"}).status, 2);
    EXPECT_EQ(run({"thread", "read", "twelve"}).status, 2);
}

TEST_F(CliTest, CalendarSyncMovesTheMirrorAndUnsyncRemovesIt) {
    ASSERT_EQ(loginAndLoad().status, 0);
    auto device = ApplicationService::syncCalendarService()->eventStore();
    auto eventsIn = [&](const std::string& title) {
        for (const auto& calendar : device->calendarsForEntityType(eventkit::EKEntityType::Event))
            if (calendar->title() == title)
                return device->eventsMatchingPredicate(device->predicateForEventsWithStartDate(
                    foundation::Date::distantPast(), foundation::Date::distantFuture(),
                    std::vector<eventkit::EKCalendarPtr>{calendar}));
        return std::vector<eventkit::EKEventPtr>{};
    };
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();

    // Nothing mirrored yet: nothing to remove, and no failure.
    CliRun off = run({"calendar", "unsync"});
    EXPECT_EQ(off.status, 0) << off.err;
    EXPECT_NE(off.out.find("calendar sync is off"), std::string::npos) << off.out;

    ASSERT_EQ(run({"settings", "set", "CalendarAlertTimeKey", "4"}).status, 0);
    CliRun work = run({"calendar", "sync", "Cli Work"});
    ASSERT_EQ(work.status, 0) << work.err;
    const size_t mirrored = eventsIn("Cli Work").size();
    ASSERT_GT(mirrored, 0u);

    // Another calendar: the entries move along, none stay behind, and the
    // user's alert-time choice survives the move.
    CliRun home = run({"calendar", "sync", "Cli Home"});
    ASSERT_EQ(home.status, 0) << home.err;
    EXPECT_TRUE(eventsIn("Cli Work").empty());
    auto moved = eventsIn("Cli Home");
    ASSERT_EQ(moved.size(), mirrored);
    EXPECT_EQ(settings.calendarAlertTime(), 4);
    ASSERT_EQ(moved.front()->alarms().size(), 1u);
    EXPECT_EQ(moved.front()->alarms().front()->relativeOffset(), -1800);

    // An entry of the meeting that the map lost goes as well, though a
    // fresh process has no meeting store open when it unsyncs.
    auto stray = eventkit::EKEvent::eventWithEventStore(device);
    stray->setTitle("Stray");
    stray->setStartDate(moved.front()->startDate());
    stray->setEndDate(moved.front()->endDate());
    stray->setCalendar(moved.front()->calendar());
    stray->setLocation(settings.currentEvent()->eventName());
    ASSERT_TRUE(device->saveEvent(stray, eventkit::EKSpan::ThisEvent, true));
    StorageManager::sharedStorageManager().setCoreDataStackCaches({});
    CliRun unsync = run({"calendar", "unsync"});
    ASSERT_EQ(unsync.status, 0) << unsync.err;
    EXPECT_TRUE(eventsIn("Cli Home").empty());
    EXPECT_FALSE(settings.syncWithCalendar());
    EXPECT_EQ(settings.calendarAlertTime(), 0);
}

TEST_F(CliTest, ImageShowsWhatTheSerializerMadeOfAPhotoAndRefusesAPlan) {
    CliRun load = loginAndLoad();
    ASSERT_EQ(load.status, 0) << load.err;
    CliRun photos = run({"dump", "QVACoreDataParticipant", "--fields", "photoUrl"});
    ASSERT_EQ(photos.status, 0) << photos.err;
    std::string photo;
    for (const auto& line : lines(photos.out)) {
        Value row = foundation::JSONSerialization::JSONObjectWithString(line);
        if (row["photoUrl"].isString()) photo = row["photoUrl"].stringValue();
    }
    ASSERT_FALSE(photo.empty()) << photos.out;

    std::string png = home_.path() + "/photo.png";
    CliRun image = run({"image", photo, "--png", png});
    ASSERT_EQ(image.status, 0) << image.err;
    EXPECT_EQ(image.out,
              "MIME type: image/jpeg\nsize: 96 x 96 pixels\nscale: 1\nbits per component: 8\ninflated: yes\n"
              "frames: 1\nwrote " + png + "\n");
    auto written = foundation::FileManager::defaultManager().contentsAtPath(png);
    ASSERT_TRUE(written);
    auto bitmap = graphics::Bitmap::fromPNGData(*written);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->width(), 96);

    CliRun scaled = run({"image", photo, "--no-inflate", "--scale", "2"});
    ASSERT_EQ(scaled.status, 0) << scaled.err;
    EXPECT_NE(scaled.out.find("scale: 2\n"), std::string::npos);
    EXPECT_NE(scaled.out.find("inflated: no\n"), std::string::npos);

    std::string plan;
    for (const auto& [path, file] : service_->snapshot().files) {
        if (file.contentType == "image/svg+xml") plan = service_->baseURL() + path;
    }
    ASSERT_FALSE(plan.empty());
    CliRun refused = run({"image", plan});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("unacceptable content-type: image/svg+xml"), std::string::npos) << refused.err;
    EXPECT_EQ(run({"image"}).status, 2);
}

class RecordingDelegate : public uikit::UIAlertViewDelegate {
public:
    int64_t tapped = -1;
    void alertViewDidDismissWithButtonIndex(uikit::UIAlertView&, int64_t index) override { tapped = index; }
};

TEST(CliPumpTest, AWatchedLineLoggedOnAnotherThreadEndsThePump) {
    std::ostringstream out, err;
    quovana::CommandContext context(out, err);
    context.watchLog("Delta ready");
    // The pump only looks when woken: the line itself must wake it.
    std::thread logger([] { foundation::Log("%s", "Delta ready!!"); });
    EXPECT_TRUE(context.pump([&] { return context.logCount("Delta ready") == 1; }, 30));
    logger.join();
    EXPECT_NE(err.str().find("Delta ready!!"), std::string::npos) << err.str();
}

TEST(CliAlertTest, AlertsArePrintedAndAnsweredWithTheGivenButtonOrTheFirst) {
    for (const auto& [answer, expected] : {std::pair<std::optional<std::string>, int64_t>{std::nullopt, 0},
                                           {std::string("Cancel"), 1}}) {
        std::ostringstream out, err;
        quovana::CommandContext context(out, err);
        context.options().answer = answer;
        auto delegate = std::make_shared<RecordingDelegate>();
        auto alert = std::make_shared<uikit::UIAlertView>("New event available", "The event X is now available.",
                                                          delegate, "Load", std::vector<std::string>{"Cancel"});
        foundation::RunLoop::main().post([alert] { alert->show(); });
        ASSERT_TRUE(context.pump([&] { return delegate->tapped >= 0; }, 10));
        EXPECT_EQ(delegate->tapped, expected);
        ASSERT_EQ(context.alertLog().size(), 1u);
        EXPECT_EQ(context.alertLog().front(), "New event available | The event X is now available. | [Load], [Cancel]");
        EXPECT_TRUE(uikit::UIApplication::sharedApplication().visibleAlerts().empty());
    }
    // "alerts" says how they are answered, rather than being an unknown command.
    std::ostringstream out, err;
    EXPECT_EQ(quovana::runCli({"alerts"}, out, err), 0);
    EXPECT_NE(out.str().find("--answer BUTTON"), std::string::npos) << out.str();
}

}  // namespace

// A home run after run, as a person uses the demo: what the bundled service
// keeps there (a sent message whose recipient has no e-mail address, notes,
// the meeting's size), the device calendar's access and its one calendar of
// a title, the demo's own change at the service, and the scenes "open"
// reaches on a later run.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>

#include "api/ApplicationService.h"
#include "api/SyncCalendarService.h"
#include "eventkit/EKEventStore.h"
#include "eventkit/EKSource.h"
#include "foundation/ApplicationHome.h"
#include "foundation/JSONSerialization.h"
#include "foundation/StringUtils.h"
#include "quovana/DeviceCalendar.h"
#include "quovana/LocalServiceState.h"
#include "settings/ApplicationSettingsStore.h"
#include "service/MeetingGenerator.h"
#include "service/MeetingService.h"
#include "tools/InProcessCommandTest.h"

namespace {

using foundation::StringUtils::contains;
using foundation::Value;
using testservice::MeetingKind;

constexpr const char* kFirstDay = "2026-06-15T09:00:00+02:00";

class KeptHomeTest : public InProcessCommandTest {
protected:
    void SetUp() override {
        InProcessCommandTest::SetUp();
        foundation::ApplicationHome::setRoot(home_.path());
    }
};

TEST_F(KeptHomeTest, TheServiceStateKeepsValuesItLacksOutAndTheNotesAndSizeIn) {
    const testservice::MeetingGeneratorOptions size{.sessions = 12, .participants = 30};
    testservice::MeetingService first(testservice::generateMeeting(size));
    ASSERT_TRUE(first.start());
    // A recipient of the service's own lists carries no e-mail address.
    first.addMessage(Value::dictionary({{"threadId", 99},
                                        {"subject", "To someone without an address"},
                                        {"to", Value(Value::Array{Value::dictionary(
                                                   {{"participantId", "100002"}, {"mailAddress", Value()}})})}}));
    const std::string session = testservice::idText(first.items(MeetingKind::Sessions)[5]["id"]);
    first.putItem(MeetingKind::SessionNotes, Value::dictionary({{"id", "sn-" + session},
                                                                {"revision", 2},
                                                                {"sessionId", session},
                                                                {"note", "Written by the person"}}));
    ASSERT_TRUE(quovana::writeLocalServiceState(first, {size.sessions, size.participants}));

    const auto kept = quovana::readLocalServiceState();
    ASSERT_TRUE(kept);
    ASSERT_TRUE(kept->generated);
    EXPECT_EQ(*kept->generated, std::make_pair(12, 30));
    testservice::MeetingService second(testservice::generateMeeting(size));
    quovana::applyLocalServiceState(*kept, second);
    EXPECT_EQ(second.items(MeetingKind::Messages).back()["subject"].stringValue(), "To someone without an address");
    const auto note = second.item(MeetingKind::SessionNotes, "sn-" + session);
    ASSERT_TRUE(note);
    EXPECT_EQ((*note)["note"].stringValue(), "Written by the person");
}

// The device keeps the app's calendar access and its calendars between
// launches; a calendar made twice under one title is one calendar of the
// device's one own source, whether or not the app may see the calendars.
TEST_F(KeptHomeTest, TheCalendarAccessAndTheDevicesOwnCalendarAreKeptOnce) {
    using eventkit::EKAuthorizationStatus;
    using eventkit::EKEntityType;
    using eventkit::EKEventStore;
    EKEventStore::setAuthorizationStatus(EKEntityType::Event, EKAuthorizationStatus::NotDetermined);
    SyncCalendarService calendars(ApplicationSettingsStore::sharedApplicationSettingsStore());
    foundation::ErrorPtr error;
    ASSERT_TRUE(quovana::makeDeviceCalendar(calendars, "Work", &error)) << error;
    SyncCalendarService relaunched(ApplicationSettingsStore::sharedApplicationSettingsStore());
    ASSERT_TRUE(quovana::makeDeviceCalendar(relaunched, "Work", &error)) << error;
    ASSERT_TRUE(quovana::makeDeviceCalendar(relaunched, "Family", &error)) << error;
    std::set<std::string> sources;
    size_t work = 0;
    for (const auto& calendar : relaunched.eventStore()->deviceCalendars()) {
        sources.insert(calendar->source()->sourceIdentifier());
        work += calendar->title() == "Work" ? 1 : 0;
    }
    EXPECT_EQ(sources.size(), 1u);
    EXPECT_EQ(work, 1u);

    EKEventStore::setAuthorizationStatus(EKEntityType::Event, EKAuthorizationStatus::Authorized);
    ASSERT_TRUE(quovana::keepCalendarAccess());
    EKEventStore::setAuthorizationStatus(EKEntityType::Event, EKAuthorizationStatus::NotDetermined);
    quovana::restoreCalendarAccess();
    EXPECT_EQ(EKEventStore::authorizationStatusForEntityType(EKEntityType::Event), EKAuthorizationStatus::Authorized);
    EKEventStore::setAuthorizationStatus(EKEntityType::Event, EKAuthorizationStatus::NotDetermined);
}

// A message sent in one run is there in the next, which serves the meeting
// of the size the home was given without being told again; "open" takes an
// agenda entry by the id "dump" prints, and a list opened over a screen
// without a navigation controller gets one, so its rows open.
TEST_F(KeptHomeTest, ALaterRunListsTheSentThreadOnTheHomesMeeting) {
    const std::string send =
        "type Username demo\ntype Password quovana-demo\ntap row 1 0\n"
        "scroll 375,0 --view scrollView\nadvance 1.5\ntap button Skip\nadvance 11\n"
        "tap tab 3\ntap item Compose\ntype subjectField \"Kept between runs\"\n"
        "tap outlet toButton\ntap row 0 0\ntap item Send\n";
    CommandRun first = run({"app", "--clock", kFirstDay, "--generate", "12,30"}, send);
    ASSERT_EQ(first.status, 0) << first.out << first.err;
    EXPECT_FALSE(contains(first.err, "could not be kept")) << first.err;

    CommandRun invitations = run({"dump", "QVACoreDataAgendaInvitation", "--fields", "itemId"});
    ASSERT_EQ(invitations.status, 0) << invitations.err;
    const std::string invitation =
        foundation::JSONSerialization::JSONObjectWithString(invitations.out.substr(0, invitations.out.find('\n')))["itemId"]
            .stringValue();
    ASSERT_FALSE(invitation.empty()) << invitations.out;

    CommandRun second = run({"app", "--clock", kFirstDay},
                            "tap tab 3\npull\nopen ProgrammeDetailsViewController --object "
                            "QVACoreDataAgendaInvitation " + invitation + "\n");
    EXPECT_EQ(second.status, 0) << second.out << second.err;
    const size_t pulled = second.out.find("\n== pull");
    ASSERT_NE(pulled, std::string::npos) << second.out;
    EXPECT_TRUE(contains(second.out.substr(pulled), "Kept between runs")) << second.out;
    CommandRun sessions = run({"dump", "QVACoreDataSession", "--fields", "itemId"});
    EXPECT_EQ(std::count(sessions.out.begin(), sessions.out.end(), '\n'), 12) << sessions.out;
}

// Over the login screen, which has no navigation controller, an opened list
// comes in one of its own: its first row pushes the next screen rather than
// raising.
TEST_F(KeptHomeTest, AListOpenedOverTheLoginScreenPushesItsRows) {
    CommandRun app = run({"app", "--clock", kFirstDay, "--generate", "12,30"}, "open MoreViewController\ntap row 0 0\n");
    EXPECT_EQ(app.status, 0) << app.out;
    EXPECT_FALSE(contains(app.out, "raised an exception")) << app.out;
    EXPECT_TRUE(contains(app.out, "stack 1 OutsideMapsViewController")) << app.out;
}

// The demo's own change at the service is kept like a write the service
// took: a load on the demo's home serves the session as changed, not at the
// revision before, below what the store already holds. It is made once per
// home: a later demo finds it made.
TEST_F(KeptHomeTest, TheDemosChangeAtTheServiceOutlivesItsRun) {
    for (int time = 1; time <= 3; ++time) {
        CommandRun demo = run({"demo"});
        ASSERT_EQ(demo.status, 0) << demo.out << demo.err;
        ASSERT_TRUE(contains(demo.out, "the service changed session 300001")) << demo.out;
    }
    CommandRun load = run({"load"});
    ASSERT_EQ(load.status, 0) << load.out << load.err;
    CommandRun sessions = run({"dump", "QVACoreDataSession", "--fields", "itemId,title,revision"});
    ASSERT_EQ(sessions.status, 0) << sessions.err;
    const size_t at = sessions.out.find(R"({"itemId":"300001")");
    ASSERT_NE(at, std::string::npos) << sessions.out;
    const Value session =
        foundation::JSONSerialization::JSONObjectWithString(sessions.out.substr(at, sessions.out.find('\n', at) - at));
    EXPECT_EQ(session["revision"].stringValue(), "5");
    const std::string title = session["title"].stringValue();
    const std::string change = " (moved to the main hall)";
    EXPECT_TRUE(foundation::StringUtils::hasSuffix(title, change)) << title;
    EXPECT_EQ(title.find(change), title.size() - change.size()) << title;
}

}  // namespace

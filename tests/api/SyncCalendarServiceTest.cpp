// The device-calendar mirror over the calendar stand-in and a real meeting
// store: what one sync writes (and the map it keeps), what later syncs
// update, merge and remove, which events it never touches, the unsync, the
// failures that leave the calendar alone, the calendars offered, and the
// access request.
#include <gtest/gtest.h>

#include <filesystem>

#include "api/ApplicationService.h"
#include "api/SyncCalendarService.h"
#include "foundation/Bundle.h"
#include "model/QVACoreDataAgendaRole.h"
#include "model/QVACoreDataSession.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIApplication.h"
#include "Utils/MeetingStoreTestSupport.h"

namespace {

using namespace eventkit;
using foundation::Date;
using foundation::Value;
using meetingtest::Row;

constexpr const char* kSyncToken = "tok/en";
// 2015-01-21 09:30 and 10:45 at +01:00.
const Date kStart = Date::fromTimeIntervalSince1970(1421829000);
const Date kEnd = Date::fromTimeIntervalSince1970(1421833500);

struct SyncOutcome {
    bool called = false;
    foundation::ErrorPtr error;
};

class SyncCalendarServiceTest : public meetingtest::MeetingStoreTest {
protected:
    std::shared_ptr<SyncCalendarService> service = ApplicationService::syncCalendarService();
    EKEventStorePtr device = service->eventStore();
    EKCalendarPtr calendar;

    void SetUp() override {
        MeetingStoreTest::SetUp();
        EKEventStore::setAuthorizationStatus(EKEntityType::Event, EKAuthorizationStatus::Authorized);
        calendar = device->addCalendar(device->addSource("Work", EKSourceType::Exchange), "Meetings",
                                       EKCalendarType::Exchange, true);
        openCurrent(kSyncToken);
        settings.setCurrentEvent(
            QVAEvent::initWithDictionary(Value::dictionary({{"id", "42"}, {"name", "  Summit\n"}})));
        insert(kSyncToken, "QVACoreDataSession",
               {{{"itemId", Value("s1")}, {"startDatetime", Value("2015-01-21T09:30:00+01:00")}},
                {{"itemId", Value("s2")}, {"startDatetime", Value("2015-01-22T14:00:00+01:00")}}});
        insert(kSyncToken, "QVACoreDataRoom",
               {{{"itemId", Value("r1")}, {"name", Value("Room 1")}, {"venueId", Value("v1")}},
                {{"itemId", Value("r2")}, {"name", Value("Room 2")}, {"venueId", Value("")}},
                {{"itemId", Value("r3")}, {"name", Value("Room 3")}, {"venueId", Value("gone")}}});
        insert(kSyncToken, "QVACoreDataVenue", {{{"itemId", Value("v1")}, {"name", Value("Hall A")}}});
    }
    void TearDown() override {
        // The shared device outlives the test: it shows its calendars only with access.
        EKEventStore::setAuthorizationStatus(EKEntityType::Event, EKAuthorizationStatus::Authorized);
        for (const auto& c : device->calendarsForEntityType(EKEntityType::Event)) device->removeCalendar(c);
        EKEventStore::setAuthorizationStatus(EKEntityType::Event, EKAuthorizationStatus::NotDetermined);
        EKEventStore::setAccessRequestAnswer(EKEntityType::Event, true);
        for (const auto& alert : uikit::UIApplication::sharedApplication().visibleAlerts())
            alert->dismissWithClickedButtonIndex(0, false);
        MeetingStoreTest::TearDown();
    }

    static Row agendaRow(const std::string& agendaItemId, const std::string& title, const std::string& roomId = "r1",
                         const std::string& status = "") {
        Row row{{"agendaItemId", Value(agendaItemId)},
                {"itemId", Value("s-" + agendaItemId)},
                {"title", Value(title)},
                {"startDatetime", Value("2015-01-21T09:30:00+01:00")},
                {"endDatetime", Value("2015-01-21T10:45:00+01:00")},
                {"roomId", Value(roomId)},
                {"sessionDescription", Value("Notes of " + title)}};
        if (!status.empty()) row["status"] = Value(status);
        return row;
    }

    SyncOutcome sync(const EKCalendarPtr& into) {
        SyncOutcome outcome;
        service->syncMyAgendaWithDeviceCalendar(into, std::string(kSyncToken), std::string("42"),
                                                [&](foundation::ErrorPtr error, Value result) {
                                                    EXPECT_TRUE(result.isAbsent());
                                                    outcome = {true, std::move(error)};
                                                });
        return outcome;
    }
    SyncOutcome unsync() {
        SyncOutcome outcome;
        service->unsyncWithDeviceCalendarForAuthToken(std::string(kSyncToken), std::string("42"),
                                                      [&](foundation::ErrorPtr error, Value) {
                                                          outcome = {true, std::move(error)};
                                                      });
        return outcome;
    }

    // The calendar as the next start of the device reads it from its file.
    std::vector<EKEventPtr> committedEvents() const {
        auto next = EKEventStore::create();
        return next->eventsMatchingPredicate(
            next->predicateForEventsWithStartDate(Date::distantPast(), Date::distantFuture(),
                                                  std::vector<EKCalendarPtr>{calendar}));
    }
    EKEventPtr userEvent(const std::string& title, const std::string& location) {
        auto event = EKEvent::eventWithEventStore(device);
        event->setTitle(title);
        event->setStartDate(kStart.dateByAddingTimeInterval(36000));
        event->setEndDate(kStart.dateByAddingTimeInterval(40000));
        event->setCalendar(calendar);
        event->setLocation(location);
        EXPECT_TRUE(device->saveEvent(event, EKSpan::ThisEvent, true));
        return event;
    }
    Value mapOfToken() const { return Value(settings.calendarDatabase())[kSyncToken]; }
};

TEST_F(SyncCalendarServiceTest, SyncWritesOneEventPerAgendaItemAndUnsyncRemovesOnlyMirroredOnes) {
    insert(kSyncToken, "QVACoreDataAgendaSelection", {agendaRow("a1", "Opening")});
    insert(kSyncToken, "QVACoreDataAgendaInvitation", {agendaRow("a2", "Dinner", "r1", "Declined")});
    settings.setCalendarAlertTime(4);
    auto own = userEvent("Dinner after Summit", "Dinner after Summit");
    auto ownBare = userEvent("Summit prep", "Notes on Summit - mine");
    auto stale = userEvent("Moved by the user", "Summit - Hall A, Room 1");  // ours, unknown to the map

    auto outcome = sync(calendar);
    ASSERT_TRUE(outcome.called);
    EXPECT_EQ(outcome.error, nullptr);

    auto events = committedEvents();
    std::vector<std::string> titles;
    for (const auto& e : events) titles.push_back(e->title().value_or(""));
    ASSERT_EQ(titles.size(), 3u);
    EXPECT_EQ(titles[0], "Opening");
    std::sort(titles.begin(), titles.end());
    EXPECT_EQ(titles, (std::vector<std::string>{"Dinner after Summit", "Opening", "Summit prep"}));
    const auto& mirrored = events[0];
    EXPECT_EQ(mirrored->startDate(), kStart);
    EXPECT_EQ(mirrored->endDate(), kEnd);
    EXPECT_EQ(mirrored->location(), "Summit - Hall A, Room 1");
    EXPECT_EQ(mirrored->notes(), "Notes of Opening");
    ASSERT_EQ(mirrored->alarms().size(), 1u);
    EXPECT_EQ(mirrored->alarms()[0]->relativeOffset(), -1800);
    EXPECT_EQ(mapOfToken(), Value::dictionary({{"a1", *mirrored->eventIdentifier()}}));
    EXPECT_EQ(device->eventWithIdentifier(*stale->eventIdentifier()), nullptr);

    settings.setCalendarIdentifier(calendar->calendarIdentifier());
    settings.setSyncWithCalendar(true);
    outcome = unsync();
    ASSERT_TRUE(outcome.called);
    EXPECT_EQ(outcome.error, nullptr);
    titles.clear();
    for (const auto& e : committedEvents()) titles.push_back(e->title().value_or(""));
    std::sort(titles.begin(), titles.end());
    EXPECT_EQ(titles, (std::vector<std::string>{"Dinner after Summit", "Summit prep"}));
    EXPECT_FALSE(settings.syncWithCalendar());
    EXPECT_FALSE(settings.calendarIdentifier());
    EXPECT_TRUE(settings.calendarDatabase().empty());
    EXPECT_EQ(settings.calendarAlertTime(), 0);
}

TEST_F(SyncCalendarServiceTest, LaterSyncsUpdateMergeAndRemove) {
    insert(kSyncToken, "QVACoreDataAgendaSelection",
           {agendaRow("a1", "Opening"), agendaRow("a3", "Lunch", "r2"), agendaRow("a4", "Tour", "r3")});
    insert(kSyncToken, "QVACoreDataAgendaInvitation", {agendaRow("a2", "Dinner", "", "Invited")});
    settings.setCalendarAlertTime(4);
    ASSERT_EQ(sync(calendar).error, nullptr);
    const auto first = mapOfToken();
    ASSERT_EQ(first.count(), 4u);
    std::map<std::string, std::optional<std::string>> locations;
    for (const auto& e : committedEvents()) locations[e->title().value_or("")] = e->location();
    // No venue id, or no room at all: the meeting name alone; a venue that is
    // not there: the room alone.
    EXPECT_EQ(locations["Lunch"], "Summit");
    EXPECT_EQ(locations["Dinner"], "Summit");
    EXPECT_EQ(locations["Tour"], "Summit - Room 3");

    // A copy of the same item made elsewhere, no alarm any more, the
    // invitation declined, and the tour dropped from the agenda.
    auto twin = device->eventWithIdentifier(*first["a1"].string());
    auto copy = EKEvent::eventWithEventStore(device);
    copy->setTitle(twin->title());
    copy->setStartDate(twin->startDate());
    copy->setEndDate(twin->endDate());
    copy->setCalendar(calendar);
    ASSERT_TRUE(device->saveEvent(copy, EKSpan::ThisEvent, true));
    settings.setCalendarAlertTime(0);
    await([&](auto done) {
        store.deleteAndAddItemsToCoreData({}, EntityClass::of<QVACoreDataAgendaRole>(), nullptr, kSyncToken, "42", done);
    });
    insert(kSyncToken, "QVACoreDataAgendaSelection", {agendaRow("a1", "Opening"), agendaRow("a3", "Lunch", "r2")});
    insert(kSyncToken, "QVACoreDataAgendaInvitation", {agendaRow("a2", "Dinner", "", "Declined")});

    ASSERT_EQ(sync(calendar).error, nullptr);
    // One of the identical events stays, updated, and the map names it.
    std::map<std::string, std::string> identifiers;
    for (const auto& e : committedEvents()) {
        EXPECT_TRUE(e->alarms().empty()) << *e->title();
        EXPECT_TRUE(identifiers.emplace(e->title().value_or(""), *e->eventIdentifier()).second) << *e->title();
    }
    const auto map = mapOfToken();
    EXPECT_EQ(map, Value::dictionary({{"a1", identifiers["Opening"]}, {"a3", identifiers["Lunch"]}}));
    EXPECT_EQ(identifiers.size(), 2u);
    EXPECT_EQ(map["a3"], first["a3"]);  // updated in place
}

TEST_F(SyncCalendarServiceTest, ADeclinedInvitationLosesItsEventAlsoWhenItsSessionChanged) {
    insert(kSyncToken, "QVACoreDataAgendaInvitation", {agendaRow("a2", "Dinner", "r1", "Invited")});
    ASSERT_EQ(sync(calendar).error, nullptr);
    ASSERT_EQ(committedEvents().size(), 1u);

    // Declined, and the session renamed at the same time: the old event no
    // longer matches the item, but the map still names it.
    await([&](auto done) {
        store.deleteAndAddItemsToCoreData({}, EntityClass::of<QVACoreDataAgendaRole>(), nullptr, kSyncToken, "42", done);
    });
    insert(kSyncToken, "QVACoreDataAgendaInvitation", {agendaRow("a2", "Gala dinner", "r1", "Declined")});
    ASSERT_EQ(sync(calendar).error, nullptr);
    EXPECT_TRUE(committedEvents().empty());
    EXPECT_TRUE(mapOfToken().isNothing() || mapOfToken().count() == 0u) << mapOfToken().description();
}

TEST_F(SyncCalendarServiceTest, AnEventTheUserMovedIsReplaced) {
    insert(kSyncToken, "QVACoreDataAgendaSelection", {agendaRow("a1", "Opening")});
    ASSERT_EQ(sync(calendar).error, nullptr);
    const std::string original = *mapOfToken()["a1"].string();
    auto moved = device->eventWithIdentifier(original);
    moved->setStartDate(kStart.dateByAddingTimeInterval(3600));
    moved->setEndDate(kEnd.dateByAddingTimeInterval(3600));
    ASSERT_TRUE(device->saveEvent(moved, EKSpan::ThisEvent, true));

    ASSERT_EQ(sync(calendar).error, nullptr);
    auto events = committedEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0]->startDate(), kStart);
    EXPECT_NE(events[0]->eventIdentifier(), original);
    EXPECT_EQ(mapOfToken(), Value::dictionary({{"a1", *events[0]->eventIdentifier()}}));
}

TEST_F(SyncCalendarServiceTest, FailuresLeaveTheCalendarAlone) {
    insert(kSyncToken, "QVACoreDataAgendaSelection", {agendaRow("a1", "Opening")});
    auto readOnly = device->addCalendar(device->addSource("Shared", EKSourceType::CalDAV), "Team",
                                        EKCalendarType::CalDAV, false);
    for (const auto& target : {readOnly, EKCalendarPtr()}) {
        auto outcome = sync(target);
        ASSERT_TRUE(outcome.called);
        ASSERT_NE(outcome.error, nullptr);
        EXPECT_EQ(outcome.error->localizedDescription(), SyncCalendarService::kCalendarNotModifiableMessage);
    }

    // A meeting whose sessions are not there yet has no date range.
    auto own = userEvent("Summit", "Summit");
    await([&](auto done) {
        store.deleteAndAddItemsToCoreData({}, EntityClass::of<QVACoreDataSession>(), nullptr, kSyncToken, "42", done);
    });
    auto outcome = sync(calendar);
    ASSERT_NE(outcome.error, nullptr);
    EXPECT_EQ(outcome.error->localizedDescription(), SyncCalendarService::kNoDateRangeMessage);
    EXPECT_EQ(committedEvents().size(), 1u);
    EXPECT_TRUE(settings.calendarDatabase().empty());

    // No store of that meeting open: the same, nothing read or removed.
    SyncOutcome other;
    service->syncMyAgendaWithDeviceCalendar(calendar, std::string(kSyncToken), std::string("43"),
                                            [&](foundation::ErrorPtr error, Value) { other = {true, error}; });
    ASSERT_TRUE(other.called);
    EXPECT_NE(other.error, nullptr);

    // Unsync without a writable chosen calendar changes nothing.
    settings.setSyncWithCalendar(true);
    settings.setCalendarIdentifier(readOnly->calendarIdentifier());
    outcome = unsync();
    ASSERT_NE(outcome.error, nullptr);
    EXPECT_EQ(outcome.error->localizedDescription(), SyncCalendarService::kCalendarNotModifiableMessage);
    EXPECT_TRUE(settings.syncWithCalendar());
    EXPECT_EQ(committedEvents().size(), 1u);
}

TEST_F(SyncCalendarServiceTest, OffersTheWritableCalendarsOfSupportedSources) {
    auto local = device->addSource("On My iPhone", EKSourceType::Local);
    auto home = device->addCalendar(local, "Home", EKCalendarType::Local, true);
    device->addCalendar(local, "Birthdays", EKCalendarType::Birthday, true);
    device->addCalendar(local, "Holidays", EKCalendarType::Local, false);
    auto subscribed = device->addSource("Subscribed", EKSourceType::Subscribed);
    device->addCalendar(subscribed, "Sports", EKCalendarType::Local, true);
    device->addCalendar(device->addSource("Empty", EKSourceType::CalDAV), "Read only", EKCalendarType::CalDAV, false);

    auto offered = service->getSupportedSourcesCalendars();
    ASSERT_EQ(offered.size(), 2u);
    EXPECT_EQ(offered[0]->source(), calendar->source());
    EXPECT_EQ(offered[0]->supportedCalendars(), std::vector<EKCalendarPtr>{calendar});
    EXPECT_EQ(offered[1]->source(), local);
    EXPECT_EQ(offered[1]->supportedCalendars(), std::vector<EKCalendarPtr>{home});
    EXPECT_EQ(service->sourcesArray(), offered);
    auto remote = service->nonLocalSources();
    ASSERT_EQ(remote.size(), 1u);
    EXPECT_EQ(remote[0], offered[0]);
    EXPECT_EQ(service->getCalendarWithIdentifier(home->calendarIdentifier()), home);
    EXPECT_EQ(service->getCalendarWithIdentifier(std::nullopt), nullptr);
}

TEST_F(SyncCalendarServiceTest, AccessAnswerReachesTheMainQueueAndARefusalIsShown) {
    auto request = [&] {
        SyncOutcome outcome;
        bool granted = true, onMain = false;
        service->requestEventStoreAccessWithType(EKEntityType::Event, [&](bool g, foundation::ErrorPtr error) {
            granted = g;
            onMain = foundation::isMainThread();
            outcome = {true, error};
        });
        EXPECT_TRUE(foundation::RunLoop::main().runUntil([&] { return outcome.called; }, 10));
        EXPECT_TRUE(onMain);
        return std::make_pair(granted, outcome.error);
    };
    EXPECT_TRUE(request().first);
    EXPECT_TRUE(uikit::UIApplication::sharedApplication().visibleAlerts().empty());
    EXPECT_EQ(service->checkEventStoreAccessForType(EKEntityType::Event), EKAuthorizationStatus::Authorized);

    EKEventStore::setAccessRequestAnswer(EKEntityType::Event, false);
    EXPECT_FALSE(request().first);
    auto alerts = uikit::UIApplication::sharedApplication().visibleAlerts();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0]->title(), "Error");
    EXPECT_EQ(alerts[0]->message(), "Access to the calendar was not granted.");
    EXPECT_EQ(service->checkEventStoreAccessForType(EKEntityType::Event), EKAuthorizationStatus::Denied);

    EKEventStore::setAccessRequestAnswer(EKEntityType::Event, true, foundation::Error::make("Privacy", 1));
    EXPECT_NE(request().second, nullptr);
    alerts = uikit::UIApplication::sharedApplication().visibleAlerts();
    ASSERT_EQ(alerts.size(), 2u);
    EXPECT_EQ(alerts[1]->message(), "Unable to access calendar permissions.");
}

TEST(ApplicationService, MakesTheSharedServicesOnce) {
    auto mirror = ApplicationService::syncCalendarService();
    ASSERT_NE(mirror, nullptr);
    EXPECT_EQ(ApplicationService::syncCalendarService(), mirror);
    EXPECT_EQ(&mirror->applicationSettingsStore(), &ApplicationSettingsStore::sharedApplicationSettingsStore());
    EXPECT_EQ(ApplicationService::applicationVersion(), foundation::Bundle::mainBundle().shortVersionString());
}

}  // namespace

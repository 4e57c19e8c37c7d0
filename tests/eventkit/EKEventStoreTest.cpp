// The device-calendar stand-in: access asked and answered off the main
// queue, sources and calendars, saving with identifiers, look-ups by range,
// what commit and reset do, and a store of the next start reading the files
// back.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>

#include "dispatch/Queue.h"
#include "eventkit/EKEventStore.h"
#include "foundation/FileManager.h"
#include "foundation/RunLoop.h"

namespace {

using namespace eventkit;
using foundation::Date;

class EKEventStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::remove_all(EKEventStore::calendarsDirectory());
        EKEventStore::setAuthorizationStatus(EKEntityType::Event, EKAuthorizationStatus::Authorized);
        store = EKEventStore::create();
        exchange = store->addSource("Work", EKSourceType::Exchange);
        calendar = store->addCalendar(exchange, "Meetings", EKCalendarType::Exchange, true);
        ASSERT_NE(calendar, nullptr);
    }
    void TearDown() override {
        EKEventStore::setAuthorizationStatus(EKEntityType::Event, EKAuthorizationStatus::NotDetermined);
        EKEventStore::setAccessRequestAnswer(EKEntityType::Event, true);
        std::filesystem::remove_all(EKEventStore::calendarsDirectory());
    }

    EKEventPtr makeEvent(const std::string& title, double start, double length = 3600) {
        auto event = EKEvent::eventWithEventStore(store);
        event->setTitle(title);
        event->setStartDate(Date(start));
        event->setEndDate(Date(start + length));
        event->setCalendar(calendar);
        return event;
    }

    std::shared_ptr<EKEventStore> store;
    EKSourcePtr exchange;
    EKCalendarPtr calendar;
};

struct Answer {
    std::atomic<bool> done{false};
    bool granted = false;
    bool onMain = true;
    foundation::ErrorPtr error;
};

std::shared_ptr<Answer> ask(EKEventStore& store) {
    auto answer = std::make_shared<Answer>();
    store.requestAccessToEntityType(EKEntityType::Event, [answer](bool granted, foundation::ErrorPtr error) {
        answer->granted = granted;
        answer->error = error;
        answer->onMain = foundation::isMainThread();
        answer->done = true;
    });
    EXPECT_TRUE(foundation::RunLoop::main().runUntil([&] { return answer->done.load(); }, 10));
    return answer;
}

TEST_F(EKEventStoreTest, AccessIsAnsweredOffTheMainQueueAndSetsTheStatus) {
    EKEventStore::setAuthorizationStatus(EKEntityType::Event, EKAuthorizationStatus::NotDetermined);
    EXPECT_TRUE(store->calendarsForEntityType(EKEntityType::Event).empty());  // nothing shown before access
    EXPECT_FALSE(store->saveEvent(makeEvent("x", 0), EKSpan::ThisEvent, true));

    auto granted = ask(*store);
    EXPECT_TRUE(granted->granted);
    EXPECT_FALSE(granted->onMain);
    EXPECT_EQ(EKEventStore::authorizationStatusForEntityType(EKEntityType::Event), EKAuthorizationStatus::Authorized);

    EKEventStore::setAccessRequestAnswer(EKEntityType::Event, false);
    auto refused = ask(*store);
    EXPECT_FALSE(refused->granted);
    EXPECT_EQ(refused->error, nullptr);
    EXPECT_EQ(EKEventStore::authorizationStatusForEntityType(EKEntityType::Event), EKAuthorizationStatus::Denied);
    foundation::ErrorPtr error;
    EXPECT_FALSE(store->saveEvent(makeEvent("x", 0), EKSpan::ThisEvent, true, &error));
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->code(), EKError::EventStoreNotAuthorized);

    EKEventStore::setAccessRequestAnswer(EKEntityType::Event, true, foundation::Error::make("Privacy", 7));
    auto failed = ask(*store);
    EXPECT_FALSE(failed->granted);
    ASSERT_NE(failed->error, nullptr);
    EXPECT_EQ(EKEventStore::authorizationStatusForEntityType(EKEntityType::Event), EKAuthorizationStatus::Denied);
}

TEST_F(EKEventStoreTest, SourcesListTheirCalendars) {
    auto local = store->addSource("On My iPhone", EKSourceType::Local);
    auto home = store->addCalendar(local, "Home", EKCalendarType::Local, true);
    auto birthdays = store->addCalendar(local, "Birthdays", EKCalendarType::Birthday, false);
    EXPECT_EQ(store->sources(), (std::vector<EKSourcePtr>{exchange, local}));
    EXPECT_EQ(local->calendarsForEntityType(EKEntityType::Event), (std::vector<EKCalendarPtr>{home, birthdays}));
    EXPECT_TRUE(local->calendarsForEntityType(EKEntityType::Reminder).empty());
    EXPECT_EQ(store->calendarWithIdentifier(home->calendarIdentifier()), home);
    EXPECT_EQ(store->calendarWithIdentifier("nope"), nullptr);
    EXPECT_TRUE(store->removeCalendar(home));
    EXPECT_EQ(local->calendarsForEntityType(EKEntityType::Event), (std::vector<EKCalendarPtr>{birthdays}));
    EXPECT_FALSE(foundation::FileManager::defaultManager().fileExistsAtPath(
        EKEventStore::pathForCalendarIdentifier(home->calendarIdentifier())));
}

TEST_F(EKEventStoreTest, SavingChecksTheEventAndAssignsAnIdentifier) {
    struct Case {
        const char* name;
        std::function<void(EKEvent&)> spoil;
        int code;
    } cases[] = {
        {"no calendar", [](EKEvent& e) { e.setCalendar(nullptr); }, EKError::NoCalendar},
        {"no start", [](EKEvent& e) { e.setStartDate(std::nullopt); }, EKError::NoStartDate},
        {"no end", [](EKEvent& e) { e.setEndDate(std::nullopt); }, EKError::NoEndDate},
        {"inverted", [](EKEvent& e) { e.setEndDate(Date(-1)); }, EKError::DatesInverted},
    };
    for (const auto& c : cases) {
        auto event = makeEvent("x", 0);
        c.spoil(*event);
        foundation::ErrorPtr error;
        EXPECT_FALSE(store->saveEvent(event, EKSpan::ThisEvent, false, &error)) << c.name;
        ASSERT_NE(error, nullptr) << c.name;
        EXPECT_EQ(error->code(), c.code) << c.name;
        EXPECT_FALSE(event->eventIdentifier()) << c.name;
    }
    auto readOnly = store->addCalendar(exchange, "Shared", EKCalendarType::Exchange, false);
    auto event = makeEvent("x", 0);
    event->setCalendar(readOnly);
    foundation::ErrorPtr error;
    EXPECT_FALSE(store->saveEvent(event, EKSpan::ThisEvent, false, &error));
    EXPECT_EQ(error->code(), EKError::CalendarReadOnly);

    event->setCalendar(calendar);
    ASSERT_TRUE(store->saveEvent(event, EKSpan::ThisEvent, false));
    ASSERT_TRUE(event->eventIdentifier());
    const auto identifier = *event->eventIdentifier();
    event->setTitle("changed, unsaved");
    EXPECT_EQ(store->eventWithIdentifier(identifier)->title(), "x");  // the caller holds a copy
    ASSERT_TRUE(store->saveEvent(event, EKSpan::ThisEvent, false));
    EXPECT_EQ(event->eventIdentifier(), identifier);  // a second save keeps it
    EXPECT_EQ(store->eventWithIdentifier(identifier)->title(), "changed, unsaved");
}

TEST_F(EKEventStoreTest, RangeLookUpsSeeOverlappingEventsOfTheNamedCalendars) {
    auto other = store->addCalendar(exchange, "Other", EKCalendarType::Exchange, true);
    auto before = makeEvent("before", 0, 100);
    auto overlapping = makeEvent("overlapping", 900, 200);
    auto inside = makeEvent("inside", 1500, 0);
    auto elsewhere = makeEvent("elsewhere", 1200);
    elsewhere->setCalendar(other);
    auto after = makeEvent("after", 2000);
    for (const auto& e : {after, before, inside, overlapping, elsewhere})
        ASSERT_TRUE(store->saveEvent(e, EKSpan::ThisEvent, false));

    auto titles = [&](std::optional<std::vector<EKCalendarPtr>> calendars) {
        std::vector<std::string> out;
        auto predicate = store->predicateForEventsWithStartDate(Date(1000), Date(2000), calendars);
        for (const auto& e : store->eventsMatchingPredicate(predicate)) out.push_back(e->title().value_or(""));
        return out;
    };
    EXPECT_EQ(titles(std::vector<EKCalendarPtr>{calendar}), (std::vector<std::string>{"overlapping", "inside"}));
    EXPECT_EQ(titles(std::nullopt), (std::vector<std::string>{"overlapping", "elsewhere", "inside"}));
}

TEST_F(EKEventStoreTest, OnlyCommittedChangesReachTheFileAndTheNextStart) {
    auto kept = makeEvent("Opening, day 1", 443520000);
    kept->setLocation(std::string("Summit - Hall; A"));
    kept->setNotes(std::string("Bring\nthe badge"));
    kept->addAlarm(EKAlarm::alarmWithRelativeOffset(-1800));
    ASSERT_TRUE(store->saveEvent(kept, EKSpan::ThisEvent, true));
    auto dropped = makeEvent("uncommitted", 443530000);
    ASSERT_TRUE(store->saveEvent(dropped, EKSpan::ThisEvent, false));
    EXPECT_NE(store->eventWithIdentifier(*dropped->eventIdentifier()), nullptr);  // this store sees it

    // The next start reads only what was committed.
    auto next = EKEventStore::create();
    EXPECT_EQ(next->eventWithIdentifier(*dropped->eventIdentifier()), nullptr);
    auto read = next->eventWithIdentifier(*kept->eventIdentifier());
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->title(), "Opening, day 1");
    EXPECT_EQ(read->location(), "Summit - Hall; A");
    EXPECT_EQ(read->notes(), "Bring\nthe badge");
    EXPECT_EQ(read->startDate(), Date(443520000));
    EXPECT_EQ(read->endDate(), Date(443523600));
    ASSERT_EQ(read->alarms().size(), 1u);
    EXPECT_EQ(read->alarms()[0]->relativeOffset(), -1800);
    ASSERT_NE(read->calendar(), nullptr);
    EXPECT_EQ(read->calendar()->calendarIdentifier(), calendar->calendarIdentifier());
    EXPECT_EQ(read->calendar()->title(), "Meetings");
    EXPECT_EQ(read->calendar()->type(), EKCalendarType::Exchange);
    ASSERT_NE(read->calendar()->source(), nullptr);
    EXPECT_EQ(read->calendar()->source()->title(), "Work");
    EXPECT_EQ(read->calendar()->source()->sourceType(), EKSourceType::Exchange);

    // Reset drops the uncommitted save; a removal without commit stays in
    // memory until committed.
    store->reset();
    EXPECT_EQ(store->eventWithIdentifier(*dropped->eventIdentifier()), nullptr);
    auto again = store->eventWithIdentifier(*kept->eventIdentifier());
    ASSERT_TRUE(store->removeEvent(again, EKSpan::ThisEvent, false));
    EXPECT_FALSE(store->removeEvent(again, EKSpan::ThisEvent, false));  // already gone: NO, no error
    EXPECT_NE(EKEventStore::create()->eventWithIdentifier(*kept->eventIdentifier()), nullptr);
    ASSERT_TRUE(store->commit());
    EXPECT_EQ(EKEventStore::create()->eventWithIdentifier(*kept->eventIdentifier()), nullptr);
}

TEST_F(EKEventStoreTest, AFileThatIsNotACalendarIsLeftAlone) {
    const std::string path = EKEventStore::pathForCalendarIdentifier("BROKEN");
    ASSERT_TRUE(foundation::FileManager::defaultManager().writeData(foundation::Data::fromString("garbage"), path,
                                                                    true));
    auto next = EKEventStore::create();
    EXPECT_EQ(next->calendarsForEntityType(EKEntityType::Event).size(), 1u);
    EXPECT_TRUE(foundation::FileManager::defaultManager().fileExistsAtPath(path));
}

}  // namespace

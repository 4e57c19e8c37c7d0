// The device's calendar database as the application reaches it: the access
// the user granted, the sources and their calendars, and the events, which
// are looked up, saved and removed. Saves and removals without commit stay
// in this store (its own look-ups see them) until commit writes them, or
// reset drops them.
//
// With no device here, each calendar lives in one iCalendar file (RFC 5545)
// in "Calendars" under the application's Library, named after the
// calendar's identifier and carrying its title, kind and source, so a person
// can open it and the next start reads it back. A source is known through its
// calendars: one without calendars does not survive a restart.
//
// The device side that the user controls in the system's settings (the
// access answer, the accounts and calendars present) is set through the
// "device" operations below, by tests and the command-line front.
//
// Without granted access the store shows no calendars and no events and
// refuses to save or remove, as the device's does. Thread-safe.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "eventkit/EKCalendar.h"
#include "eventkit/EKEvent.h"
#include "eventkit/EKEventPredicate.h"
#include "eventkit/EKSource.h"
#include "eventkit/EventKitTypes.h"
#include "foundation/Error.h"

namespace eventkit {

class EKEventStore : public std::enable_shared_from_this<EKEventStore> {
public:
    // (granted, error); runs on a queue other than the main one.
    using AccessCompletion = std::function<void(bool granted, foundation::ErrorPtr error)>;

    // A store over the calendar files of the application's home.
    static std::shared_ptr<EKEventStore> create();
    EKEventStore(const EKEventStore&) = delete;
    EKEventStore& operator=(const EKEventStore&) = delete;

    static EKAuthorizationStatus authorizationStatusForEntityType(EKEntityType type);
    // Asks the user (see setAccessRequestAnswer) and completes on a worker queue.
    void requestAccessToEntityType(EKEntityType type, AccessCompletion completion);

    std::vector<EKSourcePtr> sources() const;
    std::vector<EKCalendarPtr> calendarsForEntityType(EKEntityType type) const;
    EKCalendarPtr calendarWithIdentifier(const std::string& identifier) const;
    // A new copy of the event as this store holds it; null when unknown.
    EKEventPtr eventWithIdentifier(const std::string& identifier) const;
    // Calendars given as objects: a calendar of another store counts by its identifier.
    EKEventPredicate predicateForEventsWithStartDate(foundation::Date startDate, foundation::Date endDate,
                                                     const std::optional<std::vector<EKCalendarPtr>>& calendars) const;
    // New copies, by start date (then identifier).
    std::vector<EKEventPtr> eventsMatchingPredicate(const EKEventPredicate& predicate) const;

    // Stores the event's fields (assigning an identifier to a new event).
    // Refused with an error: no access, no calendar or one unknown here or
    // read-only, a missing date, an end before the start. With `commit`, the
    // store commits at once and a failed commit fails the save.
    bool saveEvent(const EKEventPtr& event, EKSpan span, bool commit, foundation::ErrorPtr* error = nullptr);
    // NO without an error when the store does not hold the event.
    bool removeEvent(const EKEventPtr& event, EKSpan span, bool commit, foundation::ErrorPtr* error = nullptr);
    // Writes every calendar changed since the last commit, each file whole or
    // not at all. The first failure is reported; its calendar stays pending.
    bool commit(foundation::ErrorPtr* error = nullptr);
    // Drops what is not committed and reads the files again.
    void reset();

    // The device side.
    static void setAuthorizationStatus(EKEntityType type, EKAuthorizationStatus status);
    // What the user answers to later access requests: granted makes the
    // status Authorized, refused Denied; with an error the status stays.
    // By default the user grants.
    static void setAccessRequestAnswer(EKEntityType type, bool granted, foundation::ErrorPtr error = nullptr);
    // A new account; kept in memory until one of its calendars is written.
    EKSourcePtr addSource(const std::string& title, EKSourceType type);
    // A new empty calendar of the source, written at once.
    EKCalendarPtr addCalendar(const EKSourcePtr& source, const std::string& title, EKCalendarType type,
                              bool allowsContentModifications, foundation::ErrorPtr* error = nullptr);
    // Every calendar on the device, whatever access the application has: the
    // device's own settings see them all.
    std::vector<EKCalendarPtr> deviceCalendars() const;
    // The calendar, its events and its file go.
    bool removeCalendar(const EKCalendarPtr& calendar, foundation::ErrorPtr* error = nullptr);
    // "<Library>/Calendars" of the application's home.
    static std::string calendarsDirectory();
    // The file of a calendar of this store.
    static std::string pathForCalendarIdentifier(const std::string& identifier);

    ~EKEventStore();

private:
    struct EventRecord;
    struct State;
    EKEventStore();

    bool authorized() const;
    void load();
    EKEventPtr copyOf(const EventRecord& record) const;
    bool writeCalendar(const std::string& identifier, foundation::ErrorPtr* error) const;
    friend class EKSource;
    std::vector<EKCalendarPtr> calendarsOfSource(const std::string& sourceIdentifier) const;

    mutable std::mutex mutex_;
    std::unique_ptr<State> state_;
};

using EKEventStorePtr = std::shared_ptr<EKEventStore>;

}  // namespace eventkit

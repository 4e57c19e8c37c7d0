// Mirrors the user's personal agenda of the current meeting (selections,
// responsibilities, invitations, personal entries) into one device calendar:
// one event per agenda item, with the alarm of the user's alert-time choice,
// and a map agenda item id → event identifier per access token in the
// settings store. It lists the calendars that may be written, asks for
// calendar access, and removes every mirrored event when mirroring stops.
//
// What counts as "ours" in the calendar: an event the map names, or one
// inside the meeting's date range whose location is the meeting name alone
// or begins with "<meeting name> - " (the form every mirrored location has).
// A user's own event that merely mentions the meeting is never touched, and
// with no meeting name nothing is matched by location at all.
//
// Main thread only: the store reads run on the main-queue context. Every save
// and removal is made without committing; a sync or unsync commits once at
// its end. Nothing raises; failures reach the completion or the log.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "eventkit/EKEventStore.h"
#include "foundation/Error.h"
#include "foundation/Value.h"
#include "model/QVAAgendaRole.h"
#include "model/QVARoom.h"
#include "model/QVAVenue.h"
#include "api/SourceCalendars.h"

class ApplicationSettingsStore;

class SyncCalendarService {
public:
    using Text = std::optional<std::string>;
    // (error or none, always none).
    using Completion = std::function<void(foundation::ErrorPtr, foundation::Value)>;
    // (granted, error), on the main queue.
    using AccessCompletion = std::function<void(bool, foundation::ErrorPtr)>;
    using AgendaItems = std::vector<std::shared_ptr<QVAAgendaRole>>;
    using Rooms = std::vector<std::shared_ptr<QVARoom>>;
    using Venues = std::vector<std::shared_ptr<QVAVenue>>;

    static constexpr const char* kCalendarNotModifiableMessage = "Calendar does not allow content modifications";
    static constexpr const char* kNoDateRangeMessage =
        "Could not sync your agenda with calendar. Please try again later";
    static constexpr const char* kNoDateRangeLog =
        "This was a crash before in 3.0 and 3.1, temporary fix by not allowing to sync with calendar when "
        "subactivities are not fetched yet.";
    static constexpr const char* kAccessErrorTitle = "Error";
    static constexpr const char* kAccessFailedMessage = "Unable to access calendar permissions.";
    static constexpr const char* kAccessRefusedMessage = "Access to the calendar was not granted.";
    static constexpr const char* kEventNotSavedTitle = "Event not saved to calendar.";
    static constexpr const char* kEventNotSavedLog =
        "Event not saved to calendar. No error, it might not have any changes.";

    // Keeps the settings store and opens the device's event store.
    explicit SyncCalendarService(ApplicationSettingsStore& store);
    static std::shared_ptr<SyncCalendarService> initService(ApplicationSettingsStore& store);
    SyncCalendarService(const SyncCalendarService&) = delete;
    SyncCalendarService& operator=(const SyncCalendarService&) = delete;

    const eventkit::EKEventStorePtr& eventStore() const { return eventStore_; }
    // As the last getSupportedSourcesCalendars built it.
    const std::vector<SourceCalendarsPtr>& sourcesArray() const { return sourcesArray_; }
    ApplicationSettingsStore& applicationSettingsStore() const { return *applicationSettingsStore_.load(); }
    void setApplicationSettingsStore(ApplicationSettingsStore& store) { applicationSettingsStore_.store(&store); }

    eventkit::EKAuthorizationStatus checkEventStoreAccessForType(eventkit::EKEntityType type) const;
    // Alerts (titled "Error") on a failure or a refusal, then completes.
    void requestEventStoreAccessWithType(eventkit::EKEntityType type, AccessCompletion completion);
    eventkit::EKCalendarPtr getCalendarWithIdentifier(const Text& identifier) const;
    // The writable calendars of each supported source that has any.
    std::vector<SourceCalendarsPtr> getSupportedSourcesCalendars();
    // Those of the last list that are not the device's own.
    std::vector<SourceCalendarsPtr> nonLocalSources() const;
    static bool isSourceTypeSupported(eventkit::EKSourceType type);
    static bool isCalendarSupported(const eventkit::EKCalendarPtr& calendar);

    // Mirrors the agenda of the store of the token and meeting into the calendar.
    void syncMyAgendaWithDeviceCalendar(const eventkit::EKCalendarPtr& calendar, const Text& authToken,
                                        const Text& eventId, const Completion& completion);
    // Removes every mirrored event from the chosen calendar, then clears the settings.
    void unsyncWithDeviceCalendarForAuthToken(const Text& authToken, const Text& eventId,
                                              const Completion& completion);
    // Sync off, no calendar, no map, no alarm. The calendar is not used.
    void clearCalendarSettings(const eventkit::EKCalendarPtr& calendar);

    // "<venue>, <room>", the room alone without a venue; none without a room.
    static Text buildLocationString(const QVAAgendaRole& item, const Rooms& rooms, const Venues& venues);
    // The offset of an alert-time choice; none for 0 and unknown choices.
    static std::optional<double> alarmOffsetForChoice(int32_t choice);

private:
    void updateCalendarEntriesForAgendaItems(const AgendaItems& items, const Rooms& rooms, const Venues& venues,
                                             const Text& authToken, const std::string& eventName,
                                             const eventkit::EKCalendarPtr& calendar, const Completion& completion);
    void refreshDeviceCalendarItemForAgendaItem(const QVAAgendaRole& item, const eventkit::EKCalendarPtr& calendar,
                                                const std::vector<eventkit::EKEventPtr>& deviceCalendarEvents,
                                                const Rooms& rooms, const Venues& venues, const Text& authToken,
                                                const std::string& eventName);
    void createCalendarEventFromAgendaItem(const QVAAgendaRole& item, const Rooms& rooms, const Venues& venues,
                                           const eventkit::EKCalendarPtr& calendar, bool saveOption,
                                           const Text& authToken, const std::string& eventName);
    void updateCalendarEventData(const eventkit::EKEventPtr& event, const QVAAgendaRole& item, const Rooms& rooms,
                                 const Venues& venues, const eventkit::EKCalendarPtr& calendar,
                                 const Text& authToken, const std::string& eventName, bool saveOption);
    std::vector<eventkit::EKEventPtr> calendarEntriesForAgendaModel(
        const QVAAgendaRole& item, const std::vector<eventkit::EKEventPtr>& events) const;
    std::vector<eventkit::EKEventPtr> getEventsForCalendar(const eventkit::EKCalendarPtr& calendar,
                                                           const std::optional<foundation::Date>& start,
                                                           const std::optional<foundation::Date>& end) const;
    void removeEventWithIdentifier(const std::string& identifier, const eventkit::EKCalendarPtr& calendar,
                                   const Text& authToken, bool saveOption);
    void updateLocalCalendarDatabaseForKey(const std::string& agendaItemId, const std::string& eventIdentifier,
                                           const Text& authToken);
    void removeLocalCalendarEventWithId(const std::string& eventIdentifier, const Text& authToken);
    void setAlertTime(eventkit::EKEvent& event) const;

    std::atomic<ApplicationSettingsStore*> applicationSettingsStore_;
    eventkit::EKEventStorePtr eventStore_;
    std::vector<SourceCalendarsPtr> sourcesArray_;
};

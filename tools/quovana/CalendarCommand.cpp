// "calendar list | sync CALENDAR_TITLE | unsync": the settings screen's
// calendar switch. The device's calendars are those the calendar stand-in
// keeps under the application's home; a title that names none is made as a
// new calendar of the device's own source first, as the user would make it in
// the device's calendar app before choosing it.
#include <memory>
#include <ostream>

#include "api/ApplicationService.h"
#include "settings/ApplicationSettingsStore.h"
#include "api/SyncCalendarService.h"
#include "eventkit/EKEventStore.h"
#include "eventkit/EKSource.h"
#include "foundation/Format.h"
#include "quovana/Commands.h"
#include "quovana/CurrentMeeting.h"
#include "quovana/DeviceCalendar.h"
#include "store/StorageManager.h"

namespace quovana {

namespace {

// Asks for calendar access as the settings screen does; false after saying why.
bool requestAccess(CommandContext& context, SyncCalendarService& service) {
    struct Answer {
        bool done = false, granted = false;
    };
    auto answer = std::make_shared<Answer>();
    service.requestEventStoreAccessWithType(eventkit::EKEntityType::Event, [answer](bool granted, foundation::ErrorPtr) {
        answer->done = true;
        answer->granted = granted;
    });
    if (!context.pump([answer] { return answer->done; })) return false;
    if (!answer->granted) context.fail("access to the calendar was not granted");
    return answer->granted;
}

eventkit::EKCalendarPtr calendarTitled(SyncCalendarService& service, const std::string& title) {
    for (const auto& entry : service.getSupportedSourcesCalendars())
        for (const auto& calendar : entry->supportedCalendars())
            if (calendar->title() == title) return calendar;
    return nullptr;
}

eventkit::EKCalendarPtr makeCalendarTitled(CommandContext& context, SyncCalendarService& service,
                                           const std::string& title) {
    foundation::ErrorPtr error;
    auto calendar = makeDeviceCalendar(service, title, &error);
    if (!calendar) {
        context.fail("cannot make the device calendar \"" + title + "\": " + describeError(error));
        return nullptr;
    }
    context.err() << "made the device calendar \"" << title << "\" in " << calendar->source()->title() << "\n";
    return calendar;
}

int listCalendars(CommandContext& context, SyncCalendarService& service) {
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    const auto chosen = settings.syncWithCalendar() ? settings.calendarIdentifier() : std::nullopt;
    size_t count = 0;
    for (const auto& entry : service.getSupportedSourcesCalendars()) {
        for (const auto& calendar : entry->supportedCalendars()) {
            ++count;
            context.out() << entry->source()->title() << " / " << calendar->title() << " ("
                          << calendar->calendarIdentifier() << ")"
                          << (chosen == calendar->calendarIdentifier() ? "  <- agenda mirrored here" : "") << "\n";
        }
    }
    if (count == 0) context.out() << "no writable calendars on the device\n";
    context.out() << "calendar sync: " << (settings.syncWithCalendar() ? "on" : "off") << "\n";
    return kExitSuccess;
}

int unsyncCalendar(CommandContext& context, SyncCalendarService& service);

int syncCalendar(CommandContext& context, SyncCalendarService& service, const std::string& title) {
    auto meeting = openCurrentMeeting(context);
    if (!meeting) return kExitFailure;
    auto calendar = calendarTitled(service, title);
    if (!calendar) calendar = makeCalendarTitled(context, service, title);
    if (!calendar) return kExitFailure;
    const std::string sourceTitle = calendar->source() ? calendar->source()->title() : std::string();

    // Moving the mirror to another calendar: the entries of the old one go
    // first, as switching mirroring off and on again does; otherwise they
    // would stay there with nothing left that knows them. The alert-time
    // choice is the user's and survives the move.
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    if (settings.syncWithCalendar() && settings.calendarIdentifier() != calendar->calendarIdentifier()) {
        const int32_t alertTime = settings.calendarAlertTime();
        if (int status = unsyncCalendar(context, service)) return status;
        settings.setCalendarAlertTime(alertTime);
    }

    auto outcome = context.await([&](SyncCalendarService::Completion completion) {
        service.syncMyAgendaWithDeviceCalendar(calendar, meeting->authToken, meeting->eventId, completion);
    });
    if (!outcome || outcome->error) {
        settings.setSyncWithCalendar(false);
        return context.fail(foundation::Format("Unable to sync \"%@\" calendar in your %@ account", title, sourceTitle) +
                            (outcome ? ": " + describeError(outcome->error) : std::string()));
    }
    settings.setSyncWithCalendar(true);
    settings.setCalendarIdentifier(calendar->calendarIdentifier());
    context.out() << foundation::Format("Your agenda has been synced with \"%@\" calendar in your %@ account", title,
                                        sourceTitle)
                  << "\n";
    return kExitSuccess;
}

int unsyncCalendar(CommandContext& context, SyncCalendarService& service) {
    auto account = requireCurrentAccount(context);
    if (!account) return kExitFailure;
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    // As logout does: the removal runs only while mirroring is on.
    if (!settings.syncWithCalendar()) {
        context.out() << "calendar sync is off; no mirrored entries to remove\n";
        return kExitSuccess;
    }
    if (!service.getCalendarWithIdentifier(settings.calendarIdentifier())) {
        // The calendar was deleted on the device, and its entries with it:
        // nothing is left to remove, and mirroring into it cannot go on.
        service.clearCalendarSettings(nullptr);
        context.out() << "the mirrored calendar is no longer on the device; calendar sync switched off\n";
        return kExitSuccess;
    }
    auto event = settings.currentEvent();
    // The events the map lost are found in the meeting's date range, which
    // is read from the meeting's store: open it as the running app has it.
    if (event && StorageManager::sharedStorageManager().persistentStoreExistsForAuthToken(
                     account->authenticationCode(), event->itemId()) &&
        !openCurrentMeeting(context))
        return kExitFailure;
    auto outcome = context.await([&](SyncCalendarService::Completion completion) {
        service.unsyncWithDeviceCalendarForAuthToken(account->authenticationCode(),
                                                     event ? event->itemId() : std::nullopt, completion);
    });
    if (!outcome || outcome->error)
        return context.fail(std::string("Unable to remove entries from calendar") +
                            (outcome ? ": " + describeError(outcome->error) : std::string()));
    context.out() << "the agenda is no longer mirrored into a device calendar\n";
    return kExitSuccess;
}

}  // namespace

int runCalendarCommand(CommandContext& context, const Arguments& arguments) {
    const std::string action = arguments.empty() ? std::string() : arguments[0];
    const bool valid = (action == "list" && arguments.size() == 1) || (action == "sync" && arguments.size() == 2) ||
                       (action == "unsync" && arguments.size() == 1);
    if (!valid) return context.usage("usage: calendar list | calendar sync CALENDAR_TITLE | calendar unsync");
    auto service = ApplicationService::syncCalendarService();
    if (!service) return context.fail("the calendar mirror is not available");
    if (!requestAccess(context, *service)) return kExitFailure;
    if (action == "list") return listCalendars(context, *service);
    if (action == "sync") return syncCalendar(context, *service, arguments[1]);
    return unsyncCalendar(context, *service);
}

}  // namespace quovana

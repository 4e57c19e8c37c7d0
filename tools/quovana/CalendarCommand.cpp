// "calendar list | sync CALENDAR_TITLE | unsync": the settings screen's
// calendar switch. The device's calendars are those the calendar stand-in
// keeps under the application's home; a title that names none is made as a
// new calendar of the device's own source first, as the user would make it in
// the device's calendar app before choosing it.
#include <memory>
#include <ostream>

#include "api/ApplicationService.h"
#include "api/ApplicationSettingsStore.h"
#include "api/SyncCalendarService.h"
#include "eventkit/EKEventStore.h"
#include "foundation/Format.h"
#include "quovana/Commands.h"
#include "quovana/CurrentMeeting.h"

namespace quovana {

namespace {

constexpr const char* kDeviceSourceTitle = "On My Device";

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

eventkit::EKCalendarPtr makeDeviceCalendar(CommandContext& context, SyncCalendarService& service,
                                           const std::string& title) {
    const auto& store = service.eventStore();
    eventkit::EKSourcePtr source;
    for (const auto& candidate : store->sources())
        if (candidate->sourceType() == eventkit::EKSourceType::Local) source = candidate;
    if (!source) source = store->addSource(kDeviceSourceTitle, eventkit::EKSourceType::Local);
    foundation::ErrorPtr error;
    auto calendar = store->addCalendar(source, title, eventkit::EKCalendarType::Local, true, &error);
    if (!calendar) {
        context.fail("cannot make the device calendar \"" + title + "\": " + describeError(error));
        return nullptr;
    }
    context.err() << "made the device calendar \"" << title << "\" in " << source->title() << "\n";
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

int syncCalendar(CommandContext& context, SyncCalendarService& service, const std::string& title) {
    auto meeting = openCurrentMeeting(context);
    if (!meeting) return kExitFailure;
    auto calendar = calendarTitled(service, title);
    if (!calendar) calendar = makeDeviceCalendar(context, service, title);
    if (!calendar) return kExitFailure;
    const std::string sourceTitle = calendar->source() ? calendar->source()->title() : std::string();

    auto outcome = context.await([&](SyncCalendarService::Completion completion) {
        service.syncMyAgendaWithDeviceCalendar(calendar, meeting->authToken, meeting->eventId, completion);
    });
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
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
    auto event = ApplicationSettingsStore::sharedApplicationSettingsStore().currentEvent();
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

// The device-calendar mirror of the personal agenda.
#include "api/SyncCalendarService.h"

#include <algorithm>
#include <set>

#include "settings/ApplicationSettingsStore.h"
#include "coredata/ManagedObject.h"
#include "dispatch/Queue.h"
#include "foundation/Format.h"
#include "foundation/Log.h"
#include "foundation/StringUtils.h"
#include "model/QVAAgendaEntries.h"
#include "model/QVACoreDataAgendaInvitation.h"
#include "model/QVACoreDataAgendaRole.h"
#include "model/QVAError.h"
#include "model/EntityClass.h"
#include "store/FetchRequestUtils.h"
#include "store/StorageManager.h"
#include "Utils/DateHelper.h"
#include "Utils/Utils.h"

using eventkit::EKCalendarPtr;
using eventkit::EKEventPtr;
using foundation::Value;

namespace {

constexpr const char* kConfirmedStatus = "Confirmed";
constexpr const char* kInvitedStatus = "Invited";

void complete(const SyncCalendarService::Completion& completion, foundation::ErrorPtr error) {
    if (completion) completion(std::move(error), Value());
}

foundation::ErrorPtr failWith(const char* message) {
    foundation::Log("%@", message);
    return QVAError::initWithDescription(message);
}

std::string trimmed(const std::optional<std::string>& text) {
    return text ? foundation::StringUtils::trim(*text) : std::string();
}

// Only a location the mirror writes marks an event as this meeting's: the
// name alone, or the name, " - " and the place. A user's own event that
// merely mentions the meeting is not ours, and no name matches nothing.
bool isMirroredLocation(const std::optional<std::string>& location, const std::string& eventName) {
    if (eventName.empty() || !location) return false;
    return *location == eventName || location->starts_with(eventName + " - ");
}

std::optional<foundation::Date> instant(const std::optional<std::string>& serverText) {
    return serverText ? DateHelper::dateFromServer(Value(*serverText), true) : std::nullopt;
}

}  // namespace

SyncCalendarService::SyncCalendarService(ApplicationSettingsStore& store)
    : applicationSettingsStore_(&store), eventStore_(eventkit::EKEventStore::create()) {}

std::shared_ptr<SyncCalendarService> SyncCalendarService::initService(ApplicationSettingsStore& store) {
    return std::make_shared<SyncCalendarService>(store);
}

eventkit::EKAuthorizationStatus SyncCalendarService::checkEventStoreAccessForType(eventkit::EKEntityType type) const {
    return eventkit::EKEventStore::authorizationStatusForEntityType(type);
}

void SyncCalendarService::requestEventStoreAccessWithType(eventkit::EKEntityType type, AccessCompletion completion) {
    eventStore_->requestAccessToEntityType(type, [completion = std::move(completion)](bool granted,
                                                                                    foundation::ErrorPtr error) {
        // The answer comes on the device's queue; alerts and callers live on the main one.
        dispatch::Queue::main()->async([completion, granted, error] {
            if (error)
                Utils::handleError(error, kAccessErrorTitle, std::string(kAccessFailedMessage));
            else if (!granted)
                Utils::handleError(nullptr, kAccessErrorTitle, std::string(kAccessRefusedMessage));
            if (completion) completion(granted, error);
        });
    });
}

EKCalendarPtr SyncCalendarService::getCalendarWithIdentifier(const Text& identifier) const {
    if (!identifier) return nullptr;
    for (const auto& calendar : eventStore_->calendarsForEntityType(eventkit::EKEntityType::Event))
        if (calendar->calendarIdentifier() == *identifier) return calendar;
    return eventStore_->calendarWithIdentifier(*identifier);
}

std::vector<SourceCalendarsPtr> SyncCalendarService::getSupportedSourcesCalendars() {
    sourcesArray_.clear();
    for (const auto& source : eventStore_->sources()) {
        if (!isSourceTypeSupported(source->sourceType())) continue;
        std::vector<EKCalendarPtr> kept;
        for (const auto& calendar : source->calendarsForEntityType(eventkit::EKEntityType::Event))
            if (isCalendarSupported(calendar)) kept.push_back(calendar);
        if (!kept.empty()) sourcesArray_.push_back(SourceCalendars::initWithSource(source, std::move(kept)));
    }
    return sourcesArray_;
}

std::vector<SourceCalendarsPtr> SyncCalendarService::nonLocalSources() const {
    std::vector<SourceCalendarsPtr> out;
    for (const auto& entry : sourcesArray_)
        if (entry->source() && entry->source()->sourceType() != eventkit::EKSourceType::Local) out.push_back(entry);
    return out;
}

bool SyncCalendarService::isSourceTypeSupported(eventkit::EKSourceType type) {
    return type == eventkit::EKSourceType::Local || type == eventkit::EKSourceType::Exchange ||
           type == eventkit::EKSourceType::CalDAV;
}

bool SyncCalendarService::isCalendarSupported(const EKCalendarPtr& calendar) {
    if (!calendar) return false;
    const auto type = calendar->type();
    return (type == eventkit::EKCalendarType::Local || type == eventkit::EKCalendarType::CalDAV ||
            type == eventkit::EKCalendarType::Exchange) &&
           calendar->allowsContentModifications();
}

void SyncCalendarService::syncMyAgendaWithDeviceCalendar(const EKCalendarPtr& calendar, const Text& authToken,
                                                         const Text& eventId, const Completion& completion) {
    if (!calendar || !calendar->allowsContentModifications()) {
        complete(completion, failWith(kCalendarNotModifiableMessage));
        return;
    }
    auto& storage = StorageManager::sharedStorageManager();
    auto stack = storage.getCoreDataStackForAuthToken(authToken, eventId);
    if (!stack) {
        // Without the meeting's store there is no agenda to mirror; reading
        // one would be a programming error, and an empty agenda would wipe
        // the calendar's mirrored events.
        complete(completion, failWith(kNoDateRangeMessage));
        return;
    }
    const auto& context = stack->managedObjectContextMainQueue();
    AgendaItems items;
    auto request = storage.fetchRequestForItemType(EntityClass::of<QVACoreDataAgendaRole>(), nullptr, context);
    for (const auto& value : storage.executeFetchRequestAndWait(request, context)) {
        auto row = value.objectAs<coredata::ManagedObject>();
        if (!row) continue;
        std::shared_ptr<QVAAgendaRole> item;
        if (row->isKindOfEntity(QVACoreDataAgendaInvitation::kEntityName))
            item = QVAAgendaInvitation::initWithCoreDataObject(*row);
        else
            item = QVAAgendaRole::initWithCoreDataObject(*row);
        if (item) items.push_back(std::move(item));
    }
    const auto rooms = FetchRequestUtils::getRoomsModelArrayInContext(context);
    const auto venues = FetchRequestUtils::getVenuesModelArrayInContext(context);
    auto event = applicationSettingsStore().currentEvent();
    const std::string eventName = trimmed(event ? event->eventName() : std::nullopt);
    updateCalendarEntriesForAgendaItems(items, rooms, venues, authToken, eventName, calendar, completion);
}

void SyncCalendarService::updateCalendarEntriesForAgendaItems(const AgendaItems& items, const Rooms& rooms,
                                                              const Venues& venues, const Text& authToken,
                                                              const std::string& eventName,
                                                              const EKCalendarPtr& calendar,
                                                              const Completion& completion) {
    auto& settings = applicationSettingsStore();
    auto meeting = settings.currentEvent();
    auto range = FetchRequestUtils::getMeetingDatesRangeForAuthToken(authToken,
                                                                     meeting ? meeting->itemId() : std::nullopt);
    if (!range) {
        auto error = QVAError::initWithDescription(kNoDateRangeMessage);
        foundation::Log("%@", kNoDateRangeLog);
        complete(completion, error);
        return;
    }
    const auto deviceEvents = getEventsForCalendar(calendar, range->start, range->end);
    for (const auto& item : items)
        refreshDeviceCalendarItemForAgendaItem(*item, calendar, deviceEvents, rooms, venues, authToken, eventName);

    // Mirrored items that left the agenda.
    std::set<std::string> agendaItemIds;
    for (const auto& item : items)
        if (item->agendaItemId()) agendaItemIds.insert(*item->agendaItemId());
    const std::string token = authToken.value_or("");
    const Value mapped = authToken ? Value(settings.calendarDatabase())[token] : Value();
    if (const auto* inner = mapped.dictionary())
        for (const auto& [agendaItemId, identifier] : *inner)
            if (!agendaItemIds.count(agendaItemId) && identifier.isString())
                removeEventWithIdentifier(*identifier.string(), calendar, authToken, false);

    // Events of this meeting the map does not know (moved by the user, or
    // left by an earlier sync that was interrupted).
    std::set<std::string> known;
    const Value current = authToken ? Value(settings.calendarDatabase())[token] : Value();
    if (const auto* inner = current.dictionary())
        for (const auto& [agendaItemId, identifier] : *inner)
            if (identifier.isString()) known.insert(*identifier.string());
    for (const auto& event : deviceEvents)
        if (event->eventIdentifier() && !known.count(*event->eventIdentifier()) &&
            isMirroredLocation(event->location(), eventName))
            removeEventWithIdentifier(*event->eventIdentifier(), calendar, authToken, false);

    eventStore_->commit();
    complete(completion, nullptr);
}

void SyncCalendarService::refreshDeviceCalendarItemForAgendaItem(const QVAAgendaRole& item,
                                                                 const EKCalendarPtr& calendar,
                                                                 const std::vector<EKEventPtr>& deviceCalendarEvents,
                                                                 const Rooms& rooms, const Venues& venues,
                                                                 const Text& authToken,
                                                                 const std::string& eventName) {
    const auto matches = calendarEntriesForAgendaModel(item, deviceCalendarEvents);
    if (matches.empty()) {
        createCalendarEventFromAgendaItem(item, rooms, venues, calendar, false, authToken, eventName);
        return;
    }
    const auto& first = matches.front();
    updateCalendarEventData(first, item, rooms, venues, calendar, authToken, eventName, false);
    for (size_t i = 1; i < matches.size(); ++i)
        if (matches[i]->eventIdentifier() && matches[i]->eventIdentifier() != first->eventIdentifier())
            removeEventWithIdentifier(*matches[i]->eventIdentifier(), calendar, authToken, false);
}

void SyncCalendarService::createCalendarEventFromAgendaItem(const QVAAgendaRole& item, const Rooms& rooms,
                                                            const Venues& venues, const EKCalendarPtr& calendar,
                                                            bool saveOption, const Text& authToken,
                                                            const std::string& eventName) {
    auto event = eventkit::EKEvent::eventWithEventStore(eventStore_);
    updateCalendarEventData(event, item, rooms, venues, calendar, authToken, eventName, saveOption);
    if (event->eventIdentifier() && item.agendaItemId())
        updateLocalCalendarDatabaseForKey(*item.agendaItemId(), *event->eventIdentifier(), authToken);
}

void SyncCalendarService::updateCalendarEventData(const EKEventPtr& event, const QVAAgendaRole& item,
                                                  const Rooms& rooms, const Venues& venues,
                                                  const EKCalendarPtr& calendar, const Text& authToken,
                                                  const std::string& eventName, bool) {
    if (dynamic_cast<const QVAAgendaInvitation*>(&item)) {
        const auto& status = item.status();
        if (status != kConfirmedStatus && status != kInvitedStatus) {
            // Declined, cancelled or delegated: no event, and none left behind.
            if (event->eventIdentifier())
                removeEventWithIdentifier(*event->eventIdentifier(), calendar, authToken, false);
            // The event mirrored for it before no longer matches when its
            // session was renamed or moved as well; the map still names it,
            // which also keeps it from the clean-up of unknown events.
            if (authToken && item.agendaItemId()) {
                const Value database(applicationSettingsStore().calendarDatabase());
                const Value& mapped =
                    database[std::string_view(*authToken)][std::string_view(*item.agendaItemId())];
                if (const auto* identifier = mapped.string())
                    removeEventWithIdentifier(*identifier, calendar, authToken, false);
            }
            return;
        }
    }
    event->setTitle(item.title());
    event->setStartDate(instant(item.startDatetime()));
    event->setEndDate(instant(item.endDatetime()));
    event->setCalendar(calendar);
    const auto place = buildLocationString(item, rooms, venues);
    event->setLocation(place ? foundation::Format("%@ - %@", eventName, *place) : eventName);
    event->setNotes(item.sessionDescription());
    setAlertTime(*event);

    foundation::ErrorPtr error;
    const bool saved = eventStore_->saveEvent(event, eventkit::EKSpan::ThisEvent, false, &error);
    if (saved && !error && event->eventIdentifier()) {
        if (item.agendaItemId())
            updateLocalCalendarDatabaseForKey(*item.agendaItemId(), *event->eventIdentifier(), authToken);
    } else if (error) {
        Utils::handleError(error, kEventNotSavedTitle, std::nullopt, false);
    } else if (!saved) {
        foundation::Log("%@", kEventNotSavedLog);
    }
}

std::vector<EKEventPtr> SyncCalendarService::calendarEntriesForAgendaModel(
    const QVAAgendaRole& item, const std::vector<EKEventPtr>& events) const {
    const auto start = instant(item.startDatetime());
    const auto end = instant(item.endDatetime());
    std::vector<EKEventPtr> out;
    if (!start || !end) return out;
    for (const auto& event : events)
        if (event->title() == item.title() && event->startDate() == start && event->endDate() == end)
            out.push_back(event);
    return out;
}

std::vector<EKEventPtr> SyncCalendarService::getEventsForCalendar(const EKCalendarPtr& calendar,
                                                                  const std::optional<foundation::Date>& start,
                                                                  const std::optional<foundation::Date>& end) const {
    if (!start || !end || !calendar) return {};
    auto predicate = eventStore_->predicateForEventsWithStartDate(*start, *end, std::vector<EKCalendarPtr>{calendar});
    return eventStore_->eventsMatchingPredicate(predicate);
}

void SyncCalendarService::removeEventWithIdentifier(const std::string& identifier, const EKCalendarPtr& calendar,
                                                    const Text& authToken, bool) {
    auto event = eventStore_->eventWithIdentifier(identifier);
    if (!event) return;
    foundation::ErrorPtr error;
    const bool removed = eventStore_->removeEvent(event, eventkit::EKSpan::ThisEvent, false, &error);
    const std::string calendarTitle = calendar ? calendar->title() : "(null)";
    if (removed) {
        removeLocalCalendarEventWithId(identifier, authToken);
    } else if (error) {
        Utils::handleError(error,
                           foundation::Format("Unable to remove item with identifier %@ from calendar %@", identifier,
                                              calendarTitle),
                           std::nullopt, false);
    } else {
        foundation::Log(
            "Unable to remove item with identifier %@ from calendar %@. The item does not exist in the store.",
            identifier, calendarTitle);
    }
}

void SyncCalendarService::updateLocalCalendarDatabaseForKey(const std::string& agendaItemId,
                                                            const std::string& eventIdentifier,
                                                            const Text& authToken) {
    if (!authToken) return;
    auto& settings = applicationSettingsStore();
    auto database = settings.calendarDatabase();
    Value& inner = database[*authToken];
    if (!inner.isDictionary()) inner = Value(Value::Dictionary());
    inner[agendaItemId] = Value(eventIdentifier);
    settings.setCalendarDatabase(std::move(database));
}

void SyncCalendarService::removeLocalCalendarEventWithId(const std::string& eventIdentifier, const Text& authToken) {
    if (!authToken) return;
    auto& settings = applicationSettingsStore();
    auto database = settings.calendarDatabase();
    auto found = database.find(*authToken);
    if (found == database.end() || !found->second.isDictionary()) return;
    auto& inner = *found->second.dictionary();
    const auto before = inner.size();
    std::erase_if(inner, [&](const auto& entry) { return entry.second == Value(eventIdentifier); });
    if (inner.size() != before) settings.setCalendarDatabase(std::move(database));
}

void SyncCalendarService::setAlertTime(eventkit::EKEvent& event) const {
    const auto offset = alarmOffsetForChoice(applicationSettingsStore().calendarAlertTime());
    event.setAlarms({});
    if (offset) event.addAlarm(eventkit::EKAlarm::alarmWithRelativeOffset(*offset));
}

std::optional<double> SyncCalendarService::alarmOffsetForChoice(int32_t choice) {
    switch (choice) {
        case 1: return 0.0;
        case 2: return -300.0;
        case 3: return -900.0;
        case 4: return -1800.0;
        case 5: return -3600.0;
        case 6: return -7200.0;
        default: return std::nullopt;
    }
}

SyncCalendarService::Text SyncCalendarService::buildLocationString(const QVAAgendaRole& item, const Rooms& rooms,
                                                                   const Venues& venues) {
    const auto& roomId = item.roomId();
    if (!roomId || roomId->empty()) return std::nullopt;
    auto room = std::find_if(rooms.begin(), rooms.end(), [&](const auto& r) { return r && r->itemId() == roomId; });
    if (room == rooms.end()) return std::nullopt;
    const auto& venueId = (*room)->venueId();
    if (!venueId || venueId->empty()) return std::nullopt;
    const std::string roomName = (*room)->name().value_or("");
    auto venue =
        std::find_if(venues.begin(), venues.end(), [&](const auto& v) { return v && v->itemId() == venueId; });
    if (venue == venues.end()) return foundation::StringUtils::trim(roomName);
    return foundation::StringUtils::trim(
        foundation::Format("%@, %@", (*venue)->name().value_or(""), roomName));
}

void SyncCalendarService::unsyncWithDeviceCalendarForAuthToken(const Text& authToken, const Text& eventId,
                                                               const Completion& completion) {
    auto& settings = applicationSettingsStore();
    auto calendar = getCalendarWithIdentifier(settings.calendarIdentifier());
    if (!calendar || !calendar->allowsContentModifications()) {
        complete(completion, QVAError::initWithDescription(kCalendarNotModifiableMessage));
        return;
    }
    // Every mirrored event of every account; the map shrinks as they go.
    for (const auto& [token, inner] : settings.calendarDatabase())
        if (const auto* entries = inner.dictionary())
            for (const auto& [agendaItemId, identifier] : *entries)
                if (identifier.isString()) removeEventWithIdentifier(*identifier.string(), calendar, token, false);

    // Then the meeting's events that the map no longer knew. Mirrored
    // locations carry the trimmed name, so that is the one looked for.
    auto range = FetchRequestUtils::getMeetingDatesRangeForAuthToken(authToken, eventId);
    auto current = settings.currentEvent();
    const std::string eventName = trimmed(current ? current->eventName() : std::nullopt);
    std::set<std::string> known;
    for (const auto& [token, inner] : settings.calendarDatabase())
        if (const auto* entries = inner.dictionary())
            for (const auto& [agendaItemId, identifier] : *entries)
                if (identifier.isString()) known.insert(*identifier.string());
    const auto events = range ? getEventsForCalendar(calendar, range->start, range->end) : std::vector<EKEventPtr>{};
    for (const auto& event : events)
        if (event->eventIdentifier() && !known.count(*event->eventIdentifier()) &&
            isMirroredLocation(event->location(), eventName))
            removeEventWithIdentifier(*event->eventIdentifier(), calendar, authToken, false);

    foundation::ErrorPtr commitError;
    eventStore_->commit(&commitError);
    clearCalendarSettings(calendar);
    complete(completion, commitError);
}

void SyncCalendarService::clearCalendarSettings(const EKCalendarPtr&) {
    auto& settings = applicationSettingsStore();
    settings.setSyncWithCalendar(false);
    settings.setCalendarIdentifier(std::nullopt);
    settings.setCalendarDatabase(std::nullopt);
    settings.setCalendarAlertTime(0);
}

// The event store over one iCalendar file per calendar.
//
// Invariants: every event record names a calendar of `calendars`; a calendar
// is in `dirty` exactly when its file differs from what this store holds; the
// files change only in commit, addCalendar and removeCalendar, each file
// written whole (write, then rename).
#include "eventkit/EKEventStore.h"

#include <algorithm>
#include <map>
#include <set>

#include "dispatch/Queue.h"
#include "eventkit/ICalendar.h"
#include "foundation/ApplicationHome.h"
#include "foundation/Crypto.h"
#include "foundation/Data.h"
#include "foundation/FileManager.h"
#include "foundation/Log.h"

namespace eventkit {

struct EKEventStore::EventRecord {
    std::string identifier;
    std::string calendarIdentifier;
    std::optional<std::string> title, location, notes;
    foundation::Date start, end;
    std::vector<double> alarmOffsets;
};

struct EKEventStore::State {
    std::vector<EKSourcePtr> sources;
    std::vector<EKCalendarPtr> calendars;
    std::map<std::string, EventRecord> events;
    std::set<std::string> dirty;
};

namespace {

constexpr const char* kCalendarFileExtension = ".ics";

// What the user decided, process-wide as on the device.
struct Privacy {
    std::mutex mutex;
    std::map<EKEntityType, EKAuthorizationStatus> status;
    struct Answer {
        bool granted = true;
        foundation::ErrorPtr error;
    };
    std::map<EKEntityType, Answer> answers;
};

Privacy& privacy() {
    static Privacy* shared = new Privacy();
    return *shared;
}

foundation::ErrorPtr storeError(int code, const std::string& description) {
    return foundation::Error::withDescription(kEKErrorDomain, code, description);
}

bool refuse(foundation::ErrorPtr* error, int code, const std::string& description) {
    if (error) *error = storeError(code, description);
    return false;
}

}  // namespace

EKEventStore::EKEventStore() : state_(std::make_unique<State>()) {}
EKEventStore::~EKEventStore() = default;

std::shared_ptr<EKEventStore> EKEventStore::create() {
    std::shared_ptr<EKEventStore> store(new EKEventStore());
    store->load();
    return store;
}

std::string EKEventStore::calendarsDirectory() {
    return foundation::ApplicationHome::libraryDirectory() + "/Calendars";
}

std::string EKEventStore::pathForCalendarIdentifier(const std::string& identifier) {
    return calendarsDirectory() + "/" + identifier + kCalendarFileExtension;
}

EKAuthorizationStatus EKEventStore::authorizationStatusForEntityType(EKEntityType type) {
    auto& p = privacy();
    std::lock_guard lock(p.mutex);
    auto found = p.status.find(type);
    return found == p.status.end() ? EKAuthorizationStatus::NotDetermined : found->second;
}

void EKEventStore::setAuthorizationStatus(EKEntityType type, EKAuthorizationStatus status) {
    auto& p = privacy();
    std::lock_guard lock(p.mutex);
    p.status[type] = status;
}

void EKEventStore::setAccessRequestAnswer(EKEntityType type, bool granted, foundation::ErrorPtr error) {
    auto& p = privacy();
    std::lock_guard lock(p.mutex);
    p.answers[type] = {granted, std::move(error)};
}

void EKEventStore::requestAccessToEntityType(EKEntityType type, AccessCompletion completion) {
    Privacy::Answer answer;
    {
        auto& p = privacy();
        std::lock_guard lock(p.mutex);
        if (auto found = p.answers.find(type); found != p.answers.end()) answer = found->second;
        if (!answer.error)
            p.status[type] = answer.granted ? EKAuthorizationStatus::Authorized : EKAuthorizationStatus::Denied;
    }
    // The device answers from its own queue, never the main one.
    dispatch::Queue::global()->async([completion = std::move(completion), answer] {
        if (completion) completion(answer.granted && !answer.error, answer.error);
    });
}

bool EKEventStore::authorized() const {
    return authorizationStatusForEntityType(EKEntityType::Event) == EKAuthorizationStatus::Authorized;
}

void EKEventStore::load() {
    std::lock_guard lock(mutex_);
    auto kept = std::move(state_->sources);
    *state_ = State();
    // Sources with no calendar on disk yet stay known to this store.
    state_->sources = std::move(kept);
    std::weak_ptr<const EKEventStore> self = shared_from_this();

    const auto& files = foundation::FileManager::defaultManager();
    auto names = files.contentsOfDirectoryAtPath(calendarsDirectory());
    if (!names) return;
    const std::string extension = kCalendarFileExtension;
    for (const auto& name : *names) {
        if (name.size() <= extension.size() || !name.ends_with(extension)) continue;
        const std::string identifier = name.substr(0, name.size() - extension.size());
        auto data = files.contentsAtPath(calendarsDirectory() + "/" + name);
        if (!data) continue;
        foundation::ErrorPtr error;
        auto document = ICalendar::read(data->toString(), &error);
        if (!document) {
            foundation::Log("Calendar file %@ is not readable: %@", name, error->localizedDescription());
            continue;
        }
        std::string sourceId = document->sourceIdentifier.empty() ? "local" : document->sourceIdentifier;
        auto source = std::find_if(state_->sources.begin(), state_->sources.end(),
                                   [&](const auto& s) { return s->sourceIdentifier() == sourceId; });
        EKSourcePtr owner;
        if (source != state_->sources.end()) {
            owner = *source;
        } else {
            owner = std::make_shared<EKSource>(sourceId, document->sourceTitle,
                                               static_cast<EKSourceType>(document->sourceType), self);
            state_->sources.push_back(owner);
        }
        state_->calendars.push_back(std::make_shared<EKCalendar>(identifier, document->calendarTitle,
                                                                 static_cast<EKCalendarType>(document->calendarType),
                                                                 document->allowsContentModifications, owner));
        for (auto& read : document->events) {
            EventRecord record{.identifier = read.uid,
                               .calendarIdentifier = identifier,
                               .title = std::move(read.summary),
                               .location = std::move(read.location),
                               .notes = std::move(read.description),
                               .start = read.start,
                               .end = read.end,
                               .alarmOffsets = std::move(read.alarmOffsets)};
            // Another program may have left an event without a UID or with
            // one we already hold; it gets an identifier of its own.
            if (record.identifier.empty() || state_->events.count(record.identifier)) {
                record.identifier = foundation::Crypto::uuidString();
                state_->dirty.insert(identifier);
            }
            state_->events.emplace(record.identifier, std::move(record));
        }
    }
}

void EKEventStore::reset() { load(); }

std::vector<EKSourcePtr> EKEventStore::sources() const {
    if (!authorized()) return {};
    std::lock_guard lock(mutex_);
    return state_->sources;
}

std::vector<EKCalendarPtr> EKEventStore::calendarsForEntityType(EKEntityType type) const {
    if (!authorized() || type != EKEntityType::Event) return {};
    std::lock_guard lock(mutex_);
    return state_->calendars;
}

std::vector<EKCalendarPtr> EKEventStore::deviceCalendars() const {
    std::lock_guard lock(mutex_);
    return state_->calendars;
}

std::vector<EKCalendarPtr> EKEventStore::calendarsOfSource(const std::string& sourceIdentifier) const {
    if (!authorized()) return {};
    std::lock_guard lock(mutex_);
    std::vector<EKCalendarPtr> out;
    for (const auto& calendar : state_->calendars)
        if (calendar->source() && calendar->source()->sourceIdentifier() == sourceIdentifier) out.push_back(calendar);
    return out;
}

EKCalendarPtr EKEventStore::calendarWithIdentifier(const std::string& identifier) const {
    if (!authorized()) return nullptr;
    std::lock_guard lock(mutex_);
    for (const auto& calendar : state_->calendars)
        if (calendar->calendarIdentifier() == identifier) return calendar;
    return nullptr;
}

EKEventPtr EKEventStore::copyOf(const EventRecord& record) const {
    auto event = std::make_shared<EKEvent>();
    event->eventIdentifier_ = record.identifier;
    event->title_ = record.title;
    event->startDate_ = record.start;
    event->endDate_ = record.end;
    event->location_ = record.location;
    event->notes_ = record.notes;
    for (const auto& calendar : state_->calendars)
        if (calendar->calendarIdentifier() == record.calendarIdentifier) event->calendar_ = calendar;
    for (double offset : record.alarmOffsets) event->alarms_.push_back(EKAlarm::alarmWithRelativeOffset(offset));
    return event;
}

EKEventPtr EKEventStore::eventWithIdentifier(const std::string& identifier) const {
    if (!authorized()) return nullptr;
    std::lock_guard lock(mutex_);
    auto found = state_->events.find(identifier);
    return found == state_->events.end() ? nullptr : copyOf(found->second);
}

EKEventPredicate EKEventStore::predicateForEventsWithStartDate(
    foundation::Date startDate, foundation::Date endDate,
    const std::optional<std::vector<EKCalendarPtr>>& calendars) const {
    EKEventPredicate predicate{startDate, endDate, std::nullopt};
    if (calendars) {
        predicate.calendarIdentifiers.emplace();
        for (const auto& calendar : *calendars)
            if (calendar) predicate.calendarIdentifiers->push_back(calendar->calendarIdentifier());
    }
    return predicate;
}

std::vector<EKEventPtr> EKEventStore::eventsMatchingPredicate(const EKEventPredicate& predicate) const {
    if (!authorized()) return {};
    std::lock_guard lock(mutex_);
    std::vector<const EventRecord*> matching;
    for (const auto& [identifier, record] : state_->events) {
        if (predicate.calendarIdentifiers &&
            std::find(predicate.calendarIdentifiers->begin(), predicate.calendarIdentifiers->end(),
                      record.calendarIdentifier) == predicate.calendarIdentifiers->end())
            continue;
        // Overlapping the range; an event of no length counts where it starts.
        const bool overlaps = record.start < predicate.endDate &&
                              (record.end > predicate.startDate || record.start >= predicate.startDate);
        if (overlaps) matching.push_back(&record);
    }
    std::stable_sort(matching.begin(), matching.end(),
                     [](const EventRecord* a, const EventRecord* b) { return a->start < b->start; });
    std::vector<EKEventPtr> out;
    for (const auto* record : matching) out.push_back(copyOf(*record));
    return out;
}

bool EKEventStore::saveEvent(const EKEventPtr& event, EKSpan, bool commitNow, foundation::ErrorPtr* error) {
    if (!authorized())
        return refuse(error, EKError::EventStoreNotAuthorized, "Access to the calendar was not granted.");
    if (!event) return refuse(error, EKError::EventNotMutable, "No event.");
    {
        std::lock_guard lock(mutex_);
        const auto& calendar = event->calendar();
        const bool known = calendar && std::any_of(state_->calendars.begin(), state_->calendars.end(), [&](auto& c) {
                               return c->calendarIdentifier() == calendar->calendarIdentifier();
                           });
        if (!known) return refuse(error, EKError::NoCalendar, "No calendar has been set.");
        if (!calendar->allowsContentModifications())
            return refuse(error, EKError::CalendarReadOnly, "The calendar is read only.");
        if (!event->startDate()) return refuse(error, EKError::NoStartDate, "No start date has been set.");
        if (!event->endDate()) return refuse(error, EKError::NoEndDate, "No end date has been set.");
        if (*event->endDate() < *event->startDate())
            return refuse(error, EKError::DatesInverted, "The start date must be before the end date.");

        if (!event->eventIdentifier()) event->eventIdentifier_ = foundation::Crypto::uuidString();
        auto& record = state_->events[*event->eventIdentifier()];
        // An event moved to another calendar leaves the old file too.
        if (!record.calendarIdentifier.empty()) state_->dirty.insert(record.calendarIdentifier);
        record.identifier = *event->eventIdentifier();
        record.calendarIdentifier = calendar->calendarIdentifier();
        record.title = event->title();
        record.location = event->location();
        record.notes = event->notes();
        record.start = *event->startDate();
        record.end = *event->endDate();
        record.alarmOffsets.clear();
        for (const auto& alarm : event->alarms())
            if (alarm) record.alarmOffsets.push_back(alarm->relativeOffset());
        state_->dirty.insert(record.calendarIdentifier);
    }
    return commitNow ? commit(error) : true;
}

bool EKEventStore::removeEvent(const EKEventPtr& event, EKSpan, bool commitNow, foundation::ErrorPtr* error) {
    if (!authorized())
        return refuse(error, EKError::EventStoreNotAuthorized, "Access to the calendar was not granted.");
    {
        std::lock_guard lock(mutex_);
        if (!event || !event->eventIdentifier()) return false;
        auto found = state_->events.find(*event->eventIdentifier());
        if (found == state_->events.end()) return false;
        for (const auto& calendar : state_->calendars)
            if (calendar->calendarIdentifier() == found->second.calendarIdentifier &&
                !calendar->allowsContentModifications())
                return refuse(error, EKError::CalendarReadOnly, "The calendar is read only.");
        state_->dirty.insert(found->second.calendarIdentifier);
        state_->events.erase(found);
    }
    return commitNow ? commit(error) : true;
}

bool EKEventStore::writeCalendar(const std::string& identifier, foundation::ErrorPtr* error) const {
    auto calendar = std::find_if(state_->calendars.begin(), state_->calendars.end(),
                                 [&](const auto& c) { return c->calendarIdentifier() == identifier; });
    if (calendar == state_->calendars.end()) return true;  // removed since: nothing to write
    ICalendarDocument document;
    document.calendarTitle = (*calendar)->title();
    document.calendarType = static_cast<int>((*calendar)->type());
    document.allowsContentModifications = (*calendar)->allowsContentModifications();
    if (const auto& source = (*calendar)->source()) {
        document.sourceIdentifier = source->sourceIdentifier();
        document.sourceTitle = source->title();
        document.sourceType = static_cast<int>(source->sourceType());
    }
    std::vector<const EventRecord*> records;
    for (const auto& [id, record] : state_->events)
        if (record.calendarIdentifier == identifier) records.push_back(&record);
    std::stable_sort(records.begin(), records.end(),
                     [](const EventRecord* a, const EventRecord* b) { return a->start < b->start; });
    for (const auto* record : records)
        document.events.push_back({record->identifier, record->title, record->location, record->notes, record->start,
                                   record->end, record->alarmOffsets});

    const auto& files = foundation::FileManager::defaultManager();
    if (!files.createDirectoryAtPath(calendarsDirectory(), true, error)) return false;
    const std::string text = ICalendar::write(document, foundation::Date::now());
    return files.writeData(foundation::Data::fromString(text), pathForCalendarIdentifier(identifier), true, error);
}

bool EKEventStore::commit(foundation::ErrorPtr* error) {
    std::lock_guard lock(mutex_);
    while (!state_->dirty.empty()) {
        const std::string identifier = *state_->dirty.begin();
        if (!writeCalendar(identifier, error)) return false;
        state_->dirty.erase(identifier);
    }
    return true;
}

EKSourcePtr EKEventStore::addSource(const std::string& title, EKSourceType type) {
    auto source = std::make_shared<EKSource>(foundation::Crypto::uuidString(), title, type, weak_from_this());
    std::lock_guard lock(mutex_);
    state_->sources.push_back(source);
    return source;
}

EKCalendarPtr EKEventStore::addCalendar(const EKSourcePtr& source, const std::string& title, EKCalendarType type,
                                        bool allowsContentModifications, foundation::ErrorPtr* error) {
    auto calendar =
        std::make_shared<EKCalendar>(foundation::Crypto::uuidString(), title, type, allowsContentModifications, source);
    std::lock_guard lock(mutex_);
    if (source && std::find(state_->sources.begin(), state_->sources.end(), source) == state_->sources.end())
        state_->sources.push_back(source);
    state_->calendars.push_back(calendar);
    if (!writeCalendar(calendar->calendarIdentifier(), error)) {
        state_->calendars.pop_back();
        return nullptr;
    }
    return calendar;
}

bool EKEventStore::removeCalendar(const EKCalendarPtr& calendar, foundation::ErrorPtr* error) {
    if (!calendar) return false;
    const std::string identifier = calendar->calendarIdentifier();
    std::lock_guard lock(mutex_);
    std::erase_if(state_->calendars, [&](const auto& c) { return c->calendarIdentifier() == identifier; });
    std::erase_if(state_->events, [&](const auto& entry) { return entry.second.calendarIdentifier == identifier; });
    state_->dirty.erase(identifier);
    const std::string path = pathForCalendarIdentifier(identifier);
    const auto& files = foundation::FileManager::defaultManager();
    return !files.fileExistsAtPath(path) || files.removeItemAtPath(path, error);
}

}  // namespace eventkit

// The shared queries over the store front's fetch rule.
#include "store/FetchRequestUtils.h"

#include <algorithm>

#include "settings/ApplicationSettingsStore.h"
#include "coredata/FetchRequest.h"
#include "coredata/ManagedObject.h"
#include "foundation/Calendar.h"
#include "foundation/StringUtils.h"
#include "model/QVACoreDataAgendaRole.h"
#include "model/QVACoreDataFollowedParticipant.h"
#include "model/QVACoreDataOrganization.h"
#include "model/QVACoreDataParticipant.h"
#include "model/QVACoreDataParticipantNote.h"
#include "model/QVACoreDataPermission.h"
#include "model/QVACoreDataRoom.h"
#include "model/QVACoreDataSession.h"
#include "model/QVACoreDataSessionNote.h"
#include "model/QVACoreDataVenue.h"
#include "store/StorageManager.h"
#include "Utils/DateHelper.h"

using coredata::ContextPtr;
using coredata::FetchRequest;
using coredata::FetchRequestResultType;
using coredata::Predicate;
using coredata::PredicatePtr;
using foundation::Value;

namespace {

// Entities that the queries name but the model lacks: they fetch nothing.
constexpr const char* kVotingUriEntity = "CoreDataVotingUri";
constexpr const char* kWatchlistItemEntity = "CoreDataWatchlistItem";

// Separators of the encoded memberships: "|1|network|2|community|3|".
constexpr std::string_view kStartMarker = "|1|";
constexpr std::string_view kCommunityMarker = "|2|";
constexpr std::string_view kEndMarker = "|3|";

constexpr double kTwoDays = 172800;

struct Query {
    std::string entityName = {};
    PredicatePtr predicate = {};
    bool asDictionaries = true;
    std::vector<std::string> properties = {};
    std::vector<coredata::SortDescriptor> sortDescriptors = {};
    bool distinct = false;
};

Value::Array run(const Query& query, const ContextPtr& context) {
    auto request = std::make_shared<FetchRequest>(query.entityName);
    request->setPredicate(query.predicate);
    if (query.asDictionaries) request->setResultType(FetchRequestResultType::Dictionary);
    request->setPropertiesToFetch(query.properties);
    request->setSortDescriptors(query.sortDescriptors);
    request->setReturnsDistinctResults(query.distinct);
    return StorageManager::sharedStorageManager().executeFetchRequestAndWait(request, context);
}

// The texts under `key` of fetched rows, skipping rows without one.
FetchRequestUtils::Strings texts(const Value::Array& rows, const std::string& key) {
    FetchRequestUtils::Strings out;
    for (const auto& row : rows) {
        Value value = row.isObject() ? row.objectAs<coredata::ManagedObject>()->valueForKey(key) : row[key];
        if (const auto* text = value.string()) out.push_back(*text);
    }
    return out;
}

FetchRequestUtils::Text firstText(const Value::Array& rows, const std::string& key) {
    if (rows.empty()) return std::nullopt;
    auto found = texts({rows.front()}, key);
    if (found.empty()) return std::nullopt;
    return found.front();
}

bool contains(const FetchRequestUtils::Strings& ids, const std::string& id) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

void sortLocalized(FetchRequestUtils::Strings& strings) {
    std::sort(strings.begin(), strings.end(), [](const std::string& a, const std::string& b) {
        return foundation::StringUtils::localizedCaseInsensitiveCompare(a, b) < 0;
    });
}

ContextPtr currentMainQueueContext() {
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    auto account = settings.currentAccount();
    auto event = settings.currentEvent();
    if (!account || !event) return nullptr;
    auto stack = StorageManager::sharedStorageManager().getCoreDataStackForAuthToken(account->authenticationCode(),
                                                                                     event->itemId());
    return stack ? stack->managedObjectContextMainQueue() : nullptr;
}

std::optional<foundation::Date> atTimeOfDay(const foundation::Calendar& calendar, foundation::Date date, int hour,
                                            int minute) {
    auto fields = calendar.components(date);
    fields.hour = hour;
    fields.minute = minute;
    fields.second = 0;
    return calendar.dateFromComponents(fields);
}

}  // namespace

// ---- Membership ----------------------------------------------------------------

bool FetchRequestUtils::subactivityHasPersonalNotes(const std::string& sessionId, const Strings& personalNoteIdsArray) {
    return contains(personalNoteIdsArray, sessionId);
}

bool FetchRequestUtils::subactivityIsInAgendaWithId(const std::string& sessionId, const Strings& agendaIDsArray) {
    return contains(agendaIDsArray, sessionId);
}

bool FetchRequestUtils::subactivityIsAPrivateSessionWithId(const std::string& sessionId,
                                                           const Strings& sessionsOfficialIdsArray) {
    return !contains(sessionsOfficialIdsArray, sessionId);
}

// ---- Queries -------------------------------------------------------------------

std::vector<std::shared_ptr<QVARoom>> FetchRequestUtils::getRoomsModelArrayInContext(const ContextPtr& context) {
    std::vector<std::shared_ptr<QVARoom>> rooms;
    for (const auto& row : run({.entityName = QVACoreDataRoom::kEntityName}, context))
        if (auto room = QVARoom::initWithCoreDataDictionary(row)) rooms.push_back(std::move(room));
    return rooms;
}

std::vector<std::shared_ptr<QVAVenue>> FetchRequestUtils::getVenuesModelArrayInContext(const ContextPtr& context) {
    std::vector<std::shared_ptr<QVAVenue>> venues;
    for (const auto& row : run({.entityName = QVACoreDataVenue::kEntityName}, context))
        if (auto venue = QVAVenue::initWithCoreDataDictionary(row)) venues.push_back(std::move(venue));
    return venues;
}

FetchRequestUtils::Strings FetchRequestUtils::getFavoritedparticipantIdsArrayInContext(const ContextPtr& context) {
    return texts(run({.entityName = QVACoreDataFollowedParticipant::kEntityName, .properties = {"itemId"}}, context),
                 "itemId");
}

FetchRequestUtils::Strings FetchRequestUtils::getNotEmptySubactivityNoteIdsArrayInContext(const ContextPtr& context) {
    auto rows = run({.entityName = QVACoreDataSessionNote::kEntityName,
                     .predicate = Predicate::withFormat("note != nil AND note!=''"),
                     .properties = {"sessionId"}},
                    context);
    return texts(rows, "sessionId");
}

FetchRequestUtils::Strings FetchRequestUtils::getNotEmptyParticipantsNoteIdsArrayInContext(const ContextPtr& context) {
    auto rows = run({.entityName = QVACoreDataParticipantNote::kEntityName,
                     .predicate = Predicate::withFormat("note != nil AND note!=''"),
                     .properties = {"participantId"}},
                    context);
    return texts(rows, "participantId");
}

FetchRequestUtils::Strings FetchRequestUtils::getAgendaIdsArrayInContext(const ContextPtr& context) {
    return texts(run({.entityName = QVACoreDataAgendaRole::kEntityName, .properties = {"itemId"}}, context), "itemId");
}

FetchRequestUtils::Strings FetchRequestUtils::getSessionsOfficialIdsArrayInContext(const ContextPtr& context) {
    return texts(run({.entityName = QVACoreDataSession::kEntityName, .properties = {"itemId"}}, context), "itemId");
}

FetchRequestUtils::Text FetchRequestUtils::getSessionVotingUrl(const std::string& sessionId,
                                                               const ContextPtr& context) {
    auto rows = run({.entityName = kVotingUriEntity,
                     .predicate = Predicate::withFormat("itemId = %@", sessionId),
                     .asDictionaries = false},
                    context);
    return firstText(rows, "votingUrl");
}

bool FetchRequestUtils::hasSessionVotingLink(const std::string& sessionId, const ContextPtr& context) {
    auto url = getSessionVotingUrl(sessionId, context);
    return url && !url->empty();
}

bool FetchRequestUtils::isSessionInOfficial(const std::string& sessionId, const ContextPtr& context) {
    return !run({.entityName = QVACoreDataSession::kEntityName,
                 .predicate = Predicate::withFormat("itemId = %@", sessionId),
                 .properties = {"itemId"}},
                context)
                .empty();
}

bool FetchRequestUtils::existsOrganizationWithId(const std::string& organizationId, const ContextPtr& context) {
    return !run({.entityName = QVACoreDataOrganization::kEntityName,
                 .predicate = Predicate::withFormat("itemId = %@", organizationId),
                 .properties = {"itemId"}},
                context)
                .empty();
}

bool FetchRequestUtils::isSubactivityInWatchlistWithId(int64_t subactivityId, const ContextPtr& context) {
    return !run({.entityName = kWatchlistItemEntity,
                 .predicate = Predicate::withFormat("SubactivityId = %d", subactivityId),
                 .asDictionaries = false},
                context)
                .empty();
}

FetchRequestUtils::Text FetchRequestUtils::getNoteForSessionId(const std::string& sessionId,
                                                               const ContextPtr& context) {
    auto rows = run({.entityName = QVACoreDataSessionNote::kEntityName,
                     .predicate = Predicate::withFormat("sessionId = %@", sessionId),
                     .asDictionaries = false},
                    context);
    return firstText(rows, "note");
}

FetchRequestUtils::Text FetchRequestUtils::getNoteForParticipantId(const std::string& participantId,
                                                                   const ContextPtr& context) {
    auto rows = run({.entityName = QVACoreDataParticipantNote::kEntityName,
                     .predicate = Predicate::withFormat("participantId = %@", participantId),
                     .asDictionaries = false},
                    context);
    return firstText(rows, "note");
}

bool FetchRequestUtils::isFollowedParticipant(const std::string& participantId) {
    auto context = currentMainQueueContext();
    if (!context) return false;
    return !run({.entityName = QVACoreDataFollowedParticipant::kEntityName,
                 .predicate = Predicate::withFormat("itemId = %@", participantId),
                 .properties = {"itemId"}},
                context)
                .empty();
}

std::vector<coredata::SortDescriptor> FetchRequestUtils::getSimpleSessionsListSortDescriptos() {
    return {coredata::SortDescriptor("startDatetime", true), coredata::SortDescriptor("keyword", true),
            coredata::SortDescriptor("title", true)};
}

// ---- Meeting range and days -------------------------------------------------------

std::optional<FetchRequestUtils::MeetingDatesRange> FetchRequestUtils::getMeetingDatesRangeForAuthToken(
    const Text& authToken, const Text& eventId) {
    auto stack = StorageManager::sharedStorageManager().getCoreDataStackForAuthToken(authToken, eventId);
    if (!stack) return std::nullopt;
    // Text order is time order only within one offset, which a meeting's
    // sessions share.
    auto rows = run({.entityName = QVACoreDataSession::kEntityName,
                     .properties = {"startDatetime"},
                     .sortDescriptors = {coredata::SortDescriptor("startDatetime", true)}},
                    stack->managedObjectContextMainQueue());
    if (rows.empty()) return std::nullopt;
    auto first = DateHelper::dateFromServer(rows.front()["startDatetime"], true);
    auto last = DateHelper::dateFromServer(rows.back()["startDatetime"], true);
    if (!first || !last) return std::nullopt;

    const foundation::Calendar calendar(DateHelper::currentMeetingTimeZone());
    auto start = atTimeOfDay(calendar, first->dateByAddingTimeInterval(-kTwoDays), 7, 0);
    auto end = atTimeOfDay(calendar, last->dateByAddingTimeInterval(kTwoDays), 23, 59);
    if (!start || !end) return std::nullopt;
    return MeetingDatesRange{*start, *end};
}

FetchRequestUtils::Strings FetchRequestUtils::getAllDaysArray(const std::shared_ptr<CoreDataStack>& stack,
                                                              const std::string& entityName,
                                                              const PredicatePtr& compoundPredicate) {
    if (!stack) return {};
    // The days of the rows under the filters are the days that have one:
    // a single pass over the rows, where a count per day read them all again.
    auto rows = run({.entityName = entityName,
                     .predicate = compoundPredicate,
                     .properties = {"startDateString"},
                     .distinct = true},
                    stack->managedObjectContextMainQueue());
    Strings days = texts(rows, "startDateString");
    // "yyyy-MM-dd" texts: string order is day order.
    std::sort(days.begin(), days.end());
    return days;
}

FetchRequestUtils::Strings FetchRequestUtils::allDaysHavingAtLeastAnEntry(const Strings& days,
                                                                          const std::string& entityName,
                                                                          const ContextPtr& context,
                                                                          const PredicatePtr& compoundPredicate) {
    if (!context) return {};
    Strings kept;
    for (const auto& day : days) {
        PredicatePtr predicate = Predicate::withFormat("startDateString = %@", day);
        if (compoundPredicate) predicate = Predicate::andPredicate({predicate, compoundPredicate});
        FetchRequest request(entityName);
        request.setPredicate(predicate);
        size_t count = 0;
        foundation::ErrorPtr error;
        context->performBlockAndWait([&] { count = context->countForFetchRequest(request, &error); });
        if (!error && count >= 1) kept.push_back(day);
    }
    return kept;
}

// ---- Networks and communities ------------------------------------------------------

FetchRequestUtils::Networks FetchRequestUtils::getQuovanaNetworksFromSourcePropertyName(const std::string& propertyName,
                                                                                        const ContextPtr& context) {
    auto rows = run({.entityName = QVACoreDataParticipant::kEntityName,
                     .predicate = Predicate::withFormat("%K != nil AND %K != ''", propertyName, propertyName),
                     .properties = {propertyName},
                     .distinct = true},
                    context);
    Networks networks;
    for (const auto& encoded : texts(rows, propertyName)) {
        if (encoded.empty()) continue;
        std::string separator = std::string(kEndMarker) + std::string(kStartMarker);
        for (const auto& encodedPiece : foundation::StringUtils::split(encoded, separator)) {
            std::string piece = foundation::StringUtils::replace(encodedPiece, kStartMarker, "");
            piece = foundation::StringUtils::replace(piece, kEndMarker, "");
            auto parts = foundation::StringUtils::split(piece, kCommunityMarker);
            if (parts.size() < 2) continue;
            auto& communities = networks[parts[0]];
            if (!contains(communities, parts[1])) communities.push_back(parts[1]);
        }
    }
    return networks;
}

FetchRequestUtils::Strings FetchRequestUtils::getGroupQuovanaCommunitiesFromSourcePropertyName(
    const std::string& propertyName, const ContextPtr& context) {
    Strings communities;
    for (const auto& [network, members] : getQuovanaNetworksFromSourcePropertyName(propertyName, context))
        if (members.size() == 1) communities.push_back(members.front());
    sortLocalized(communities);
    return communities;
}

FetchRequestUtils::Strings FetchRequestUtils::getNetworkQuovanaCommunitiesFromSourcePropertyName(
    const std::string& propertyName, const std::string& network, const ContextPtr& context) {
    auto networks = getQuovanaNetworksFromSourcePropertyName(propertyName, context);
    auto found = networks.find(network);
    if (found == networks.end()) return {};
    Strings communities = found->second;
    sortLocalized(communities);
    return communities;
}

// ---- Permissions ---------------------------------------------------------------------

bool FetchRequestUtils::hasPermissionForCode(const std::string& code, const ContextPtr& context) {
    return !run({.entityName = QVACoreDataPermission::kEntityName,
                 .predicate = Predicate::withFormat("code == %@ AND granted == YES", code),
                 .properties = {"granted"}},
                context)
                .empty();
}

bool FetchRequestUtils::hasEventNotesPermissionGrantedInContext(const ContextPtr& context) {
    return hasPermissionForCode("event:notes", context);
}
bool FetchRequestUtils::hasEventChangePermissionGrantedInContext(const ContextPtr& context) {
    return hasPermissionForCode("event:change", context);
}
bool FetchRequestUtils::hasRelantionshipsReadPermissionGrantedInContext(const ContextPtr& context) {
    return hasPermissionForCode("relationships:read", context);
}
bool FetchRequestUtils::hasRelantionshipsWritePermissionGrantedInContext(const ContextPtr& context) {
    return hasPermissionForCode("relationships:write", context);
}
bool FetchRequestUtils::hasMessagesReadPermissionGrantedInContext(const ContextPtr& context) {
    return hasPermissionForCode("messages:read", context);
}
bool FetchRequestUtils::hasMessagesSendPermissionGrantedInContext(const ContextPtr& context) {
    return hasPermissionForCode("messages:send", context);
}
bool FetchRequestUtils::hasUserPrivacySettingsPermissionGrantedInContext(const ContextPtr& context) {
    return hasPermissionForCode("user:privacy_settings", context);
}
bool FetchRequestUtils::hasAgendaPersonalEntriesPermissionGrantedInContext(const ContextPtr& context) {
    return hasPermissionForCode("my_agenda:personal_entries", context);
}
bool FetchRequestUtils::hasAgendaInvitationsPermissionGrantedInContext(const ContextPtr& context) {
    return hasPermissionForCode("my_agenda:invitations", context);
}
bool FetchRequestUtils::hasAgendaSelectionsPermissionGrantedInContext(const ContextPtr& context) {
    return hasPermissionForCode("my_agenda:selections", context);
}
bool FetchRequestUtils::hasAgendaResponsibilitiesPermissionGrantedInContext(const ContextPtr& context) {
    return hasPermissionForCode("my_agenda:responsibilities", context);
}
bool FetchRequestUtils::hasEventRecommendationsPermissionGrantedInContext(const ContextPtr& context) {
    return hasPermissionForCode("event:recommendations", context);
}

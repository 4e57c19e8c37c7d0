// The store queries several screens share: membership tests of session ids,
// the meeting's date range, rooms and venues as models, followed participants,
// notes, the day lists of the programme and agenda, the networks and
// communities of participants, and the permission checks that switch features
// on and off. No state.
//
// Every query runs through the store front's fetch rule: main thread only, on
// the main-queue context of a cached stack, or it raises. A failed fetch, or
// an entity the model lacks, answers the query's empty answer (NO, nothing,
// an empty list).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "coredata/ManagedObjectContext.h"
#include "coredata/Predicate.h"
#include "coredata/SortDescriptor.h"
#include "foundation/Date.h"
#include "model/QVARoom.h"
#include "model/QVAVenue.h"
#include "store/CoreDataStack.h"

class FetchRequestUtils {
public:
    using Text = std::optional<std::string>;
    using Strings = std::vector<std::string>;
    // Network → its communities, in first-seen order.
    using Networks = std::map<std::string, Strings>;

    struct MeetingDatesRange {
        foundation::Date start;  // 07:00 two days before the first session's day
        foundation::Date end;    // 23:59 two days after the last session's day
    };

    // Membership tests, by plain string equality; no store access.
    static bool subactivityHasPersonalNotes(const std::string& sessionId, const Strings& personalNoteIdsArray);
    static bool subactivityIsInAgendaWithId(const std::string& sessionId, const Strings& agendaIDsArray);
    // YES when the id is none of the official programme's.
    static bool subactivityIsAPrivateSessionWithId(const std::string& sessionId,
                                                   const Strings& sessionsOfficialIdsArray);

    static std::vector<std::shared_ptr<QVARoom>> getRoomsModelArrayInContext(const coredata::ContextPtr& context);
    static std::vector<std::shared_ptr<QVAVenue>> getVenuesModelArrayInContext(const coredata::ContextPtr& context);
    static Strings getFavoritedparticipantIdsArrayInContext(const coredata::ContextPtr& context);
    // Ids of the sessions / participants whose note is not empty.
    static Strings getNotEmptySubactivityNoteIdsArrayInContext(const coredata::ContextPtr& context);
    static Strings getNotEmptyParticipantsNoteIdsArrayInContext(const coredata::ContextPtr& context);
    // Session ids of every agenda entry, of all four kinds.
    static Strings getAgendaIdsArrayInContext(const coredata::ContextPtr& context);
    // Ids of every stored session of the official programme.
    static Strings getSessionsOfficialIdsArrayInContext(const coredata::ContextPtr& context);
    static Text getSessionVotingUrl(const std::string& sessionId, const coredata::ContextPtr& context);
    static bool hasSessionVotingLink(const std::string& sessionId, const coredata::ContextPtr& context);
    static bool isSessionInOfficial(const std::string& sessionId, const coredata::ContextPtr& context);
    static bool existsOrganizationWithId(const std::string& organizationId, const coredata::ContextPtr& context);
    static bool isSubactivityInWatchlistWithId(int64_t subactivityId, const coredata::ContextPtr& context);
    static Text getNoteForSessionId(const std::string& sessionId, const coredata::ContextPtr& context);
    static Text getNoteForParticipantId(const std::string& participantId, const coredata::ContextPtr& context);
    // In the store of the current account and meeting.
    static bool isFollowedParticipant(const std::string& participantId);

    // Start time, then keyword, then title, ascending.
    static std::vector<coredata::SortDescriptor> getSimpleSessionsListSortDescriptos();
    // Computed in the meeting zone; nothing without sessions.
    static std::optional<MeetingDatesRange> getMeetingDatesRangeForAuthToken(const Text& authToken,
                                                                             const Text& eventId);

    // The "startDateString" days of the entity that have at least one row
    // (that also matches the compound predicate, when given), ascending.
    static Strings getAllDaysArray(const std::shared_ptr<CoreDataStack>& stack, const std::string& entityName,
                                   const coredata::PredicatePtr& compoundPredicate);
    // The days, in order, that count one row or more; a failed count drops the day.
    static Strings allDaysHavingAtLeastAnEntry(const Strings& days, const std::string& entityName,
                                               const coredata::ContextPtr& context,
                                               const coredata::PredicatePtr& compoundPredicate);

    // The memberships encoded in a participant attribute
    // ("|1|network|2|community|3|" segments), gathered over all participants.
    static Networks getQuovanaNetworksFromSourcePropertyName(const std::string& propertyName,
                                                             const coredata::ContextPtr& context);
    // The one community of each network that has exactly one, sorted.
    static Strings getGroupQuovanaCommunitiesFromSourcePropertyName(const std::string& propertyName,
                                                                    const coredata::ContextPtr& context);
    // The network's communities, sorted; empty for an unknown network.
    static Strings getNetworkQuovanaCommunitiesFromSourcePropertyName(const std::string& propertyName,
                                                                      const std::string& network,
                                                                      const coredata::ContextPtr& context);

    // YES when a granted row of the code exists.
    static bool hasPermissionForCode(const std::string& code, const coredata::ContextPtr& context);
    static bool hasEventNotesPermissionGrantedInContext(const coredata::ContextPtr& context);
    static bool hasEventChangePermissionGrantedInContext(const coredata::ContextPtr& context);
    static bool hasRelantionshipsReadPermissionGrantedInContext(const coredata::ContextPtr& context);
    static bool hasRelantionshipsWritePermissionGrantedInContext(const coredata::ContextPtr& context);
    static bool hasMessagesReadPermissionGrantedInContext(const coredata::ContextPtr& context);
    static bool hasMessagesSendPermissionGrantedInContext(const coredata::ContextPtr& context);
    static bool hasUserPrivacySettingsPermissionGrantedInContext(const coredata::ContextPtr& context);
    static bool hasAgendaPersonalEntriesPermissionGrantedInContext(const coredata::ContextPtr& context);
    static bool hasAgendaInvitationsPermissionGrantedInContext(const coredata::ContextPtr& context);
    static bool hasAgendaSelectionsPermissionGrantedInContext(const coredata::ContextPtr& context);
    static bool hasAgendaResponsibilitiesPermissionGrantedInContext(const coredata::ContextPtr& context);
    static bool hasEventRecommendationsPermissionGrantedInContext(const coredata::ContextPtr& context);
};

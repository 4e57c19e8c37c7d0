// The refresh category: per-kind revision refreshes, the messages reload and
// the pull-to-refresh groups.
#include "api/QVAApiManagerRefresh.h"

#include <memory>
#include <utility>
#include <vector>

#include "api/ApplicationService.h"
#include "settings/ApplicationSettingsStore.h"
#include "api/QVAApiManager.h"
#include "api/QVAApiManagerDelta.h"
#include "api/RowsWithoutId.h"
#include "api/SyncCalendarService.h"
#include "dispatch/Group.h"
#include "dispatch/Queue.h"
#include "foundation/Log.h"
#include "model/ModelClass.h"
#include "model/QVAAgendaEntries.h"
#include "model/QVACoreDataAgendaInvitation.h"
#include "model/QVACoreDataAgendaResponsability.h"
#include "model/QVACoreDataAgendaSelection.h"
#include "model/QVACoreDataEvent.h"
#include "model/QVACoreDataLoginDelegator.h"
#include "model/QVACoreDataMeetingDelegate.h"
#include "model/QVACoreDataMessage.h"
#include "model/QVACoreDataMessageRecipient.h"
#include "model/QVACoreDataOrganization.h"
#include "model/QVACoreDataParticipant.h"
#include "model/QVACoreDataParticipantNote.h"
#include "model/QVACoreDataPartner.h"
#include "model/QVACoreDataPersonalEntry.h"
#include "model/QVACoreDataRoom.h"
#include "model/QVACoreDataSession.h"
#include "model/QVACoreDataSessionNote.h"
#include "model/QVACoreDataVenue.h"
#include "model/QVAEvent.h"
#include "model/QVALoginDelegator.h"
#include "model/QVAMeetingDelegate.h"
#include "model/QVAMessageRecipient.h"
#include "model/QVAOrganization.h"
#include "model/QVAParticipant.h"
#include "model/QVAParticipantNote.h"
#include "model/QVAPartner.h"
#include "model/QVARoom.h"
#include "model/QVASession.h"
#include "model/QVASessionNote.h"
#include "model/QVAVenue.h"
#include "model/EntityClass.h"
#include "store/StorageManager.h"

using foundation::ErrorPtr;
using foundation::Log;
using foundation::Value;

namespace QVAApiManagerRefresh {

namespace {

constexpr const char* kRevisionListSuffix = "?fields=id,revision";
constexpr const char* kIdsSuffix = "?ids=";

// The revision refresh of one kind whose list lives at `path` ("%@" being
// the meeting id where the kind belongs to a meeting).
void refreshByRevisions(const char* entityName, const char* modelClassName, const char* path, const Text& eventId,
                        const Text& authCode, Completion completion) {
    registerModelClasses();
    const Text service = QVAApiManager::pathWithIds(path, {eventId});
    if (!service) {
        QVAApiManager::sharedApiManager().refuseMissingId(path, std::move(completion));
        return;
    }
    QVAApiManagerDelta::updateEntity(entityName, ModelClass::named(modelClassName), *service + kRevisionListSuffix,
                                     *service + kIdsSuffix, eventId, authCode, std::move(completion));
}

Text currentToken() { return ApplicationSettingsStore::sharedApplicationSettingsStore().currentAuthToken(); }

Text currentEventId() { return ApplicationSettingsStore::sharedApplicationSettingsStore().currentEventId(); }

using Kind = void (*)(const Text&, const Text&, Completion);

// A kind of a list's refresh and the words its log lines name it by.
struct GroupKind {
    Kind refresh;
    const char* name;
};

// Starts a kind with the current meeting and token; its completion logs.
void startLogged(Kind refresh, const std::string& success, const std::string& failure,
                 std::function<void()> done = nullptr) {
    refresh(currentEventId(), currentToken(), [success, failure, done](const ErrorPtr& error, const Value&) {
        if (done) done();
        if (error)
            Log("%@ : %@", failure, error->description());
        else
            Log("%@", success);
    });
}

// After the agenda kinds: the agenda goes into the chosen device calendar
// when the user asked for that.
void mirrorAgendaIntoCalendar() {
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    if (!settings.syncWithCalendar()) return;
    auto calendarService = ApplicationService::syncCalendarService();
    if (!calendarService) return;
    auto calendar = calendarService->getCalendarWithIdentifier(settings.calendarIdentifier());
    calendarService->syncMyAgendaWithDeviceCalendar(calendar, currentToken(), currentEventId(), nullptr);
}

// The kinds in one group, then the calendar mirror, whatever they gave.
void refreshAgendaGroup(const std::vector<GroupKind>& kinds, const char* screen) {
    auto group = dispatch::Group::create();
    for (const auto& kind : kinds) {
        group->enter();
        startLogged(kind.refresh, foundation::Format("Refreshed %@ from %@ PullToRefresh", kind.name, screen),
                    foundation::Format("Error while fetching delta for %@ from %@ PullToRefresh", kind.name, screen),
                    [group] { group->leave(); });
    }
    group->notify(dispatch::Queue::main(), [] { mirrorAgendaIntoCalendar(); });
}

}  // namespace

// ---- per-kind revision refreshes ---------------------------------------------------

void refreshEventsForEventId(const Text& eventId, const Text& authCode, Completion completionBlock) {
    refreshByRevisions(QVACoreDataEvent::kEntityName, QVAEvent::kClassName, "events", eventId, authCode,
                       std::move(completionBlock));
}

void refreshSessionsForEventId(const Text& eventId, const Text& authCode, Completion completionBlock) {
    refreshByRevisions(QVACoreDataSession::kEntityName, QVASession::kClassName, "events/%@/sessions/official",
                       eventId, authCode, std::move(completionBlock));
}

void refreshParticipantsForEventId(const Text& eventId, const Text& authCode, Completion completionBlock) {
    refreshByRevisions(QVACoreDataParticipant::kEntityName, QVAParticipant::kClassName, "events/%@/participants",
                       eventId, authCode, std::move(completionBlock));
}

void refreshPartnersForEventId(const Text& eventId, const Text& authCode, Completion completionBlock) {
    refreshByRevisions(QVACoreDataPartner::kEntityName, QVAPartner::kClassName, "events/%@/partners", eventId,
                       authCode, std::move(completionBlock));
}

void refreshOrganizationsForEventId(const Text& eventId, const Text& authCode, Completion completionBlock) {
    refreshByRevisions(QVACoreDataOrganization::kEntityName, QVAOrganization::kClassName, "events/%@/organizations",
                       eventId, authCode, std::move(completionBlock));
}

void refreshAgendaInvitationsForEventId(const Text& eventId, const Text& authCode, Completion completionBlock) {
    refreshByRevisions(QVACoreDataAgendaInvitation::kEntityName, QVAAgendaInvitation::kClassName,
                       "events/%@/my_agenda/invitations", eventId, authCode, std::move(completionBlock));
}

void refreshAgendaResponsibilitiesForEventId(const Text& eventId, const Text& authCode, Completion completionBlock) {
    refreshByRevisions(QVACoreDataAgendaResponsability::kEntityName, QVAAgendaResponsibilities::kClassName,
                       "events/%@/my_agenda/responsibilities", eventId, authCode, std::move(completionBlock));
}

void refreshAgendaSelectionsForEventId(const Text& eventId, const Text& authCode, Completion completionBlock) {
    refreshByRevisions(QVACoreDataAgendaSelection::kEntityName, QVAAgendaSelections::kClassName,
                       "events/%@/my_agenda/selections", eventId, authCode, std::move(completionBlock));
}

void refreshPersonalEntriesForEventId(const Text& eventId, const Text& authCode, Completion completionBlock) {
    refreshByRevisions(QVACoreDataPersonalEntry::kEntityName, QVAPersonalEntry::kClassName,
                       "events/%@/my_agenda/personal_entries", eventId, authCode, std::move(completionBlock));
}

void refreshRoomsForEventId(const Text& eventId, const Text& authCode, Completion completionBlock) {
    refreshByRevisions(QVACoreDataRoom::kEntityName, QVARoom::kClassName, "events/%@/rooms", eventId, authCode,
                       std::move(completionBlock));
}

void refreshVenuesForEventId(const Text& eventId, const Text& authCode, Completion completionBlock) {
    refreshByRevisions(QVACoreDataVenue::kEntityName, QVAVenue::kClassName, "events/%@/venues", eventId, authCode,
                       std::move(completionBlock));
}

void refreshMeetingDelegatesForEventId(const Text& eventId, const Text& authCode, Completion completionBlock) {
    refreshByRevisions(QVACoreDataMeetingDelegate::kEntityName, QVAMeetingDelegate::kClassName,
                       "events/%@/my_profile/delegates", eventId, authCode, std::move(completionBlock));
}

void refreshLoginDelegatorsForEventId(const Text& eventId, const Text& authCode, Completion completionBlock) {
    refreshByRevisions(QVACoreDataLoginDelegator::kEntityName, QVALoginDelegator::kClassName,
                       "events/%@/my_profile/login_delegators", eventId, authCode, std::move(completionBlock));
}

void refreshParticipantNotesForEventId(const Text& eventId, const Text& authCode, Completion completionBlock) {
    refreshByRevisions(QVACoreDataParticipantNote::kEntityName, QVAParticipantNote::kClassName,
                       "events/%@/notes/participants", eventId, authCode, std::move(completionBlock));
}

void refreshSessionNotesForEventId(const Text& eventId, const Text& authCode, Completion completionBlock) {
    refreshByRevisions(QVACoreDataSessionNote::kEntityName, QVASessionNote::kClassName, "events/%@/notes/sessions",
                       eventId, authCode, std::move(completionBlock));
}

void refreshMesageRecipientsForEventId(const Text& eventId, const Text& authCode, Completion completionBlock) {
    refreshByRevisions(QVACoreDataMessageRecipient::kEntityName, QVAMessageRecipient::kClassName,
                       "messages/recipients", eventId, authCode, std::move(completionBlock));
}

// ---- messages ------------------------------------------------------------------------

void refreshMessagesWithCompletionBlock(Completion completionBlock) {
    const Text authCode = currentToken();
    QVAApiManager::sharedApiManager().getAllMessagesForAuthCode(
        authCode, [authCode, completion = std::move(completionBlock)](const ErrorPtr& error, const Value& result) {
            if (error) {
                if (completion) completion(error, result);
                return;
            }
            // Left out as the full download leaves them out.
            auto rows = StorageManager::itemsOfResult(result);
            RowsWithoutId::log(RowsWithoutId::drop(rows), std::string("messages"));
            // The meeting current now, not when the reload started.
            StorageManager::sharedStorageManager().deleteAndAddItemsToCoreData(
                std::move(rows), EntityClass::named(QVACoreDataMessage::kEntityName), nullptr, authCode,
                currentEventId(), [completion](const ErrorPtr& storeError, const Value& storeResult) {
                    if (completion) completion(storeError, storeResult);
                });
        });
}

// ---- pull-to-refresh -------------------------------------------------------------------

void refreshAgenda() {
    refreshAgendaGroup({{&refreshAgendaInvitationsForEventId, "invitations"},
                        {&refreshAgendaResponsibilitiesForEventId, "responsibilities"},
                        {&refreshAgendaSelectionsForEventId, "selections"},
                        {&refreshPersonalEntriesForEventId, "personal entries"}},
                       "Agenda");
}

void refreshProgramme() {
    // Not waited for: the mirror may run before the sessions are written.
    startLogged(&refreshSessionsForEventId, "Refreshed official from Programme PullToRefresh",
                "Error while fetching delta for official from Programme PullToRefresh");
    refreshAgendaGroup({{&refreshAgendaInvitationsForEventId, "invitations"},
                        {&refreshAgendaResponsibilitiesForEventId, "responsibilities"},
                        {&refreshAgendaSelectionsForEventId, "selections"}},
                       "Programme");
}

void refreshParticipants() {
    startLogged(&refreshParticipantsForEventId, "Refreshed Participants",
                "Error while fetching delta for Participants from PullToRefresh");
}

void refreshOrganizations() {
    startLogged(&refreshOrganizationsForEventId, "Refreshed organizations",
                "Error while fetching delta for Organizations from PullToRefresh");
}

void refreshPartners() {
    startLogged(&refreshPartnersForEventId, "Refreshed Partners",
                "Error while fetching delta for Partners from PullToRefresh");
}

void refreshRooms() {
    startLogged(&refreshRoomsForEventId, "Refreshed Rooms", "Error while fetching delta for Rooms from PullToRefresh");
}

void refreshVenues() {
    startLogged(&refreshVenuesForEventId, "Refreshed Venues",
                "Error while fetching delta for Venues from PullToRefresh");
}

}  // namespace QVAApiManagerRefresh

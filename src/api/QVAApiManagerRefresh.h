// The API client's refresh category: the revision refresh of each of the 16
// revision-compared kinds, the whole reload of the account's messages, and
// the pull-to-refresh entry points of the list screens.
//
// A kind's refresh takes the meeting id, the access token and a completion
// (error or nothing, result or nothing) and brings that kind of the store of
// (token, meeting) up to date through the delta update's revision refresh.
// The list entry points take nothing: they read the current account's token
// and the current meeting's id from the settings store when they run, start
// the kinds their list shows and report nothing back; the lists see the new
// rows through the store's change notifications. After the agenda and
// programme refreshes the agenda is mirrored into the chosen device calendar
// when the user switched that on, whether the kinds succeeded or not.
//
// Main thread only; completions and group notifications run on the main
// queue.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "foundation/Error.h"
#include "foundation/Value.h"

namespace QVAApiManagerRefresh {

using Text = std::optional<std::string>;
using Completion = std::function<void(const foundation::ErrorPtr& error, const foundation::Value& result)>;

// ---- one kind each, by revisions ------------------------------------------

void refreshEventsForEventId(const Text& eventId, const Text& authCode, Completion completionBlock);
void refreshSessionsForEventId(const Text& eventId, const Text& authCode, Completion completionBlock);
void refreshParticipantsForEventId(const Text& eventId, const Text& authCode, Completion completionBlock);
void refreshPartnersForEventId(const Text& eventId, const Text& authCode, Completion completionBlock);
void refreshOrganizationsForEventId(const Text& eventId, const Text& authCode, Completion completionBlock);
void refreshAgendaInvitationsForEventId(const Text& eventId, const Text& authCode, Completion completionBlock);
void refreshAgendaResponsibilitiesForEventId(const Text& eventId, const Text& authCode, Completion completionBlock);
void refreshAgendaSelectionsForEventId(const Text& eventId, const Text& authCode, Completion completionBlock);
void refreshPersonalEntriesForEventId(const Text& eventId, const Text& authCode, Completion completionBlock);
void refreshRoomsForEventId(const Text& eventId, const Text& authCode, Completion completionBlock);
void refreshVenuesForEventId(const Text& eventId, const Text& authCode, Completion completionBlock);
void refreshMeetingDelegatesForEventId(const Text& eventId, const Text& authCode, Completion completionBlock);
void refreshLoginDelegatorsForEventId(const Text& eventId, const Text& authCode, Completion completionBlock);
void refreshParticipantNotesForEventId(const Text& eventId, const Text& authCode, Completion completionBlock);
void refreshSessionNotesForEventId(const Text& eventId, const Text& authCode, Completion completionBlock);
// The recipients belong to the account: the meeting id only picks the store.
void refreshMesageRecipientsForEventId(const Text& eventId, const Text& authCode, Completion completionBlock);

// ---- messages, reloaded whole ---------------------------------------------

// Fetches every message of the current account and replaces every message
// row of the store of (that token, the meeting current when the answer
// arrives); messages belong to the account, so each meeting's store holds a
// full copy. The completion (may be empty) gets the fetch's (error, result)
// on a failure, else the store's.
void refreshMessagesWithCompletionBlock(Completion completionBlock);

// ---- pull-to-refresh of the list screens ----------------------------------

// Invitations, responsibilities, selections and personal entries in one
// group, then the calendar mirror.
void refreshAgenda();
// Sessions (not waited for), then invitations, responsibilities and
// selections in one group, then the calendar mirror.
void refreshProgramme();
void refreshParticipants();
void refreshOrganizations();
void refreshPartners();
void refreshRooms();
void refreshVenues();

}  // namespace QVAApiManagerRefresh

// The descriptors of the bulk reads, one per kind the full download fills,
// and the refresh that reloads one kind whole.
#include "api/QVAApiManager.h"

#include "settings/ApplicationSettingsStore.h"
#include "api/DocumentInfoXMLParserDelegate.h"
#include "api/RowsWithoutId.h"
#include "store/StorageManager.h"

using foundation::ErrorPtr;
using foundation::Value;

namespace {

using Ptr = CallAndWriteParametrizedObjectPtr;


// A paginated JSON descriptor of 100 items per page. Classes are looked up
// by name so that this file needs none of the model headers. No path (a
// meeting without a usable id) names no service: the call fails.
Ptr descriptor(std::optional<std::string> path, const char* modelClass, const char* entityClass, bool important = false) {
    return std::make_shared<CallAndWriteParametrizedObject>(std::move(path), ModelClass::named(modelClass),
                                                            EntityClass::named(entityClass), Value(), important);
}

}  // namespace

Ptr QVAApiManager::getEventsRequestObjectForAuthCode(const Text&) {
    return descriptor("events", "QVAEvent", "QVACoreDataEvent");
}

Ptr QVAApiManager::getSessionsRequestObjectForEventId(const Text& eventId, const Text&) {
    return descriptor(pathWithIds("events/%@/sessions/official", {eventId}), "QVASession", "QVACoreDataSession", true);
}

Ptr QVAApiManager::getParticipantsRequestObjectForEventId(const Text& eventId, const Text&) {
    return std::make_shared<CallAndWriteParametrizedObject>(
        pathWithIds("events/%@/participants", {eventId}), ModelClass::named("QVAParticipant"),
        EntityClass::named("QVACoreDataParticipant"), Value(), true, true, kItemsPerPage);
}

Ptr QVAApiManager::getPartnersRequestObjectForEventId(const Text& eventId, const Text&) {
    return descriptor(pathWithIds("events/%@/partners", {eventId}), "QVAPartner", "QVACoreDataPartner", true);
}

Ptr QVAApiManager::getOrganizationsRequestObjectForEventId(const Text& eventId, const Text&) {
    return descriptor(pathWithIds("events/%@/organizations", {eventId}), "QVAOrganization", "QVACoreDataOrganization",
                      true);
}

Ptr QVAApiManager::getVenuesRequestObjectForEventId(const Text& eventId, const Text&) {
    return descriptor(pathWithIds("events/%@/venues", {eventId}), "QVAVenue", "QVACoreDataVenue");
}

Ptr QVAApiManager::getRoomsRequestObjectForEventId(const Text& eventId, const Text&) {
    return descriptor(pathWithIds("events/%@/rooms", {eventId}), "QVARoom", "QVACoreDataRoom");
}

Ptr QVAApiManager::getLoginDelegatorsRequestObjectForEventId(const Text& eventId, const Text&) {
    return descriptor(pathWithIds("events/%@/my_profile/login_delegators", {eventId}), "QVALoginDelegator",
                      "QVACoreDataLoginDelegator");
}

Ptr QVAApiManager::getMeetingDelegatesRequestObjectForEventId(const Text& eventId, const Text&) {
    return descriptor(pathWithIds("events/%@/my_profile/delegates", {eventId}), "QVAMeetingDelegate",
                      "QVACoreDataMeetingDelegate");
}

Ptr QVAApiManager::getMessagessRequestObjectForAuthCode(const Text&) {
    return descriptor("messages", "QVAMessage", "QVACoreDataMessage");
}

Ptr QVAApiManager::getMessagesRecipientsObjectForAuthCode(const Text&) {
    return descriptor("messages/recipients", "QVAMessageRecipient", "QVACoreDataMessageRecipient");
}

Ptr QVAApiManager::getParticipantNotesObjectForEventId(const Text& eventId, const Text&) {
    return descriptor(pathWithIds("events/%@/notes/participants", {eventId}), "QVAParticipantNote",
                      "QVACoreDataParticipantNote");
}

Ptr QVAApiManager::getSessionNotesObjectForEventId(const Text& eventId, const Text&) {
    return descriptor(pathWithIds("events/%@/notes/sessions", {eventId}), "QVASessionNote", "QVACoreDataSessionNote");
}

Ptr QVAApiManager::getPermissionsRequestObjectForEventId(const Text& eventId, const Text&) {
    return descriptor(pathWithIds("events/%@/my_profile/permissions", {eventId}), "QVAPermission",
                      "QVACoreDataPermission");
}

Ptr QVAApiManager::getPersonalEntriesRequestObjectForEventId(const Text& eventId, const Text&) {
    return descriptor(pathWithIds("events/%@/my_agenda/personal_entries", {eventId}), "QVAPersonalEntry",
                      "QVACoreDataPersonalEntry", true);
}

Ptr QVAApiManager::getAgendaSelectionRequestObjectForEventId(const Text& eventId, const Text&) {
    return descriptor(pathWithIds("events/%@/my_agenda/selections", {eventId}), "QVAAgendaSelections",
                      "QVACoreDataAgendaSelection", true);
}

Ptr QVAApiManager::getAgendaResponsabilitiesRequestObjectForEventId(const Text& eventId, const Text&) {
    return descriptor(pathWithIds("events/%@/my_agenda/responsibilities", {eventId}), "QVAAgendaResponsibilities",
                      "QVACoreDataAgendaResponsability", true);
}

Ptr QVAApiManager::getAgendaInvitationsRequestObjectForEventId(const Text& eventId, const Text&) {
    return descriptor(pathWithIds("events/%@/my_agenda/invitations", {eventId}), "QVAAgendaInvitation",
                      "QVACoreDataAgendaInvitation", true);
}

Ptr QVAApiManager::getInformationDocumentsObjectForEventId(const Text& eventId, const Text&) {
    return descriptor(pathWithIds("events/%@/documents", {eventId}), "QVAInformationDocument",
                      "QVACoreDataInformationDocument");
}

Ptr QVAApiManager::getNotificationsObjectForEventId(const Text& eventId, const Text&) {
    return descriptor(pathWithIds("events/%@/my_profile/notifications", {eventId}), "QVANotification",
                      "QVACoreDataNotification");
}

Ptr QVAApiManager::getFollowingRequestObject() {
    return descriptor("user/relationships/following", "QVAFollowedParticipant", "QVACoreDataFollowedParticipant");
}

Ptr QVAApiManager::getReportsObjectForEventId(const Text&, const Text&) {
    // The feed belongs to the meeting the user has open, whatever is asked.
    std::optional<std::string> feed;
    if (auto event = ApplicationSettingsStore::sharedApplicationSettingsStore().currentEvent()) {
        feed = event->reportsRssFeedUrl();
    }
    return getReportsObjectForFeedUrl(feed);
}

Ptr QVAApiManager::getReportsObjectForFeedUrl(const Text& feedUrl) {
    Text feed = feedUrl;
    if (feed && feed->empty()) feed.reset();
    return CallAndWriteParametrizedObject::initWithXmlCall(feed, nullptr,
                                                           EntityClass::named("QVACoreDataReportsDocument"), true,
                                                           Value());
}

// ---- refresh ----------------------------------------------------------------

void QVAApiManager::refuseMissingId(const CallAndWriteParametrizedObject& list, CallCompletion completion) {
    const auto& entity = list.coreDataModelClass();
    refuseMissingId("the list of " + (entity ? entity->name : std::string("rows")), std::move(completion));
}

void QVAApiManager::refreshWithRequestObject(const CallAndWriteParametrizedObjectPtr& requestObject,
                                             const Text& authCode, const Text& eventId, CallCompletion completion) {
    if (!requestObject) {
        if (completion) completion(nullptr, Value());
        return;
    }
    if (requestObject->isAnXMLCall()) {
        // No feed counts as done, so a group waiting for it still finishes.
        // The service sends an empty address for a meeting without one.
        if (!requestObject->serviceName() || requestObject->serviceName()->empty()) {
            if (completion) completion(nullptr, Value());
            return;
        }
        auto delegate = std::make_shared<DocumentInfoXMLParserDelegate>();
        delegate->setCoreDataModelClass(requestObject->coreDataModelClass());
        delegate->setAuthCode(authCode);
        delegate->setEventId(eventId);
        getXMLDataFromURL(requestObject->serviceName(), delegate, std::move(completion));
        return;
    }
    EntityClassPtr entity = requestObject->coreDataModelClass();
    const Text listName = requestObject->serviceName();
    if (!listName) {
        refuseMissingId(*requestObject, std::move(completion));
        return;
    }
    GETWithAuthentication(
        *listName, authCode, requestObject->paramsDictionary(), requestObject->modelClass(),
        [entity, listName, authCode, eventId, completion = std::move(completion)](const ErrorPtr& error,
                                                                                 const Value& result) {
            if (error) {
                if (completion) completion(error, result);
                return;
            }
            // Left out as the full download leaves them out, so a reload
            // stores what a download of the same answer would.
            auto rows = StorageManager::itemsOfResult(result);
            RowsWithoutId::log(RowsWithoutId::drop(rows), listName);
            StorageManager::sharedStorageManager().deleteAndAddItemsToCoreData(
                std::move(rows), entity, nullptr, authCode, eventId,
                [completion](foundation::ErrorPtr writeError, Value written) {
                    if (completion) completion(writeError, written);
                });
        });
}

void QVAApiManager::refreshPermissionsForEventId(const Text& eventId, const Text& authCode,
                                                 CallCompletion completion) {
    refreshWithRequestObject(getPermissionsRequestObjectForEventId(eventId, authCode), authCode, eventId,
                             std::move(completion));
}

void QVAApiManager::refreshReportsForEventId(const Text& eventId, const Text& authCode, CallCompletion completion) {
    refreshWithRequestObject(getReportsObjectForEventId(eventId, authCode), authCode, eventId, std::move(completion));
}

void QVAApiManager::refreshInformationDocumentsForEventId(const Text& eventId, const Text& authCode,
                                                          CallCompletion completion) {
    refreshWithRequestObject(getInformationDocumentsObjectForEventId(eventId, authCode), authCode, eventId,
                             std::move(completion));
}

void QVAApiManager::refreshNotificationsForEventId(const Text& eventId, const Text& authCode,
                                                   CallCompletion completion) {
    refreshWithRequestObject(getNotificationsObjectForEventId(eventId, authCode), authCode, eventId,
                             std::move(completion));
}

void QVAApiManager::refreshFollowingForEventId(const Text& eventId, const Text& authCode,
                                               CallCompletion completion) {
    refreshWithRequestObject(getFollowingRequestObject(), authCode, eventId, std::move(completion));
}

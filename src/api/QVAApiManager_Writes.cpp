// The service writes: login and password reset, the personal agenda, notes,
// following people, messages, privacy settings, the spouse password and
// notifications. Bodies carry every value as a JSON string (Booleans as
// "true" and "false"). A few writes also change the store around the call:
// the follow star optimistically, notes and notifications once confirmed.
#include "api/QVAApiManager.h"

#include "Utils/LogSafeText.h"
#include "Utils/Utils.h"
#include "analytics/AnalyticsUtils.h"
#include "settings/ApplicationSettingsStore.h"
#include "api/QVAApiManager_Typed.h"
#include "coredata/Predicate.h"
#include "foundation/Exception.h"
#include "foundation/Format.h"
#include "foundation/Log.h"
#include "model/QVAFollowedParticipant.h"
#include "model/QVALoginDelegator.h"
#include "model/QVAMessage.h"
#include "model/QVASessionNote.h"
#include "model/QVAUserAccount.h"
#include "store/FetchRequestUtils.h"
#include "store/StorageManager.h"

using foundation::ErrorPtr;
using foundation::Format;
using foundation::Value;

namespace {

using Dictionary = Value::Dictionary;



const char* flag(bool on) { return on ? "true" : "false"; }

// The service unescapes one level of backslashes in secrets.
std::optional<std::string> doubledBackslashes(const std::optional<std::string>& secret) {
    if (!secret) return secret;
    std::string out;
    for (char c : *secret) {
        out += c;
        if (c == '\\') out += '\\';
    }
    return out;
}

StorageManager& store() { return StorageManager::sharedStorageManager(); }

// The account a login brings learns how its person signed in, before any
// caller keeps it: what finds that person's kept notes again when the
// service names no user id.
QVAApiManager::CallCompletion writesRecordingSignIn(std::function<void(QVAUserAccount&)> record,
                                                    QVAApiManager::CallCompletion completion) {
    return [record = std::move(record), completion = std::move(completion)](const ErrorPtr& error,
                                                                            const Value& result) {
        if (auto account = result.objectAs<QVAUserAccount>()) record(*account);
        if (completion) completion(error, result);
    };
}

Value::Dictionary participantData(const QVAFollowedParticipant& person) {
    return {{"Participant name", Value(person.fullName())}, {"Participant id", Value(person.itemId())}};
}

}  // namespace

// ---- login ------------------------------------------------------------------

void QVAApiManager::authenticateWithUsername(const Text& username, const Text& password, CallCompletion completion) {
    Dictionary body;
    addRequestParameter("password", "login_type", &body);
    addRequestParameter(Value(username), "username", &body);
    addRequestParameter(Value(doubledBackslashes(password)), "password", &body);
    POST(Format("%@/%@", "authentication", "login"), Value(body), ModelClass::named("QVAUserAccount"),
         writesRecordingSignIn([username](QVAUserAccount& account) { account.signedInWithLoginName(username); },
                               std::move(completion)));
}

void QVAApiManager::authenticateByPasscode(const Text& passcode, CallCompletion completion) {
    Dictionary body;
    addRequestParameter("passcoded", "login_type", &body);
    addRequestParameter(Value(doubledBackslashes(passcode)), "passcode", &body);
    POST(Format("%@/%@", "authentication", "login"), Value(body), ModelClass::named("QVAUserAccount"),
         writesRecordingSignIn([passcode](QVAUserAccount& account) { account.signedInWithPasscode(passcode); },
                               std::move(completion)));
}

void QVAApiManager::sendNewActivationCodeFor(const Text& username, CallCompletion completion) {
    Dictionary body;
    addRequestParameter(Value(username), "username", &body);
    POST("authentication/reset_password", Value(body), nullptr, std::move(completion));
}

void QVAApiManager::getUserAccountForLoginDelegator(const Text& delegatorId, const Text& authCode,
                                                    const Text& eventId, CallCompletion completion) {
    auto path =
        pathWithIdsOrRefuse("events/%@/my_profile/login_delegators/%@/masquerade", {eventId, delegatorId}, completion);
    if (!path) return;
    Dictionary body;
    addRequestParameter(Value(delegatorId), "delegatorId", &body);
    POSTWithAuthenticationCode(*path, authCode, Value(body), ModelClass::named("QVAUserAccount"),
                               std::move(completion));
}

// ---- agenda -------------------------------------------------------------------

void QVAApiManager::addToAgendaSessionWithSessionId(const Text& sessionId, const Text&, const Text& eventId,
                                                    CallCompletion completion) {
    auto path = pathWithIdsOrRefuse("events/%@/my_agenda/selections", {eventId}, completion);
    if (!path) return;
    Dictionary body;
    addRequestParameter(Value(sessionId), "session_id", &body);
    POST(*path, Value(body), ModelClass::named("QVAAgendaRole"), std::move(completion));
}

void QVAApiManager::removeFromAgendaSessionWithSessionId(const Text& sessionId, const Text& authCode,
                                                         const Text& eventId, CallCompletion completion) {
    auto path = pathWithIdsOrRefuse("events/%@/my_agenda/selections/%@", {eventId, sessionId}, completion);
    if (!path) return;
    DELETEWithAuthentication(*path, authCode, Value(), nullptr, std::move(completion));
}

namespace {

Dictionary personalEntryBody(const std::optional<std::string>& subject, const std::optional<std::string>& start,
                             const std::optional<std::string>& end, const std::optional<std::string>& body) {
    Dictionary parameters;
    QVAApiManager::addRequestParameter(Value(subject), "subject", &parameters);
    QVAApiManager::addRequestParameter(Value(body), "body", &parameters);
    QVAApiManager::addRequestParameter(Value(start), "startDatetime", &parameters);
    QVAApiManager::addRequestParameter(Value(end), "endDatetime", &parameters);
    return parameters;
}

}  // namespace

void QVAApiManager::addToAgendaPersonalEntryWithSubject(const Text& subject, const Text& startDateTime,
                                                        const Text& endDateTime, const Text& body, const Text&,
                                                        const Text& eventId, CallCompletion completion) {
    auto path = pathWithIdsOrRefuse("events/%@/my_agenda/personal_entries", {eventId}, completion);
    if (!path) return;
    POST(*path, Value(personalEntryBody(subject, startDateTime, endDateTime, body)),
         ModelClass::named("QVAPersonalEntry"), std::move(completion));
}

void QVAApiManager::updatePersonalEntryWithId(const Text& entryId, const Text& subject, const Text& startDateTime,
                                              const Text& endDateTime, const Text& body, const Text& authCode,
                                              const Text& eventId, CallCompletion completion) {
    auto path = pathWithIdsOrRefuse("events/%@/my_agenda/personal_entries/%@", {eventId, entryId}, completion);
    if (!path) return;
    PUTWithAuthentication(*path, authCode, Value(personalEntryBody(subject, startDateTime, endDateTime, body)),
                          ModelClass::named("QVAPersonalEntry"), std::move(completion));
}

void QVAApiManager::removeFromAgendaPersonalEntryWithId(const Text& entryId, const Text& authCode,
                                                        const Text& eventId, CallCompletion completion) {
    auto path = pathWithIdsOrRefuse("events/%@/my_agenda/personal_entries/%@", {eventId, entryId}, completion);
    if (!path) return;
    DELETEWithAuthentication(*path, authCode, Value(), nullptr, std::move(completion));
}

void QVAApiManager::invitationAnswer(const char* action, const Text& authCode, const Text& eventId,
                                     const Text& sessionId, const Text& delegateTo, bool typedConflict,
                                     CallCompletion completion) {
    auto path = pathWithIdsOrRefuse("events/%@/my_agenda/invitations/%@", {eventId, sessionId}, completion);
    if (!path) return;
    Dictionary body;
    addRequestParameter(action, "action", &body);
    if (delegateTo || std::string(action) == "delegate") addRequestParameter(Value(delegateTo), "delegateTo", &body);
    PATCHWithAuthentication(*path, authCode, Value(body), ModelClass::named("QVAAgendaInvitation"),
                            typedConflict ? ModelClass::named("QVAInvitationConflictResponse") : nullptr,
                            std::move(completion));
}

void QVAApiManager::acceptInvitedSessionForAuthCode(const Text& authCode, const Text& eventId, const Text& sessionId,
                                                    CallCompletion completion) {
    foundation::Log("acceptInvitedSessionForAuthCode: %@ withEventId: %@ forSession: %@",
                    LogSafeText::maskedToken(authCode), eventId, sessionId);
    invitationAnswer("accept", authCode, eventId, sessionId, std::nullopt, true,
                     [completion = std::move(completion)](const ErrorPtr& error, const Value& result) {
                         foundation::Log(
                             "acceptInvitedSessionForAuthCode: \n serviceCallError = %@ \n dataResult = %@",
                             error ? error->description() : std::string("(null)"), result);
                         if (completion) completion(error, result);
                     });
}

void QVAApiManager::acceptInvitedSessionWithSpouseForAuthCode(const Text& authCode, const Text& eventId,
                                                              const Text& sessionId, CallCompletion completion) {
    invitationAnswer("accept_with_spouse", authCode, eventId, sessionId, std::nullopt, true, std::move(completion));
}

void QVAApiManager::declineInvitedSessionForAuthCode(const Text& authCode, const Text& eventId, const Text& sessionId,
                                                     CallCompletion completion) {
    invitationAnswer("decline", authCode, eventId, sessionId, std::nullopt, false, std::move(completion));
}

void QVAApiManager::delegateInvitedSessionForAuthCode(const Text& authCode, const Text& eventId,
                                                      const Text& sessionId, const Text& delegateTo,
                                                      CallCompletion completion) {
    invitationAnswer("delegate", authCode, eventId, sessionId, delegateTo, false, std::move(completion));
}

// ---- notes --------------------------------------------------------------------

void QVAApiManager::saveNote(const Text& note, const std::string& path, const char* noteClass,
                             const char* entityName, const Text& eventId, const Text& authToken,
                             CallCompletion completion) {
    Dictionary body;
    addRequestParameter(Value(note), "note", &body);
    const std::string expectedClass = noteClass;
    EntityClassPtr entity = EntityClass::named(entityName);
    PUTWithAuthentication(
        path, authToken, Value(body), ModelClass::named(noteClass),
        [expectedClass, entity, authToken, eventId, completion = std::move(completion)](const ErrorPtr& error,
                                                                                       const Value& result) {
            auto saved = std::dynamic_pointer_cast<QVABaseItemModel>(result.object());
            if (error || !saved || saved->className() != expectedClass) {
                if (completion) completion(error, Value());
                return;
            }
            if (auto sessionNote = std::dynamic_pointer_cast<QVASessionNote>(saved)) {
                foundation::Log("Note after update \n id %@ \n note %@ \n sessionId %@ \n revision %@",
                                sessionNote->itemId(), sessionNote->note(),
                                sessionNote->sessionId(), sessionNote->revision());
            }
            // The caller learns of the saved note too, so its screen can
            // leave its editing state.
            store().deleteAndAddItemsToCoreData(
                {saved}, entity, coredata::Predicate::withFormat("itemId = %@", Value(saved->itemId())),
                authToken, eventId, nullptr);
            if (completion) completion(nullptr, Value(saved));
        });
}

void QVAApiManager::addNoteToParticipant(const Text& note, const Text& participantId, const Text& eventId,
                                         const Text& authToken, CallCompletion completion) {
    auto path = pathWithIdsOrRefuse("events/%@/notes/participants/%@", {eventId, participantId}, completion);
    if (!path) return;
    saveNote(note, *path, "QVAParticipantNote", "QVACoreDataParticipantNote", eventId, authToken,
             std::move(completion));
}

void QVAApiManager::addNoteToSession(const Text& note, const Text& sessionId, const Text& eventId,
                                     const Text& authToken, CallCompletion completion) {
    auto path = pathWithIdsOrRefuse("events/%@/notes/sessions/%@", {eventId, sessionId}, completion);
    if (!path) return;
    saveNote(note, *path, "QVASessionNote", "QVACoreDataSessionNote", eventId, authToken, std::move(completion));
}

// ---- following ----------------------------------------------------------------

void QVAApiManager::setFavoriteStatus(bool status, const std::shared_ptr<QVAFollowedParticipant>& person,
                                      const Text& authToken, const Text& eventId, CallCompletion completion) {
    auto stack = store().getCoreDataStackForAuthToken(authToken, eventId);
    bool permitted = stack && FetchRequestUtils::hasRelantionshipsWritePermissionGrantedInContext(
                                  stack->managedObjectContextMainQueue());
    if (!permitted) {
        Utils::displayAlertViewWithMessage(std::string("You do not have the permission to perform this action."),
                                           std::nullopt);
        if (completion) completion(foundation::Error::make("", 0), Value());
        return;
    }
    if (status) {
        followPerson(person, authToken, eventId, std::move(completion));
    } else {
        unfollowPerson(person, authToken, eventId, std::move(completion));
    }
}

void QVAApiManager::followPerson(const std::shared_ptr<QVAFollowedParticipant>& person, const Text& authToken,
                                 const Text& eventId, CallCompletion completion) {
    if (!person) throw foundation::Exception("NSInvalidArgumentException", "followPerson needs a person");
    AnalyticsUtils::trackEventWithNameAndData("Follow participant", participantData(*person));
    Dictionary body;
    addRequestParameter(Value(person->itemId()), "followingId", &body);
    EntityClassPtr entity = EntityClass::named("QVACoreDataFollowedParticipant");
    store().addItemsToCoreData({person}, entity, authToken, eventId, nullptr);
    POSTWithAuthenticationCode(
        "user/relationships", authToken, Value(body), ModelClass::named("QVAFollowedParticipant"),
        [person, entity, authToken, eventId, completion = std::move(completion)](const ErrorPtr& error,
                                                                                const Value& result) {
            if (!error && !result.isNothing()) {
                if (completion) completion(nullptr, result);
                return;
            }
            Utils::displayAlertViewWithMessage(std::string("Unable to star this participant. Please try again later."),
                                               std::string("Warning"));
            store().deleteItemsFromCoreDataForItemType(
                entity, authToken, eventId, coredata::Predicate::withFormat("itemId =%@", Value(person->itemId())),
                true, nullptr, [error, result, completion](foundation::ErrorPtr, Value) {
                    if (completion) completion(error, result);
                });
        });
}

void QVAApiManager::unfollowPerson(const std::shared_ptr<QVAFollowedParticipant>& person, const Text& authToken,
                                   const Text& eventId, CallCompletion completion) {
    if (!person) throw foundation::Exception("NSInvalidArgumentException", "unfollowPerson needs a person");
    auto path = pathWithIdsOrRefuse("user/relationships/%@", {person->itemId()}, completion);
    if (!path) return;
    AnalyticsUtils::trackEventWithNameAndData("Unfollow participant", participantData(*person));
    EntityClassPtr entity = EntityClass::named("QVACoreDataFollowedParticipant");
    store().deleteItemsFromCoreDataForItemType(entity, authToken, eventId,
                                               coredata::Predicate::withFormat("itemId = %@", Value(person->itemId())),
                                               true, nullptr, nullptr);
    DELETEWithAuthentication(
        *path, authToken, Value(), nullptr,
        [person, entity, authToken, eventId, completion = std::move(completion)](const ErrorPtr& error,
                                                                                const Value& result) {
            if (!error) {
                if (completion) completion(nullptr, result);
                return;
            }
            Utils::displayAlertViewWithMessage(
                std::string("Unable to unstar this participant. Please try again later."), std::string("Warning"));
            store().addItemsToCoreData({person}, entity, authToken, eventId,
                                       [error, result, completion](foundation::ErrorPtr, Value) {
                                           if (completion) completion(error, result);
                                       });
        });
}

// ---- messages -----------------------------------------------------------------

void QVAApiManager::sendMessageWithToCommaSeparatedRecipients(const Text& to, const Text& subject, const Text& body,
                                                              int32_t threadId, const Text&,
                                                              CallCompletion completion, const Text& outboxId) {
    Dictionary parameters;
    addRequestParameter(Value(to), "to", &parameters);
    addRequestParameter(Value(subject), "subject", &parameters);
    addRequestParameter(Value(body), "body", &parameters);
    addRequestParameter(Format("%d", threadId), "threadId", &parameters);
    Text token;
    if (auto account = ApplicationSettingsStore::sharedApplicationSettingsStore().currentAccount()) {
        token = account->authenticationCode();
    }
    setAuthorizationHeaderWithCode(token);
    POSTWithIdempotencyKey("messages", Value(parameters), outboxId, ModelClass::named("QVAMessageResult"),
                           std::move(completion));
}

void QVAApiManager::markAsReadMessageWithId(int32_t messageId, const Text& authToken, CallCompletion completion) {
    Dictionary body;
    addRequestParameter("false", "read", &body);
    PATCHWithAuthentication(Format("messages/%d", messageId), authToken, Value(body), ModelClass::named("QVAMessage"),
                            qvaapi::typed<QVAMessage>(std::move(completion)));
}

void QVAApiManager::deleteMessageWithId(int32_t messageId, const Text& authToken, CallCompletion completion) {
    DELETEWithAuthentication(Format("messages/%d", messageId), authToken, Value(), nullptr, std::move(completion));
}

// ---- settings and notifications -------------------------------------------------

void QVAApiManager::updatePrivacySettingsForAuthCode(const Text& authCode, bool shouldEmailBeVisible,
                                                     bool shouldPhoneBeVisible, bool shouldMobilePhoneBeVisible,
                                                     bool shouldNationalityBeVisible, CallCompletion completion) {
    Dictionary body;
    addRequestParameter(flag(shouldEmailBeVisible), "primaryEmailVisible", &body);
    addRequestParameter(flag(shouldPhoneBeVisible), "phoneVisible", &body);
    addRequestParameter(flag(shouldMobilePhoneBeVisible), "mobilePhoneVisible", &body);
    addRequestParameter(flag(shouldNationalityBeVisible), "nationalityVisible", &body);
    PUTWithAuthentication("user/privacy_settings", authCode, Value(body), nullptr, std::move(completion));
}

void QVAApiManager::changePasswordForSpouseTo(const Text& password, const Text& authToken, const Text& eventId,
                                              CallCompletion completion) {
    auto path = pathWithIdsOrRefuse("events/%@/spouse", {eventId}, completion);
    if (!path) return;
    Dictionary body;
    addRequestParameter(Value(password), "password", &body);
    PATCHWithAuthentication(*path, authToken, Value(body),
                            ModelClass::named("QVALoginDelegator"),
                            qvaapi::typed<QVALoginDelegator>(std::move(completion)));
}

void QVAApiManager::removeNotification(const Text& notificationId, const Text& authCode, const Text& eventId,
                                       CallCompletion completion) {
    auto path = pathWithIdsOrRefuse("events/%@/my_profile/notifications/%@", {eventId, notificationId}, completion);
    if (!path) return;
    DELETEWithAuthentication(*path, authCode, Value(), nullptr, std::move(completion));
}

void QVAApiManager::acknowloedgeNotification(const Text& notificationId, const Text& authCode, const Text& eventId,
                                             CallCompletion completion) {
    removeNotification(
        notificationId, authCode, eventId,
        [notificationId, authCode, eventId, completion = std::move(completion)](const ErrorPtr& error,
                                                                               const Value& result) {
            if (error || !result.isNothing()) {
                if (completion) completion(error, result);
                return;
            }
            store().deleteItemsFromCoreDataForItemType(
                EntityClass::named("QVACoreDataNotification"), authCode, eventId,
                coredata::Predicate::withFormat("itemId = %@", Value(notificationId)), true, nullptr,
                [completion](foundation::ErrorPtr storeError, Value stored) {
                    if (completion) completion(storeError, stored);
                });
        });
}

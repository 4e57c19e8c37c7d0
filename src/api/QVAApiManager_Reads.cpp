// The single reads that screens and services ask for one at a time: each is
// an authenticated GET of one path whose mapped result goes to the caller;
// none of them writes to the store.
#include "api/QVAApiManager.h"

#include "api/QVAApiManager_Typed.h"
#include "foundation/Format.h"
#include "model/ModelClass.h"
#include "model/QVAEvent.h"
#include "model/QVAPrivacySettings.h"
#include "model/QVARecommendedParticipant.h"
#include "model/QVARecommendedSession.h"
#include "model/QVASessionOccupancy.h"
#include "model/QVASessionStatusMessage.h"

using foundation::ErrorPtr;
using foundation::Format;
using foundation::Value;

using qvaapi::typed;

void QVAApiManager::getCurrentEventForAuthCode(const Text& authCode, CallCompletion completion) {
    GETWithAuthentication(Format("%@/%@", "events", "current"), authCode, false, Value(),
                          ModelClass::of<QVAEvent>(), std::move(completion));
}

void QVAApiManager::getEventWithId(const Text& eventId, const Text& authCode, CallCompletion completion) {
    if (!eventId || eventId->empty()) {
        getCurrentEventForAuthCode(authCode, std::move(completion));
        return;
    }
    auto path = pathWithIdsOrRefuse("events/%@", {eventId}, completion);
    if (!path) return;
    GETWithAuthentication(*path, authCode, false, Value(), ModelClass::of<QVAEvent>(), std::move(completion));
}

void QVAApiManager::getRecommendedSessionsForSessionId(const Text& sessionId, const Text& authCode,
                                                       const Text& eventId, CallCompletion completion) {
    auto path = pathWithIdsOrRefuse("events/%@/sessions/%@/recommended", {eventId, sessionId}, completion);
    if (!path) return;
    GETWithAuthentication(*path, authCode, true, Value(), ModelClass::of<QVARecommendedSession>(),
                          std::move(completion));
}

void QVAApiManager::getSessionStatusMessageForSubactivityId(const Text& subactivityId, const Text& eventId,
                                                            const Text& authCode, CallCompletion completion) {
    auto path = pathWithIdsOrRefuse("events/%@/sessions/%@/status", {eventId, subactivityId}, completion);
    if (!path) return;
    GETWithAuthentication(*path, authCode, false, Value(), ModelClass::of<QVASessionStatusMessage>(),
                          typed<QVASessionStatusMessage>(std::move(completion)));
}

void QVAApiManager::getSessionOccupancyForSubactivityId(const Text& subactivityId, const Text& eventId,
                                                        const Text& authCode, CallCompletion completion) {
    auto path = pathWithIdsOrRefuse("events/%@/sessions/%@/occupancy", {eventId, subactivityId}, completion);
    if (!path) return;
    GETWithAuthentication(*path, authCode, false, Value(), ModelClass::of<QVASessionOccupancy>(),
                          typed<QVASessionOccupancy>(std::move(completion)));
}

void QVAApiManager::getRecommendedParticipantsForParticipantId(const Text& participantId, const Text& authCode,
                                                               const Text& eventId, CallCompletion completion) {
    auto path = pathWithIdsOrRefuse("events/%@/participants/%@/recommended", {eventId, participantId}, completion);
    if (!path) return;
    GETWithAuthentication(*path, authCode, false, Value(), ModelClass::of<QVARecommendedParticipant>(),
                          std::move(completion));
}

void QVAApiManager::getPrivacySettingsForAuthCode(const Text& authCode, CallCompletion completion) {
    GETWithAuthentication("user/privacy_settings", authCode, false, Value(), ModelClass::of<QVAPrivacySettings>(),
                          std::move(completion));
}

void QVAApiManager::getAllMessagesForAuthCode(const Text& authCode, CallCompletion completion) {
    auto descriptor = getMessagessRequestObjectForAuthCode(authCode);
    GETWithAuthentication(descriptor->serviceName().value_or("messages"), authCode, descriptor->paramsDictionary(),
                          descriptor->modelClass(), std::move(completion));
}

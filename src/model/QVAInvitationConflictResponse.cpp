// Invitation conflict bodies.
#include "model/QVAInvitationConflictResponse.h"

#include "model/ModelReading.h"
#include "model/QVAAgendaEntries.h"

std::shared_ptr<QVAInvitationConflictResponse> QVAInvitationConflictResponse::initWithDictionary(
    const foundation::Value& dictionary) {
    ModelReading::FieldReader json(dictionary);
    auto model = std::make_shared<QVAInvitationConflictResponse>();
    // The service spells the key with a double "s".
    foundation::Value conflicting = json.dictionary("conflicting_ressource");
    if (conflicting.isDictionary()) model->conflictingResource_ = QVAAgendaInvitation::initWithDictionary(conflicting);
    model->message_ = json.text("message");
    return model;
}

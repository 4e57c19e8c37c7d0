// The error body the service returns when an invitation cannot be accepted:
// the agenda entry it conflicts with and the service's message. Built by
// QVAError from the body of the failed accept call.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "foundation/Object.h"
#include "foundation/Value.h"
#include "model/IEntityModel.h"

class QVAAgendaInvitation;

class QVAInvitationConflictResponse : public foundation::Object, public ErrorResponseProtocol {
public:
    static constexpr const char* kClassName = "QVAInvitationConflictResponse";

    QVAInvitationConflictResponse() = default;
    static std::shared_ptr<QVAInvitationConflictResponse> initWithDictionary(const foundation::Value& dictionary);

    // Null unless the body's "conflicting_ressource" is a dictionary.
    const std::shared_ptr<QVAAgendaInvitation>& conflictingResource() const { return conflictingResource_; }
    const std::optional<std::string>& message() const { return message_; }

    std::string className() const override { return kClassName; }

private:
    std::shared_ptr<QVAAgendaInvitation> conflictingResource_;
    std::optional<std::string> message_;
};

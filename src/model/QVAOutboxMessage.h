// A message the user composed, waiting in the outbox to be sent. The service
// never sends these; the composer builds them and the outbox reads them back
// from their rows.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "foundation/Object.h"
#include "foundation/Value.h"
#include "model/IEntityModel.h"

class QVAOutboxMessage : public foundation::Object, public IEntityModel {
public:
    static constexpr const char* kClassName = "QVAOutboxMessage";
    using Text = std::optional<std::string>;

    QVAOutboxMessage() = default;
    // An outbox message with every field empty: there is nothing to read.
    static std::shared_ptr<QVAOutboxMessage> initWithDictionary(const foundation::Value& dictionary);
    // A missing body becomes "".
    static std::shared_ptr<QVAOutboxMessage> initWithBody(Text body, Text subject, int32_t composeDate, Text toNames,
                                                          Text toAddresses, int32_t threadId);
    // Here a missing body stays nil.
    static std::shared_ptr<QVAOutboxMessage> initWithCoreDataDictionary(const foundation::Value& row);

    const Text& subject() const { return subject_; }
    const Text& body() const { return body_; }
    void setBody(Text body) { body_ = std::move(body); }
    // Whole seconds since 1970 at composing; identifies the entry.
    int32_t composeDate() const { return composeDate_; }
    const Text& toNames() const { return toNames_; }
    const Text& toAddresses() const { return toAddresses_; }
    // The thread answered.
    int32_t threadId() const { return threadId_; }
    // The identity of the stored row: two messages composed in the same second
    // share a compose date, so a confirmed send deletes its row by this.
    const Text& outboxId() const { return outboxId_; }

    std::string className() const override { return kClassName; }

private:
    Text subject_, body_;
    int32_t composeDate_ = 0;
    Text toNames_, toAddresses_;
    int32_t threadId_ = 0;
    Text outboxId_;
};

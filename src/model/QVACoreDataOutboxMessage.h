// The row of a message waiting in the outbox. composeDate is the key the
// outbox list works with; outboxId, given when the row is made, tells apart
// two messages composed in the same second.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "coredata/ManagedObject.h"
#include "coredata/ManagedObjectContext.h"
#include "coredata/Predicate.h"
#include "model/QVAOutboxMessage.h"

class QVACoreDataOutboxMessage : public coredata::ManagedObject {
public:
    static constexpr const char* kEntityName = "QVACoreDataOutboxMessage";

    std::optional<std::string> body() const;
    void setBody(const std::optional<std::string>& value);
    int32_t composeDate() const;
    void setComposeDate(int32_t value);
    int32_t threadId() const;
    void setThreadId(int32_t value);
    std::optional<std::string> subject() const;
    void setSubject(const std::optional<std::string>& value);
    std::optional<std::string> toAddresses() const;
    void setToAddresses(const std::optional<std::string>& value);
    std::optional<std::string> toNames() const;
    void setToNames(const std::optional<std::string>& value);
    std::optional<std::string> outboxId() const;
    void setOutboxId(const std::optional<std::string>& value);

    // (Helper), defined in QVACoreDataOutboxMessage_Helper.cpp: writing a QVAOutboxMessage into a row.
    // With no row, a new row of this entity is inserted. Nothing is saved.
    static void insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row, const QVAOutboxMessage& message,
                                             coredata::ManagedObjectContext& context);
    // The attribute that identifies a row of this entity: "composeDate".
    static std::string comparisonPropertyName();
    static coredata::PredicatePtr comparisonPredicateForObject(const QVAOutboxMessage& message);
    // The predicate that selects exactly the row with that outbox identity.
    static coredata::PredicatePtr predicateForOutboxId(const std::string& outboxId);

protected:
    void copyFields(const QVAOutboxMessage& message);
};

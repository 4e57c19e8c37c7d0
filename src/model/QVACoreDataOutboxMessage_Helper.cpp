// (Helper) of outbox rows: a QVAOutboxMessage becomes one row. Each new row
// gets an identity of its own, because the compose time stamp, counted in
// whole seconds, can be shared by two messages; the send pass deletes a
// confirmed message by that identity so that it never takes its twin along.
#include "foundation/Crypto.h"
#include "model/QVACoreDataOutboxMessage.h"
#include "model/RowWriting.h"

void QVACoreDataOutboxMessage::insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row,
                                                            const QVAOutboxMessage& message,
                                                            coredata::ManagedObjectContext& context) {
    auto target = RowWriting::rowForWriting<QVACoreDataOutboxMessage>(row, kEntityName, context);
    if (!target) return;
    target->copyFields(message);
    if (!target->outboxId()) target->setOutboxId(foundation::Crypto::uuidString());
}

std::string QVACoreDataOutboxMessage::comparisonPropertyName() { return "composeDate"; }

coredata::PredicatePtr QVACoreDataOutboxMessage::comparisonPredicateForObject(const QVAOutboxMessage& message) {
    return coredata::Predicate::withFormat("composeDate=%d", message.composeDate());
}

coredata::PredicatePtr QVACoreDataOutboxMessage::predicateForOutboxId(const std::string& outboxId) {
    return coredata::Predicate::withFormat("outboxId == %@", outboxId);
}

void QVACoreDataOutboxMessage::copyFields(const QVAOutboxMessage& message) {
    setSubject(message.subject());
    setBody(message.body());
    setComposeDate(message.composeDate());
    setToAddresses(message.toAddresses());
    setToNames(message.toNames());
    setThreadId(message.threadId());
}

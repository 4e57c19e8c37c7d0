// (Helper) of message rows: a QVAMessage becomes one row. The sender and
// receivers arrive as the service's dictionaries and are kept as archives of
// recipient objects, which the message screens read back. itemId and
// revision are left alone: messages are matched by messageId.
#include "model/QVACoreDataMessage.h"
#include "model/QVAMessageReceivedRecipient.h"
#include "model/RowWriting.h"

namespace {

foundation::Value recipientsOf(const foundation::Value& dictionaries) {
    foundation::Value::Array recipients;
    if (const auto* items = dictionaries.array()) {
        for (const auto& item : *items) {
            if (auto recipient = QVAMessageReceivedRecipient::initWithDictionary(item))
                recipients.emplace_back(recipient);
        }
    }
    return foundation::Value(std::move(recipients));
}

}  // namespace

void QVACoreDataMessage::insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row, const QVAMessage& message,
                                                      coredata::ManagedObjectContext& context) {
    if (auto target = RowWriting::rowForWriting<QVACoreDataMessage>(row, kEntityName, context))
        target->copyFields(message);
}

std::string QVACoreDataMessage::comparisonPropertyName() { return "messageId"; }

coredata::PredicatePtr QVACoreDataMessage::comparisonPredicateForObject(const QVAMessage& message) {
    return coredata::Predicate::withFormat("messageId=%d", message.messageId());
}

void QVACoreDataMessage::copyFields(const QVAMessage& message) {
    setMessageId(message.messageId());
    setSubject(message.subject());
    setBody(message.body());
    setIsRead(message.isRead());
    setSentDatetime(message.sentDate());
    setParticipantId(message.participantId());
    setFrom(RowWriting::archivedArray(recipientsOf(message.from())));
    setTo(RowWriting::archivedArray(recipientsOf(message.to())));
    setThreadId(message.threadId());
    setFolderName(message.folderName());
}

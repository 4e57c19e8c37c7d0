// The row of a message of the user's mailbox; sender and receivers are kept
// as keyed archives of recipient objects.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "coredata/ManagedObject.h"
#include "coredata/ManagedObjectContext.h"
#include "coredata/Predicate.h"
#include "foundation/Data.h"
#include "model/QVAMessage.h"

class QVACoreDataMessage : public coredata::ManagedObject {
public:
    static constexpr const char* kEntityName = "QVACoreDataMessage";

    std::optional<std::string> body() const;
    void setBody(const std::optional<std::string>& value);
    std::optional<std::string> folderName() const;
    void setFolderName(const std::optional<std::string>& value);
    std::optional<foundation::Data> from() const;
    void setFrom(const std::optional<foundation::Data>& value);
    bool isRead() const;
    void setIsRead(bool value);
    int32_t messageId() const;
    void setMessageId(int32_t value);
    int32_t participantId() const;
    void setParticipantId(int32_t value);
    std::optional<std::string> sentDatetime() const;
    void setSentDatetime(const std::optional<std::string>& value);
    std::optional<std::string> subject() const;
    void setSubject(const std::optional<std::string>& value);
    int32_t threadId() const;
    void setThreadId(int32_t value);
    std::optional<foundation::Data> to() const;
    void setTo(const std::optional<foundation::Data>& value);
    std::optional<std::string> itemId() const;
    void setItemId(const std::optional<std::string>& value);
    std::optional<std::string> revision() const;
    void setRevision(const std::optional<std::string>& value);

    // (Helper), defined in QVACoreDataMessage_Helper.cpp: writing a QVAMessage into a row.
    // With no row, a new row of this entity is inserted. Nothing is saved.
    static void insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row, const QVAMessage& message,
                                             coredata::ManagedObjectContext& context);
    // The attribute that identifies a row of this entity: "messageId".
    static std::string comparisonPropertyName();
    static coredata::PredicatePtr comparisonPredicateForObject(const QVAMessage& message);

protected:
    void copyFields(const QVAMessage& message);
};

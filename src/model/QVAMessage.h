// One message of the user's mailbox. Sender and receivers stay the service's
// dictionaries here; the store's mapping turns them into archived recipient
// objects in the message row.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "foundation/Object.h"
#include "foundation/Value.h"
#include "model/IEntityModel.h"

class QVAMessage : public foundation::Object, public IEntityModel {
public:
    static constexpr const char* kClassName = "QVAMessage";
    static constexpr const char* kCoreDataClass = "QVACoreDataMessage";

    QVAMessage() = default;
    static std::shared_ptr<QVAMessage> initWithDictionary(const foundation::Value& dictionary);

    // The row is found by this id, and the service's message named by it.
    int32_t messageId() const { return messageId_; }
    // Whether its id and thread id, and its sender's id when it names one,
    // are integer ids (ModelReading::int32IdOf; a thread's above 0): any
    // other would name another message, thread or person, so such a message
    // is not kept.
    bool hasUsableIds() const override { return hasUsableIds_; }
    const std::optional<std::string>& subject() const { return subject_; }
    // "" when the service sends none.
    const std::string& body() const { return body_; }
    void setBody(std::string body) { body_ = std::move(body); }
    bool isRead() const { return isRead_; }
    // Stored as the row's sentDatetime.
    const std::optional<std::string>& sentDate() const { return sentDate_; }
    // 0 when the message names no sender.
    int32_t participantId() const { return participantId_; }
    // An array holding the sender's dictionary; empty when the message names
    // no sender.
    const foundation::Value& from() const { return from_; }
    // The receivers' dictionaries; absent when the message has no "to".
    const foundation::Value& to() const { return to_; }
    const std::optional<std::string>& folderName() const { return folderName_; }
    int32_t threadId() const { return threadId_; }

    std::string className() const override { return kClassName; }
    std::optional<std::string> coreDataClass() const override { return kCoreDataClass; }

private:
    int32_t messageId_ = 0;
    bool hasUsableIds_ = false;
    std::optional<std::string> subject_;
    std::string body_;
    bool isRead_ = false;
    std::optional<std::string> sentDate_;
    int32_t participantId_ = 0;
    foundation::Value from_ = foundation::Value(foundation::Value::Array());
    foundation::Value to_;
    std::optional<std::string> folderName_;
    int32_t threadId_ = 0;
};

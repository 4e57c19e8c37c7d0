// The summary of one message thread, built from its stored messages (newest
// first): the newest message gives the thread's id, subject, date and its
// receivers and senders; the thread counts as read only when every message
// is. The names of the receivers make the row's title, the user's own name
// left out unless nobody else is left.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Data.h"

class QVACoreDataMessage;
class QVAMessageReceivedRecipient;

class MessageThreadDataModel {
public:
    using Text = std::optional<std::string>;
    using Recipients = std::vector<std::shared_ptr<QVAMessageReceivedRecipient>>;

    // The thread's messages, newest first.
    static std::shared_ptr<MessageThreadDataModel> initFromThreadMessagesArray(
        const std::vector<std::shared_ptr<QVACoreDataMessage>>& messages);
    // The recipients of a message's keyed archive (`to` or `from`); none for
    // no archive or an unreadable one.
    static Recipients unarchivedRecipients(const std::optional<foundation::Data>& archive);

    int32_t threadId() const { return threadId_; }
    const Text& subject() const { return subject_; }
    // The newest message's service date text.
    const Text& sentDate() const { return sentDate_; }
    int32_t messageCount() const { return messageCount_; }
    bool isRead() const { return isRead_; }
    const Recipients& toArray() const { return toArray_; }
    const Recipients& fromArray() const { return fromArray_; }
    const std::string& fullNamesList() const { return fullNamesList_; }
    const std::string& namesListWithoutCurrentUser() const { return namesListWithoutCurrentUser_; }

private:
    int32_t threadId_ = 0;
    Text subject_;
    Text sentDate_;
    int32_t messageCount_ = 0;
    bool isRead_ = true;
    Recipients toArray_;
    Recipients fromArray_;
    std::string fullNamesList_;
    std::string namesListWithoutCurrentUser_;
};

using MessageThreadDataModelPtr = std::shared_ptr<MessageThreadDataModel>;

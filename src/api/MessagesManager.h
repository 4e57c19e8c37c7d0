// The message outbox of the whole process. A composed message is never sent
// directly: it becomes an outbox row in the store of the current account and
// meeting, and a repeating 30-second timer on the main run loop sends every
// stored row whenever the device is online, deleting a row once the service
// confirms it. A row is deleted by its own identity (outboxId), so two
// messages composed in the same second are kept apart. The same class marks
// a whole thread read and deletes a whole thread, on the service and in the
// store.
//
// Main thread only: the timer runs on the main loop, the rows are read
// through the main-queue context and every pass and thread operation ends on
// the main queue. isSendingOutboxMessages keeps passes from overlapping.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>

#include "dispatch/Group.h"
#include "foundation/Error.h"
#include "foundation/Timer.h"
#include "foundation/Value.h"
#include "model/QVAOutboxMessage.h"

class MessagesManager {
public:
    using Text = std::optional<std::string>;
    // (error or none, nothing).
    using ThreadCompletion = std::function<void(const foundation::ErrorPtr& error, const foundation::Value& result)>;

    static constexpr double kOutboxInterval = 30.0;

    static MessagesManager& sharedMessagesManager();
    MessagesManager(const MessagesManager&) = delete;
    MessagesManager& operator=(const MessagesManager&) = delete;

    // The repeating send timer; null until first started.
    std::shared_ptr<foundation::Timer> timerForSchedulingOutboxMessages() const;
    void setTimerForSchedulingOutboxMessages(std::shared_ptr<foundation::Timer> timer);
    // A send pass is under way.
    bool isSendingOutboxMessages() const { return isSendingOutboxMessages_; }

    // Stores the message as an outbox row of the current account and
    // meeting, then starts the timer (also when storing failed).
    void sendMessageFor(const std::shared_ptr<QVAOutboxMessage>& message);
    // Replaces the timer and runs a pass at once, unless a pass is under way.
    void startTimerToSendOutboxMessagesIfAny();
    // One send pass: every stored row, sent at once, when there is an
    // account, a row and a connection.
    void timerForSendingOutboxFired(foundation::Timer* timer);
    // Sends one message; a confirmed one ("Sent" anywhere in the reply's
    // status, any case) loses its row. Leaves the group once the call, and
    // a confirmed row's deletion, are over.
    void sendMessageInBackground(const std::shared_ptr<QVAOutboxMessage>& message, const dispatch::GroupPtr& group);
    // Deletes the one outbox row with that identity from the current store,
    // then runs `done` (when given) on the main queue. Every deletion of an
    // outbox row goes through here; until the store has it, passes leave
    // the row alone, so a message deleted while the store is busy is never
    // sent.
    void deleteOutboxMessageWithOutboxId(const std::string& outboxId, std::function<void()> done = nullptr);
    // A deletion of the row with that identity is under way.
    bool isDeletingOutboxMessage(const std::string& outboxId) const { return outboxIdsBeingDeleted_.count(outboxId) != 0; }
    // The outbox list's delete gesture, which knows a row by its compose
    // date: deletes the first row composed in that second, by its identity,
    // so another message of the same second stays queued.
    void deleteOutboxMessageWithComposeDate(int32_t composeDate);

    // Marks every unread message of the thread read on the service and in
    // the store; (the error of a failed call, or none, nothing). With
    // nothing to mark, completes at once without a call.
    void markAsReadMessageWithThreadId(int32_t threadId, const Text& authToken, ThreadCompletion completion);
    // Deletes every message of the thread on the service and, for those the
    // service deleted, in the store; (the error of a failed call, or none,
    // nothing). With nothing stored, completes at once without a call.
    void deleteMessageWithThreadId(int32_t threadId, const Text& authToken, ThreadCompletion completion);

private:
    MessagesManager() = default;

    void finishPass();

    mutable std::mutex timerMutex_;
    std::shared_ptr<foundation::Timer> timerForSchedulingOutboxMessages_;
    bool isSendingOutboxMessages_ = false;
    std::multiset<std::string> outboxIdsBeingDeleted_;
};

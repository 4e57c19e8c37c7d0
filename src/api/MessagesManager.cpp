#include "api/MessagesManager.h"

#include <vector>

#include "settings/ApplicationSettingsStore.h"
#include "api/MessagesBadgeHook.h"
#include "api/QVAApiManager.h"
#include "api/QVAApiManagerRefresh.h"
#include "coredata/FetchRequest.h"
#include "coredata/Predicate.h"
#include "coredata/SortDescriptor.h"
#include "dispatch/Queue.h"
#include "foundation/Log.h"
#include "foundation/StringUtils.h"
#include "model/QVACoreDataMessage.h"
#include "model/QVACoreDataOutboxMessage.h"
#include "model/QVAMessage.h"
#include "model/QVAMessageResult.h"
#include "model/EntityClass.h"
#include "store/StorageManager.h"
#include "Utils/Utils.h"

using foundation::ErrorPtr;
using foundation::Value;

namespace {

struct CurrentStore {
    std::optional<std::string> token;
    std::optional<std::string> eventId;
};

CurrentStore currentStore() {
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    return {settings.currentAuthToken(), settings.currentEventId()};
}

// The rows of the entity in the main-queue context of the current store;
// empty when that store is not open.
Value::Array fetchCurrentRows(const char* entityName, coredata::PredicatePtr predicate,
                              const std::function<void(coredata::FetchRequest&)>& configure) {
    auto& store = StorageManager::sharedStorageManager();
    auto current = currentStore();
    auto stack = store.getCoreDataStackForAuthToken(current.token, current.eventId);
    auto context = stack ? stack->managedObjectContextMainQueue() : nullptr;
    auto request = store.fetchRequestForItemType(EntityClass::named(entityName), std::move(predicate), context);
    if (request && configure) configure(*request);
    return store.executeFetchRequestAndWait(request, context);
}

// The whole thread operation shares one error slot: the error of the last
// failed call that reported one, or none.
struct ThreadOperation {
    dispatch::GroupPtr group = dispatch::Group::create();
    ErrorPtr error;
};

void completeOnMainQueue(MessagesManager::ThreadCompletion completion, ErrorPtr error) {
    if (!completion) return;
    dispatch::Queue::main()->async(
        [completion = std::move(completion), error = std::move(error)] { completion(error, Value()); });
}

}  // namespace

MessagesManager& MessagesManager::sharedMessagesManager() {
    static MessagesManager* shared = new MessagesManager();
    return *shared;
}

std::shared_ptr<foundation::Timer> MessagesManager::timerForSchedulingOutboxMessages() const {
    std::lock_guard<std::mutex> lock(timerMutex_);
    return timerForSchedulingOutboxMessages_;
}

void MessagesManager::setTimerForSchedulingOutboxMessages(std::shared_ptr<foundation::Timer> timer) {
    std::lock_guard<std::mutex> lock(timerMutex_);
    timerForSchedulingOutboxMessages_ = std::move(timer);
}

void MessagesManager::sendMessageFor(const std::shared_ptr<QVAOutboxMessage>& message) {
    auto current = currentStore();
    StorageManager::Items items;
    if (message) items.push_back(message);
    StorageManager::sharedStorageManager().addItemsToCoreData(
        std::move(items), EntityClass::of<QVACoreDataOutboxMessage>(), current.token, current.eventId,
        [this](ErrorPtr error, Value) {
            if (error) foundation::Log("Error adding outbox message to coredata. Should not happen");
            startTimerToSendOutboxMessagesIfAny();
        });
}

void MessagesManager::startTimerToSendOutboxMessagesIfAny() {
    if (isSendingOutboxMessages_) return;
    if (auto old = timerForSchedulingOutboxMessages()) old->invalidate();
    setTimerForSchedulingOutboxMessages(nullptr);
    auto timer = foundation::Timer::scheduledTimerWithTimeInterval(
        kOutboxInterval, true, [this](foundation::Timer& fired) { timerForSendingOutboxFired(&fired); });
    setTimerForSchedulingOutboxMessages(timer);
    timer->fire();
}

void MessagesManager::timerForSendingOutboxFired(foundation::Timer*) {
    if (isSendingOutboxMessages_) return;
    auto current = currentStore();
    if (!current.token) return;
    auto rows = fetchCurrentRows(QVACoreDataOutboxMessage::kEntityName, nullptr, [](coredata::FetchRequest& request) {
        request.setResultType(coredata::FetchRequestResultType::Dictionary);
    });
    // A row whose deletion the store has not finished is as good as gone.
    std::erase_if(rows, [this](const Value& row) {
        const auto* outboxId = row["outboxId"].string();
        return outboxId && isDeletingOutboxMessage(*outboxId);
    });
    if (rows.empty() || !Utils::isInternetReachable()) return;

    auto group = dispatch::Group::create();
    isSendingOutboxMessages_ = true;
    for (const auto& row : rows) {
        group->enter();
        sendMessageInBackground(QVAOutboxMessage::initWithCoreDataDictionary(row), group);
    }
    group->notify(dispatch::Queue::main(), [this] { finishPass(); });
}

void MessagesManager::finishPass() {
    isSendingOutboxMessages_ = false;
    // The messages reload and the unread badge belong to a main screen that
    // can show the badge; without one the pass ends here.
    auto recount = MessagesBadgeHook::badgeRecount();
    if (!recount) return;
    QVAApiManagerRefresh::refreshMessagesWithCompletionBlock(
        [recount](const ErrorPtr&, const Value&) { recount(); });
}

void MessagesManager::sendMessageInBackground(const std::shared_ptr<QVAOutboxMessage>& message,
                                              const dispatch::GroupPtr& group) {
    if (!message) {
        group->leave();
        return;
    }
    auto token = currentStore().token;
    QVAApiManager::sharedApiManager().sendMessageWithToCommaSeparatedRecipients(
        message->toAddresses(), message->subject(), message->body(), message->threadId(), token,
        [this, message, group](const ErrorPtr& error, const Value& result) {
            if (error) {
                foundation::Log("Could not succeed to send message. We'll try in about two minutes");
                group->leave();
                return;
            }
            auto reply = result.objectAs<QVAMessageResult>();
            const auto& status = reply ? reply->messageStatus() : std::nullopt;
            if (!status ||
                !foundation::StringUtils::contains(*status, "Sent", foundation::StringUtils::CaseInsensitive)) {
                group->leave();
                return;
            }
            // The pass ends only once the row is gone, so the next pass can
            // never send a confirmed message again. Every stored row has an
            // identity; a message without one was never a row.
            if (!message->outboxId()) {
                group->leave();
                return;
            }
            deleteOutboxMessageWithOutboxId(*message->outboxId(), [group] { group->leave(); });
        },
        message->outboxId());
}

void MessagesManager::deleteOutboxMessageWithOutboxId(const std::string& outboxId, std::function<void()> done) {
    auto current = currentStore();
    outboxIdsBeingDeleted_.insert(outboxId);
    StorageManager::sharedStorageManager().deleteItemsFromCoreDataForItemType(
        EntityClass::of<QVACoreDataOutboxMessage>(), current.token, current.eventId,
        QVACoreDataOutboxMessage::predicateForOutboxId(outboxId), true, nullptr,
        [this, outboxId, done = std::move(done)](ErrorPtr error, Value) {
            if (error) foundation::Log("Error deleting outbox message from coredata");
            if (auto entry = outboxIdsBeingDeleted_.find(outboxId); entry != outboxIdsBeingDeleted_.end())
                outboxIdsBeingDeleted_.erase(entry);
            if (done) done();
        });
}

void MessagesManager::deleteOutboxMessageWithComposeDate(int32_t composeDate) {
    auto rows = fetchCurrentRows(QVACoreDataOutboxMessage::kEntityName,
                                 coredata::Predicate::withFormat("composeDate =%d", composeDate),
                                 [](coredata::FetchRequest& request) {
                                     request.setResultType(coredata::FetchRequestResultType::Dictionary);
                                     request.setPropertiesToFetch({"outboxId"});
                                     request.setFetchLimit(1);
                                 });
    if (rows.empty()) return;
    if (const auto* outboxId = rows.front()["outboxId"].string()) deleteOutboxMessageWithOutboxId(*outboxId);
}

void MessagesManager::markAsReadMessageWithThreadId(int32_t threadId, const Text& authToken,
                                                    ThreadCompletion completion) {
    auto rows =
        fetchCurrentRows(QVACoreDataMessage::kEntityName, coredata::Predicate::withFormat("threadId = %d", threadId),
                         [](coredata::FetchRequest& request) {
                             request.setSortDescriptors({coredata::SortDescriptor("sentDatetime", false)});
                         });
    std::vector<int32_t> unread;
    for (const auto& value : rows)
        if (auto row = value.objectAs<QVACoreDataMessage>(); row && !row->isRead()) unread.push_back(row->messageId());
    if (unread.empty()) {
        completeOnMainQueue(std::move(completion), nullptr);
        return;
    }

    auto operation = std::make_shared<ThreadOperation>();
    auto eventId = currentStore().eventId;
    for (int32_t messageId : unread) {
        operation->group->enter();
        QVAApiManager::sharedApiManager().markAsReadMessageWithId(
            messageId, currentStore().token,
            [operation, messageId, authToken, eventId](const ErrorPtr& error, const Value& result) {
                auto message = result.objectAs<QVAMessage>();
                // An answer naming no message of its own, or another
                // message, would be stored over another one.
                if (!message || !message->hasUsableIds() || message->messageId() != messageId) {
                    // A failure without an error object must not wipe out
                    // the error of an earlier one.
                    if (error) operation->error = error;
                    foundation::Log("Could not succeed to mark message as read.");
                    operation->group->leave();
                    return;
                }
                StorageManager::sharedStorageManager().updateItemToCoreData(
                    message, authToken, eventId, true, [operation](ErrorPtr, Value) { operation->group->leave(); });
            });
    }
    operation->group->notify(dispatch::Queue::main(), [operation, completion = std::move(completion)] {
        if (completion) completion(operation->error, Value());
    });
}

void MessagesManager::deleteMessageWithThreadId(int32_t threadId, const Text& authToken, ThreadCompletion completion) {
    auto rows =
        fetchCurrentRows(QVACoreDataMessage::kEntityName, coredata::Predicate::withFormat("threadId = %d", threadId),
                         [](coredata::FetchRequest& request) {
                             request.setResultType(coredata::FetchRequestResultType::Dictionary);
                             request.setPropertiesToFetch({"messageId"});
                         });
    if (rows.empty()) {
        completeOnMainQueue(std::move(completion), nullptr);
        return;
    }

    auto operation = std::make_shared<ThreadOperation>();
    auto eventId = currentStore().eventId;
    for (const auto& row : rows) {
        int32_t messageId = row["messageId"].intValue();
        operation->group->enter();
        QVAApiManager::sharedApiManager().deleteMessageWithId(
            messageId, currentStore().token,
            [operation, messageId, authToken, eventId](const ErrorPtr& error, const Value& result) {
                if (error || !result.isNothing()) {
                    if (error) operation->error = error;
                    foundation::Log("Could not succeed to delete message.");
                    operation->group->leave();
                    return;
                }
                StorageManager::sharedStorageManager().deleteItemsFromCoreDataForItemType(
                    EntityClass::of<QVACoreDataMessage>(), authToken, eventId,
                    coredata::Predicate::withFormat("messageId =%d", messageId), true, nullptr,
                    [operation](ErrorPtr, Value) { operation->group->leave(); });
            });
    }
    operation->group->notify(dispatch::Queue::main(), [operation, completion = std::move(completion)] {
        if (completion) completion(operation->error, Value());
    });
}

// "outbox queue TO SUBJECT BODY [THREAD]", "outbox pass"; "thread read ID",
// "thread delete ID": the message composer's hand-over to the outbox, one
// send pass of the outbox, and the thread list's two actions.
//
// The outbox sends only while the device is online, so the commands start
// reachability monitoring as the application does at launch and wait for
// its first reading. The repeating send timer is stopped when a command
// ends: the process does not live for its next tick.
#include <chrono>
#include <cstdint>
#include <ostream>
#include <sstream>

#include "Utils/Utils.h"
#include "api/MessagesManager.h"
#include "coredata/Predicate.h"
#include "foundation/Timer.h"
#include "http/QNNetworkReachabilityManager.h"
#include "model/CommaJoinedList.h"
#include "model/QVACoreDataMessage.h"
#include "model/QVACoreDataMessageRecipient.h"
#include "model/QVACoreDataOutboxMessage.h"
#include "model/QVAOutboxMessage.h"
#include "quovana/Commands.h"
#include "quovana/CurrentMeeting.h"
#include "quovana/StoreFiles.h"
#include "quovana/ValueText.h"

namespace quovana {

namespace {

constexpr double kReachabilityWaitSeconds = 5;

void awaitReachability(CommandContext& context) {
    auto& manager = QNNetworkReachabilityManager::sharedManager();
    if (manager.networkReachabilityStatus() == QNNetworkReachabilityStatus::Unknown) manager.startMonitoring();
    context.pump([&] { return manager.networkReachabilityStatus() != QNNetworkReachabilityStatus::Unknown; },
                 kReachabilityWaitSeconds);
}

void stopOutboxTimer() {
    auto& outbox = MessagesManager::sharedMessagesManager();
    if (auto timer = outbox.timerForSchedulingOutboxMessages()) timer->invalidate();
    outbox.setTimerForSchedulingOutboxMessages(nullptr);
}

// After a pass: what is still waiting, and why.
int reportOutbox(CommandContext& context, const CurrentMeeting& meeting) {
    size_t waiting = countRows(meeting, QVACoreDataOutboxMessage::kEntityName);
    context.out() << waiting << (waiting == 1 ? " message waits" : " messages wait") << " in the outbox";
    if (waiting > 0 && !Utils::isInternetReachable()) context.out() << " (offline)";
    context.out() << "\n";
    // The app's own retry ("We'll try in about two minutes") needs a running
    // app; a command ends before it.
    if (waiting > 0) context.out() << "to try sending again, run \"quovana outbox pass\"\n";
    return kExitSuccess;
}

std::optional<int32_t> parseId(const std::string& text) {
    try {
        size_t used = 0;
        long long value = std::stoll(text, &used);
        if (used != text.size() || value < INT32_MIN || value > INT32_MAX) return std::nullopt;
        return static_cast<int32_t>(value);
    } catch (...) {
        return std::nullopt;
    }
}

// The recipients' names as the composer writes them ("A, B"), from the
// message recipients of the store; an id the store does not know stays an id.
std::string recipientNames(const CurrentMeeting& meeting, const std::vector<std::string>& ids) {
    std::string names;
    for (const auto& id : ids) {
        auto rows = fetchRows(meeting, QVACoreDataMessageRecipient::kEntityName,
                              coredata::Predicate::withFormat("itemId == %@", id), {"fullName"}, {}, 1);
        std::string name = id;
        if (!rows.empty())
            if (const auto* text = rows.front()["fullName"].string()) name = *text;
        names += (names.empty() ? "" : ", ") + name;
    }
    return names;
}

std::vector<std::string> outboxRecipientIds(const std::string& text) {
    std::vector<std::string> ids;
    std::stringstream stream(text);
    for (std::string id; std::getline(stream, id, ',');)
        if (!id.empty()) ids.push_back(id);
    return ids;
}

int queueMessage(CommandContext& context, const Arguments& arguments) {
    const int32_t threadId = arguments.size() == 5 ? *parseId(arguments[4]) : 0;
    const std::vector<std::string> ids = outboxRecipientIds(arguments[1]);
    auto meeting = openCurrentMeeting(context);
    if (!meeting) return kExitFailure;
    awaitReachability(context);

    const std::string addresses = CommaJoinedList::join(ids);
    const auto composeDate = static_cast<int32_t>(
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count());
    auto message = QVAOutboxMessage::initWithBody(arguments[3], arguments[2], composeDate,
                                                  recipientNames(*meeting, ids), addresses, threadId);
    auto& outbox = MessagesManager::sharedMessagesManager();
    auto timerBefore = outbox.timerForSchedulingOutboxMessages();
    outbox.sendMessageFor(message);
    // The row is written, then the timer is made anew and a pass runs at once.
    bool passed = context.pump([&] {
        auto timer = outbox.timerForSchedulingOutboxMessages();
        return timer && timer != timerBefore && !outbox.isSendingOutboxMessages();
    });
    stopOutboxTimer();
    if (!passed) return context.fail("the outbox did not finish its pass");
    if (!storeFilesWritten(context)) return kExitFailure;
    context.out() << "queued \"" << arguments[2] << "\" to " << message->toNames().value_or("") << "\n";
    return reportOutbox(context, *meeting);
}

int sendPass(CommandContext& context) {
    auto meeting = openCurrentMeeting(context);
    if (!meeting) return kExitFailure;
    awaitReachability(context);
    auto& outbox = MessagesManager::sharedMessagesManager();
    outbox.timerForSendingOutboxFired(nullptr);
    bool passed = context.pump([&] { return !outbox.isSendingOutboxMessages(); });
    stopOutboxTimer();
    if (!passed) return context.fail("the outbox did not finish its pass");
    if (!storeFilesWritten(context)) return kExitFailure;
    return reportOutbox(context, *meeting);
}

}  // namespace

std::string outboxUsageProblem(const Arguments& arguments) {
    if (arguments.size() == 1 && arguments[0] == "pass") return {};
    if (arguments.empty() || arguments[0] != "queue" || (arguments.size() != 4 && arguments.size() != 5))
        return "usage: outbox queue TO_IDS SUBJECT BODY [THREAD] | outbox pass";
    if (arguments.size() == 5 && !parseId(arguments[4]))
        return "the thread must be a number, not \"" + arguments[4] + "\"";
    if (outboxRecipientIds(arguments[1]).empty()) return "outbox queue needs at least one recipient id";
    return {};
}

int runOutboxCommand(CommandContext& context, const Arguments& arguments) {
    if (std::string problem = outboxUsageProblem(arguments); !problem.empty()) return context.usage(problem);
    if (arguments[0] == "pass") return sendPass(context);
    return queueMessage(context, arguments);
}

std::string threadUsageProblem(const Arguments& arguments) {
    if (arguments.size() != 2 || (arguments[0] != "read" && arguments[0] != "delete"))
        return "usage: thread read ID | thread delete ID";
    if (!parseId(arguments[1])) return "the thread must be a number, not \"" + arguments[1] + "\"";
    return {};
}

int runThreadCommand(CommandContext& context, const Arguments& arguments) {
    if (std::string problem = threadUsageProblem(arguments); !problem.empty()) return context.usage(problem);
    auto threadId = parseId(arguments[1]);
    auto meeting = openCurrentMeeting(context);
    if (!meeting) return kExitFailure;
    const bool read = arguments[0] == "read";
    auto inThread = coredata::Predicate::withFormat("threadId == %d", *threadId);
    auto outcome = context.await([&](MessagesManager::ThreadCompletion completion) {
        auto& outbox = MessagesManager::sharedMessagesManager();
        if (read)
            outbox.markAsReadMessageWithThreadId(*threadId, meeting->authToken, completion);
        else
            outbox.deleteMessageWithThreadId(*threadId, meeting->authToken, completion);
    });
    if (!outcome) return context.fail("the thread operation did not finish");
    if (outcome->error) return context.fail(std::string(read ? "Unable to mark the thread read: " : "Unable to delete the thread: ") +
                                            describeError(outcome->error));
    if (!storeFilesWritten(context)) return kExitFailure;
    const size_t left = countRows(*meeting, QVACoreDataMessage::kEntityName, inThread);
    const size_t unread = countRows(*meeting, QVACoreDataMessage::kEntityName,
                                    coredata::Predicate::withFormat("threadId == %d AND isRead == NO", *threadId));
    context.out() << "thread " << *threadId << ": " << left << " messages stored, " << unread << " unread\n";
    return kExitSuccess;
}

}  // namespace quovana

#include "http/QNRunningStateFollower.h"

#include "dispatch/Queue.h"
#include "foundation/NotificationCenter.h"
#include "foundation/URLSessionTask.h"
#include "http/QNNetworking.h"
#include "http/QNURLConnectionOperation.h"

using foundation::NotificationCenter;

namespace QNRunningStateFollower {

namespace {

void registerSwitch(const void* view, const char* name, const foundation::Value& sender, const Switch& turn, bool on) {
    NotificationCenter::defaultCenter().addObserver(
        view, [turn, on](const foundation::Notification&) { dispatch::Queue::main()->async([turn, on] { turn(on); }); },
        name, sender);
}

}  // namespace

void removeTaskRegistrations(const void* view) {
    auto& center = NotificationCenter::defaultCenter();
    center.removeObserver(view, kQNNetworkingTaskDidResumeNotification);
    center.removeObserver(view, kQNNetworkingTaskDidSuspendNotification);
    center.removeObserver(view, kQNNetworkingTaskDidCompleteNotification);
}

void removeOperationRegistrations(const void* view) {
    auto& center = NotificationCenter::defaultCenter();
    center.removeObserver(view, kQNNetworkingOperationDidStartNotification);
    center.removeObserver(view, kQNNetworkingOperationDidFinishNotification);
}

void followTask(const void* view, const std::shared_ptr<foundation::URLSessionTask>& task, Switch turn) {
    foundation::Value sender(task);
    registerSwitch(view, kQNNetworkingTaskDidResumeNotification, sender, turn, true);
    registerSwitch(view, kQNNetworkingTaskDidCompleteNotification, sender, turn, false);
    registerSwitch(view, kQNNetworkingTaskDidSuspendNotification, sender, turn, false);
}

void followOperation(const void* view, const std::shared_ptr<QNURLConnectionOperation>& operation, Switch turn) {
    foundation::Value sender(operation);
    registerSwitch(view, kQNNetworkingOperationDidStartNotification, sender, turn, true);
    registerSwitch(view, kQNNetworkingOperationDidFinishNotification, sender, turn, false);
}

}  // namespace QNRunningStateFollower

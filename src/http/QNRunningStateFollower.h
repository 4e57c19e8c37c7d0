// What the activity indicator and the refresh control share: registrations,
// under the view's identity, for a task's or an operation's lifecycle
// notifications that switch a view on or off on the main queue.
#pragma once

#include <functional>
#include <memory>

namespace foundation {
class URLSessionTask;
}
class QNURLConnectionOperation;

namespace QNRunningStateFollower {

// Sets the view on or off; runs on the main queue.
using Switch = std::function<void(bool on)>;

void removeTaskRegistrations(const void* view);
void removeOperationRegistrations(const void* view);

// Resume switches on, suspend and complete switch off.
void followTask(const void* view, const std::shared_ptr<foundation::URLSessionTask>& task, Switch turn);
// Start switches on, finish switches off.
void followOperation(const void* view, const std::shared_ptr<QNURLConnectionOperation>& operation, Switch turn);

}  // namespace QNRunningStateFollower

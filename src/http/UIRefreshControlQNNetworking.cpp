#include "http/UIRefreshControlQNNetworking.h"

#include "foundation/URLSessionTask.h"
#include "http/QNRunningStateFollower.h"
#include "http/QNURLConnectionOperation.h"
#include "uikit/UIRefreshControl.h"

using uikit::UIRefreshControl;

namespace UIRefreshControlQNNetworking {

namespace {

QNRunningStateFollower::Switch switchFor(const std::shared_ptr<UIRefreshControl>& control) {
    std::weak_ptr<UIRefreshControl> weakControl = control;
    return [weakControl](bool on) {
        auto control = weakControl.lock();
        if (!control) return;
        if (on) control->beginRefreshing();
        else control->endRefreshing();
    };
}

}  // namespace

void setRefreshingWithStateOfTask(const std::shared_ptr<UIRefreshControl>& control,
                                  const std::shared_ptr<foundation::URLSessionTask>& task) {
    QNRunningStateFollower::removeTaskRegistrations(control.get());
    if (!task) return;
    if (task->state() == foundation::URLSessionTask::State::Running) {
        control->beginRefreshing();
        QNRunningStateFollower::followTask(control.get(), task, switchFor(control));
    } else {
        control->endRefreshing();
    }
}

void setRefreshingWithStateOfOperation(const std::shared_ptr<UIRefreshControl>& control,
                                       const std::shared_ptr<QNURLConnectionOperation>& operation) {
    QNRunningStateFollower::removeOperationRegistrations(control.get());
    if (!operation || operation->isFinished()) return;
    if (operation->isExecuting()) control->beginRefreshing();
    else control->endRefreshing();
    QNRunningStateFollower::followOperation(control.get(), operation, switchFor(control));
}

}  // namespace UIRefreshControlQNNetworking

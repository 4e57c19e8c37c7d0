#include "http/UIActivityIndicatorViewQNNetworking.h"

#include "foundation/URLSessionTask.h"
#include "http/QNRunningStateFollower.h"
#include "http/QNURLConnectionOperation.h"
#include "uikit/UIActivityIndicatorView.h"

using uikit::UIActivityIndicatorView;

namespace UIActivityIndicatorViewQNNetworking {

namespace {

QNRunningStateFollower::Switch switchFor(const std::shared_ptr<UIActivityIndicatorView>& view) {
    std::weak_ptr<UIActivityIndicatorView> weakView = view;
    return [weakView](bool on) {
        auto view = weakView.lock();
        if (!view) return;
        if (on) view->startAnimating();
        else view->stopAnimating();
    };
}

}  // namespace

void setAnimatingWithStateOfTask(const std::shared_ptr<UIActivityIndicatorView>& view,
                                 const std::shared_ptr<foundation::URLSessionTask>& task) {
    QNRunningStateFollower::removeTaskRegistrations(view.get());
    if (!task || task->state() == foundation::URLSessionTask::State::Completed) return;
    if (task->state() == foundation::URLSessionTask::State::Running) view->startAnimating();
    else view->stopAnimating();
    QNRunningStateFollower::followTask(view.get(), task, switchFor(view));
}

void setAnimatingWithStateOfOperation(const std::shared_ptr<UIActivityIndicatorView>& view,
                                      const std::shared_ptr<QNURLConnectionOperation>& operation) {
    QNRunningStateFollower::removeOperationRegistrations(view.get());
    if (!operation || operation->isFinished()) return;
    if (operation->isExecuting()) view->startAnimating();
    else view->stopAnimating();
    QNRunningStateFollower::followOperation(view.get(), operation, switchFor(view));
}

}  // namespace UIActivityIndicatorViewQNNetworking

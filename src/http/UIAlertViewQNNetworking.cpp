#include "http/UIAlertViewQNNetworking.h"

#include <utility>

#include "foundation/Format.h"
#include "foundation/NotificationCenter.h"
#include "foundation/OperationQueue.h"
#include "foundation/URLSessionTask.h"
#include "http/QNNetworking.h"
#include "http/QNURLConnectionOperation.h"
#include "uikit/UIAlertView.h"

using foundation::ErrorPtr;
using foundation::Notification;
using foundation::NotificationCenter;

namespace UIAlertViewQNNetworking {

namespace {

void showAlert(const ErrorPtr& error, const std::weak_ptr<uikit::UIAlertViewDelegate>& delegate,
               const std::optional<std::string>& cancelButtonTitle, const std::vector<std::string>& otherButtonTitles) {
    auto [title, message] = alertTitleAndMessageForError(error);
    std::shared_ptr<uikit::UIAlertView> alert;
    if (cancelButtonTitle) {
        alert = std::make_shared<uikit::UIAlertView>(title, message, delegate, *cancelButtonTitle,
                                                     std::vector<std::string>());
    } else {
        alert = std::make_shared<uikit::UIAlertView>(title, message, delegate);
    }
    for (const auto& other : otherButtonTitles) alert->addButtonWithTitle(other);
    alert->show();
}

// Registers once for the notification from the sender; the handler gets the
// notification and the registration is gone before it runs.
void observeOnce(const char* name, const foundation::Value& sender, std::function<void(const Notification&)> handler) {
    auto token = std::make_shared<NotificationCenter::ObserverToken>();
    *token = NotificationCenter::defaultCenter().addObserverForName(
        name, sender, foundation::OperationQueue::mainQueue(), [token, handler](const Notification& notification) {
            if (!*token) return;
            NotificationCenter::defaultCenter().removeObserver(*token);
            token->reset();
            handler(notification);
        });
}

}  // namespace

std::pair<std::string, std::string> alertTitleAndMessageForError(const ErrorPtr& error) {
    const foundation::Value& description = error->userInfoValue(foundation::kLocalizedDescriptionKey);
    auto suggestion = error->localizedRecoverySuggestion();
    auto reason = error->localizedFailureReason();
    if (description.isString() && (suggestion || reason)) {
        return {error->localizedDescription(), suggestion ? *suggestion : *reason};
    }
    std::string title = QNLocalizedString(QNNetworkingMessage::kError);
    if (description.isString()) return {title, error->localizedDescription()};
    return {title, foundation::Format(QNLocalizedString(QNNetworkingMessage::kDomainErrorCode), error->domain(),
                                      static_cast<long>(error->code()))};
}

void showAlertViewForTaskWithErrorOnCompletion(const std::shared_ptr<foundation::URLSessionTask>& task,
                                               std::weak_ptr<uikit::UIAlertViewDelegate> delegate) {
    showAlertViewForTaskWithErrorOnCompletion(task, std::move(delegate),
                                              QNLocalizedString(QNNetworkingMessage::kDismiss), {});
}

void showAlertViewForTaskWithErrorOnCompletion(const std::shared_ptr<foundation::URLSessionTask>& task,
                                               std::weak_ptr<uikit::UIAlertViewDelegate> delegate,
                                               const std::optional<std::string>& cancelButtonTitle,
                                               const std::vector<std::string>& otherButtonTitles) {
    observeOnce(kQNNetworkingTaskDidCompleteNotification, foundation::Value(task),
                [delegate, cancelButtonTitle, otherButtonTitles](const Notification& notification) {
                    ErrorPtr error =
                        notification.userInfo[kQNNetworkingTaskDidCompleteErrorKey].objectAs<foundation::Error>();
                    if (error) showAlert(error, delegate, cancelButtonTitle, otherButtonTitles);
                });
}

void showAlertViewForRequestOperationWithErrorOnCompletion(
    const std::shared_ptr<QNURLConnectionOperation>& operation, std::weak_ptr<uikit::UIAlertViewDelegate> delegate) {
    showAlertViewForRequestOperationWithErrorOnCompletion(operation, std::move(delegate),
                                                          QNLocalizedString(QNNetworkingMessage::kDismiss), {});
}

void showAlertViewForRequestOperationWithErrorOnCompletion(
    const std::shared_ptr<QNURLConnectionOperation>& operation, std::weak_ptr<uikit::UIAlertViewDelegate> delegate,
    const std::optional<std::string>& cancelButtonTitle, const std::vector<std::string>& otherButtonTitles) {
    observeOnce(kQNNetworkingOperationDidFinishNotification, foundation::Value(operation),
                [delegate, cancelButtonTitle, otherButtonTitles](const Notification& notification) {
                    auto finished = notification.object.objectAs<QNURLConnectionOperation>();
                    if (!finished) return;
                    if (ErrorPtr error = finished->error()) {
                        showAlert(error, delegate, cancelButtonTitle, otherButtonTitles);
                    }
                });
}

}  // namespace UIAlertViewQNNetworking

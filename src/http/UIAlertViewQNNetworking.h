// An alert shown when a URL session task or a connection operation ends with
// an error: a one-shot registration for the end, on the main queue, removed
// when it comes whatever the outcome.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Error.h"

namespace foundation {
class URLSessionTask;
}
namespace uikit {
class UIAlertViewDelegate;
}
class QNURLConnectionOperation;

namespace UIAlertViewQNNetworking {

// With the cancel button "Dismiss" (from the "QNNetworking" table) alone.
void showAlertViewForTaskWithErrorOnCompletion(const std::shared_ptr<foundation::URLSessionTask>& task,
                                               std::weak_ptr<uikit::UIAlertViewDelegate> delegate);
void showAlertViewForTaskWithErrorOnCompletion(const std::shared_ptr<foundation::URLSessionTask>& task,
                                               std::weak_ptr<uikit::UIAlertViewDelegate> delegate,
                                               const std::optional<std::string>& cancelButtonTitle,
                                               const std::vector<std::string>& otherButtonTitles);
void showAlertViewForRequestOperationWithErrorOnCompletion(
    const std::shared_ptr<QNURLConnectionOperation>& operation, std::weak_ptr<uikit::UIAlertViewDelegate> delegate);
void showAlertViewForRequestOperationWithErrorOnCompletion(
    const std::shared_ptr<QNURLConnectionOperation>& operation, std::weak_ptr<uikit::UIAlertViewDelegate> delegate,
    const std::optional<std::string>& cancelButtonTitle, const std::vector<std::string>& otherButtonTitles);

// The alert's title and message for an error: the description with the
// recovery suggestion (else the failure reason) when the error has both;
// otherwise "Error" with the description, else "<domain> Error: <code>".
std::pair<std::string, std::string> alertTitleAndMessageForError(const foundation::ErrorPtr& error);

}  // namespace UIAlertViewQNNetworking

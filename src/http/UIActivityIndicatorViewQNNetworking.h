// An activity indicator that spins while a URL session task or a connection
// operation runs, by its lifecycle notifications; changes reach the view on
// the main queue. A new call replaces the view's earlier registrations.
#pragma once

#include <memory>

namespace foundation {
class URLSessionTask;
}
namespace uikit {
class UIActivityIndicatorView;
}
class QNURLConnectionOperation;

namespace UIActivityIndicatorViewQNNetworking {

// With no task only the earlier registrations go; the indicator keeps its state.
void setAnimatingWithStateOfTask(const std::shared_ptr<uikit::UIActivityIndicatorView>& view,
                                 const std::shared_ptr<foundation::URLSessionTask>& task);
void setAnimatingWithStateOfOperation(const std::shared_ptr<uikit::UIActivityIndicatorView>& view,
                                      const std::shared_ptr<QNURLConnectionOperation>& operation);

}  // namespace UIActivityIndicatorViewQNNetworking

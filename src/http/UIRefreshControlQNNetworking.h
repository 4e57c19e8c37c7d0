// A refresh control that shows refreshing while a URL session task or a
// connection operation runs, by its lifecycle notifications; changes reach
// the control on the main queue. A new call replaces the earlier registrations.
#pragma once

#include <memory>

namespace foundation {
class URLSessionTask;
}
namespace uikit {
class UIRefreshControl;
}
class QNURLConnectionOperation;

namespace UIRefreshControlQNNetworking {

// A task that is not running ends the refreshing and is not followed.
void setRefreshingWithStateOfTask(const std::shared_ptr<uikit::UIRefreshControl>& control,
                                  const std::shared_ptr<foundation::URLSessionTask>& task);
void setRefreshingWithStateOfOperation(const std::shared_ptr<uikit::UIRefreshControl>& control,
                                       const std::shared_ptr<QNURLConnectionOperation>& operation);

}  // namespace UIRefreshControlQNNetworking

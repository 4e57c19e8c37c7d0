// A progress view that follows the upload or download progress of a URL
// session task (by observing its byte counts until it completes) or of a
// connection operation (by chaining onto its progress block). Changes reach
// the view on the main queue; the view is held weakly.
#pragma once

#include <memory>

namespace foundation {
class URLSessionTask;
}
namespace uikit {
class UIProgressView;
}
class QNURLConnectionOperation;

namespace UIProgressViewQNNetworking {

void setProgressWithUploadProgressOfTask(const std::shared_ptr<uikit::UIProgressView>& view,
                                         const std::shared_ptr<foundation::URLSessionTask>& task, bool animated);
void setProgressWithDownloadProgressOfTask(const std::shared_ptr<uikit::UIProgressView>& view,
                                           const std::shared_ptr<foundation::URLSessionTask>& task, bool animated);
void setProgressWithUploadProgressOfOperation(const std::shared_ptr<uikit::UIProgressView>& view,
                                              const std::shared_ptr<QNURLConnectionOperation>& operation,
                                              bool animated);
void setProgressWithDownloadProgressOfOperation(const std::shared_ptr<uikit::UIProgressView>& view,
                                                const std::shared_ptr<QNURLConnectionOperation>& operation,
                                                bool animated);

}  // namespace UIProgressViewQNNetworking

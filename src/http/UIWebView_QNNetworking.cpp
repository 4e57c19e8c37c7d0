#include "http/UIWebView_QNNetworking.h"

#include "http/QNHTTPRequestOperation.h"
#include "uikit/UIWebView.h"

namespace UIWebView_QNNetworking {

namespace {
constexpr const char* kOperationKey = "qn_HTTPRequestOperation";
}

std::shared_ptr<QNHTTPRequestOperation> qn_HTTPRequestOperation(const uikit::UIWebView& view) {
    return std::static_pointer_cast<QNHTTPRequestOperation>(view.attachedObject(kOperationKey));
}

void qn_setHTTPRequestOperation(uikit::UIWebView& view, std::shared_ptr<QNHTTPRequestOperation> operation) {
    view.setAttachedObject(kOperationKey, std::move(operation));
}

}  // namespace UIWebView_QNNetworking

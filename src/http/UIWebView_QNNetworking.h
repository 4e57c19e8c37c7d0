// The web views' private side of remote loading (the UIWebView(_QNNetworking)
// category): the view's current operation, among its attached objects.
#pragma once

#include <memory>

namespace uikit {
class UIWebView;
}
class QNHTTPRequestOperation;

namespace UIWebView_QNNetworking {

std::shared_ptr<QNHTTPRequestOperation> qn_HTTPRequestOperation(const uikit::UIWebView& view);
void qn_setHTTPRequestOperation(uikit::UIWebView& view, std::shared_ptr<QNHTTPRequestOperation> operation);

}  // namespace UIWebView_QNNetworking

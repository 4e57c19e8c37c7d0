// A web view that loads its page through an HTTP request operation, with
// download progress, the view's own request and response serializers and a
// chance for the caller to change what is shown (the UIWebView(QNNetworking)
// category). Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "foundation/Data.h"
#include "foundation/Error.h"
#include "foundation/URLRequest.h"

namespace foundation {
class HTTPURLResponse;
}
namespace uikit {
class UIWebView;
}
class QNHTTPRequestSerializer;
class QNHTTPResponseSerializer;

namespace UIWebViewQNNetworking {

// Returns the HTML text to show.
using HTMLSuccess =
    std::function<std::string(const std::shared_ptr<foundation::HTTPURLResponse>& response, const std::string& HTML)>;
// Returns the data to show.
using DataSuccess = std::function<foundation::Data(const std::shared_ptr<foundation::HTTPURLResponse>& response,
                                                   const foundation::Data& data)>;
using Failure = std::function<void(const foundation::ErrorPtr& error)>;
// The operation's download progress: bytes just read, read so far, expected.
using Progress = std::function<void(uint64_t bytesRead, int64_t totalBytesRead, int64_t totalBytesExpectedToRead)>;

// The view's serializers, else shared defaults made once.
std::shared_ptr<QNHTTPRequestSerializer> requestSerializer(const uikit::UIWebView& view);
void setRequestSerializer(uikit::UIWebView& view, std::shared_ptr<QNHTTPRequestSerializer> serializer);
std::shared_ptr<QNHTTPResponseSerializer> responseSerializer(const uikit::UIWebView& view);
void setResponseSerializer(uikit::UIWebView& view, std::shared_ptr<QNHTTPResponseSerializer> serializer);

// An HTML page: the body decoded with the response's text encoding (UTF-8
// when it names none or one that does not convert), shown as the success
// block's text, encoded back the same way.
void loadRequest(const std::shared_ptr<uikit::UIWebView>& view, const foundation::URLRequest& request,
                 Progress progress, HTMLSuccess success, Failure failure);
// Any content, with the given MIME type and text encoding name (else the
// response's), based at the response's URL.
void loadRequestMIMEType(const std::shared_ptr<uikit::UIWebView>& view, const foundation::URLRequest& request,
                         const std::optional<std::string>& MIMEType, const std::optional<std::string>& textEncodingName,
                         Progress progress, DataSuccess success,
                         Failure failure);

}  // namespace UIWebViewQNNetworking

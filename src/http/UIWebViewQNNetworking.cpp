#include "http/UIWebViewQNNetworking.h"

#include "foundation/Charset.h"
#include "foundation/HTTPURLResponse.h"
#include "http/QNHTTPRequestOperation.h"
#include "http/QNHTTPRequestSerializer.h"
#include "http/QNHTTPResponseSerializer.h"
#include "http/UIWebView_QNNetworking.h"
#include "uikit/UIWebView.h"

using foundation::Data;
using uikit::UIWebView;

namespace UIWebViewQNNetworking {

namespace {

constexpr const char* kRequestSerializerKey = "requestSerializer";
constexpr const char* kResponseSerializerKey = "responseSerializer";

}  // namespace

std::shared_ptr<QNHTTPRequestSerializer> requestSerializer(const UIWebView& view) {
    static const auto shared = QNHTTPRequestSerializer::serializer();
    auto own = std::static_pointer_cast<QNHTTPRequestSerializer>(view.attachedObject(kRequestSerializerKey));
    return own ? own : shared;
}

void setRequestSerializer(UIWebView& view, std::shared_ptr<QNHTTPRequestSerializer> serializer) {
    view.setAttachedObject(kRequestSerializerKey, std::move(serializer));
}

std::shared_ptr<QNHTTPResponseSerializer> responseSerializer(const UIWebView& view) {
    static const auto shared = QNHTTPResponseSerializer::serializer();
    auto own = std::static_pointer_cast<QNHTTPResponseSerializer>(view.attachedObject(kResponseSerializerKey));
    return own ? own : shared;
}

void setResponseSerializer(UIWebView& view, std::shared_ptr<QNHTTPResponseSerializer> serializer) {
    view.setAttachedObject(kResponseSerializerKey, std::move(serializer));
}

void loadRequest(const std::shared_ptr<UIWebView>& view, const foundation::URLRequest& request,
                 Progress progress, HTMLSuccess success, Failure failure) {
    DataSuccess asText = [success](const std::shared_ptr<foundation::HTTPURLResponse>& response, const Data& data) {
        auto encoding = foundation::StringEncoding::UTF8;
        if (response && response->textEncodingName()) {
            auto named = foundation::Charset::encodingForIANAName(*response->textEncodingName());
            if (named != foundation::StringEncoding::None) encoding = named;
        }
        std::string text = foundation::Charset::decode(data, encoding).value_or(std::string());
        if (success) text = success(response, text);
        return foundation::Charset::encode(text, encoding).value_or(Data());
    };
    loadRequestMIMEType(view, request, std::nullopt, std::nullopt, std::move(progress), std::move(asText),
                        std::move(failure));
}

void loadRequestMIMEType(const std::shared_ptr<UIWebView>& view, const foundation::URLRequest& request,
                         const std::optional<std::string>& MIMEType, const std::optional<std::string>& textEncodingName,
                         Progress progress, DataSuccess success,
                         Failure failure) {
    if (auto current = UIWebView_QNNetworking::qn_HTTPRequestOperation(*view)) current->cancel();

    foundation::ErrorPtr error;
    auto serialized = requestSerializer(*view)->requestBySerializingRequest(request, foundation::Value(), &error);
    auto operation = QNHTTPRequestOperation::operationWithRequest(serialized ? *serialized : request);
    UIWebView_QNNetworking::qn_setHTTPRequestOperation(*view, operation);
    operation->setResponseSerializer(responseSerializer(*view));
    operation->setDownloadProgressBlock(std::move(progress));

    std::weak_ptr<UIWebView> weakView = view;
    operation->setCompletionBlockWithSuccess(
        [weakView, MIMEType, textEncodingName, success](const QNHTTPRequestOperationPtr& finished,
                                                        const foundation::Value&) {
            auto view = weakView.lock();
            if (!view) return;
            auto response = finished->response();
            Data body = finished->responseData().value_or(Data());
            Data shown = success ? success(response, body) : body;
            std::string type = MIMEType ? *MIMEType : response && response->MIMEType() ? *response->MIMEType() : "";
            std::string encoding = textEncodingName                                ? *textEncodingName
                                   : response && response->textEncodingName() ? *response->textEncodingName()
                                                                                   : "";
            std::optional<foundation::URL> base;
            if (response) base = response->url();
            view->loadData(shown, type, encoding, base);
            if (auto delegate = view->delegate()) delegate->webViewDidFinishLoad(*view);
        },
        [failure](const QNHTTPRequestOperationPtr&, const foundation::ErrorPtr& error) {
            if (failure) failure(error);
        });
    operation->start();
    if (auto delegate = view->delegate()) delegate->webViewDidStartLoad(*view);
}

}  // namespace UIWebViewQNNetworking

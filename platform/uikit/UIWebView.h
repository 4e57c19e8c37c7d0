// A web view without a browser: it keeps what it was asked to show (the
// last request, HTML text or data with its base URL) and goes through the
// platform's loading conversation with its delegate. Each load, and each
// link click that tests or the app mode simulate, first asks the delegate
// whether to start (with the navigation type); a refused one loads nothing.
// An accepted load reports start, then finish or failure, on later turns of
// the main run loop: HTML, data and "about:" loads finish; http and https
// requests are fetched through a foundation::URLSession, so a server's
// answer (whatever its status) finishes the load and a transport failure
// fails it with the URL-loading error; a request without a URL or with a
// scheme nothing here loads fails as well. A new load or stopLoading ends the
// one in progress without reporting it. Its scroll view fills it (joining
// it as a subview once the web view is owned). Main thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Data.h"
#include "foundation/Error.h"
#include "foundation/URL.h"
#include "foundation/URLRequest.h"
#include "uikit/UIScrollView.h"
#include "uikit/UIView.h"

namespace foundation {
class URLResponse;
class URLSessionTask;
}  // namespace foundation

namespace uikit {

class UIWebView;

enum class UIWebViewNavigationType { LinkClicked = 0, FormSubmitted = 1, BackForward = 2, Reload = 3, FormResubmitted = 4, Other = 5 };

class UIWebViewDelegate {
public:
    virtual ~UIWebViewDelegate() = default;
    virtual bool webViewShouldStartLoadWithRequest(UIWebView& webView, const foundation::URLRequest& request,
                                                   UIWebViewNavigationType navigationType) {
        (void)webView, (void)request, (void)navigationType;
        return true;
    }
    virtual void webViewDidStartLoad(UIWebView& webView) { (void)webView; }
    virtual void webViewDidFinishLoad(UIWebView& webView) { (void)webView; }
    virtual void webViewDidFailLoadWithError(UIWebView& webView, const foundation::ErrorPtr& error) {
        (void)webView, (void)error;
    }
};

class UIWebView : public UIView {
public:
    explicit UIWebView(const graphics::Rect& frame = {});
    ~UIWebView() override;

    std::shared_ptr<UIWebViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(const std::shared_ptr<UIWebViewDelegate>& delegate) { delegate_ = delegate; }

    void loadRequest(const foundation::URLRequest& request);
    void loadHTMLString(const std::string& html, const std::optional<foundation::URL>& baseURL);
    void loadData(const foundation::Data& data, const std::string& MIMEType, const std::string& textEncodingName,
                  const std::optional<foundation::URL>& baseURL);
    // A person clicking a link to the URL (text as written in the page, so
    // "login:goToPasscodeLogin" works): asks the delegate with link-clicked,
    // then loads it when allowed. False when refused or not a URL.
    bool clickLink(const std::string& url);
    void reload();
    void stopLoading();
    bool isLoading() const { return loading_; }

    // What is shown, as last loaded.
    const std::optional<foundation::URLRequest>& request() const { return request_; }
    const std::optional<std::string>& HTMLString() const { return html_; }
    const std::optional<foundation::Data>& data() const { return data_; }
    const std::optional<std::string>& MIMEType() const { return mimeType_; }
    const std::optional<std::string>& textEncodingName() const { return textEncodingName_; }
    const std::optional<foundation::URL>& baseURL() const { return baseURL_; }
    // The server's response to the last fetched request, and the last failure.
    const std::shared_ptr<foundation::URLResponse>& response() const { return response_; }
    const foundation::ErrorPtr& lastError() const { return lastError_; }
    // The targets of the links in the shown HTML, in page order.
    std::vector<std::string> linkURLs() const;

    bool scalesPageToFit() const { return scalesPageToFit_; }
    void setScalesPageToFit(bool scales) { scalesPageToFit_ = scales; }
    UIScrollView& scrollView();
    const UIScrollView& scrollView() const;
    void layoutSubviews() override;
    void didMoveToSuperview() override;
    // No browser: a requested page shows its address; HTML shows its text,
    // every line with the styles its elements give it (HTMLText.h). The page
    // is light, unless the web view is clear: then its text lies over what
    // is beneath the view.
    void drawRect(const graphics::Rect& rect) override;

    std::string className() const override { return "UIWebView"; }

private:
    struct Content {
        std::optional<foundation::URLRequest> request;
        std::optional<std::string> html;
        std::optional<foundation::Data> data;
        std::optional<std::string> mimeType;
        std::optional<std::string> textEncodingName;
        std::optional<foundation::URL> baseURL;
    };
    // Asks the delegate, then shows the content and starts the load.
    bool start(Content content, UIWebViewNavigationType navigationType);
    void fetch(const foundation::URLRequest& request, uint64_t generation);
    void finish(uint64_t generation, foundation::ErrorPtr error);
    // Runs on a later turn of the main loop, while the load is the current one.
    void later(uint64_t generation, std::function<void(UIWebView&)> step);
    void cancelTask();

    std::weak_ptr<UIWebViewDelegate> delegate_;
    std::optional<foundation::URLRequest> request_;
    std::optional<std::string> html_;
    std::optional<foundation::Data> data_;
    std::optional<std::string> mimeType_;
    std::optional<std::string> textEncodingName_;
    std::optional<foundation::URL> baseURL_;
    std::shared_ptr<foundation::URLResponse> response_;
    foundation::ErrorPtr lastError_;
    bool loading_ = false;
    uint64_t generation_ = 0;
    std::shared_ptr<foundation::URLSessionTask> task_;
    bool scalesPageToFit_ = false;
    void attachScrollView() const;
    std::shared_ptr<UIScrollView> scrollView_;
};

using UIWebViewPtr = std::shared_ptr<UIWebView>;

}  // namespace uikit

#include "app/WebViewController.h"

#include "Utils/Utils.h"
#include "analytics/AnalyticsUtils.h"
#include "foundation/URL.h"
#include "foundation/URLRequest.h"
#include "uikit/UIScreen.h"
#include "uikit/UIView.h"

WebViewController::WebViewController() = default;

WebViewController::~WebViewController() {
    if (webView_) webView_->setDelegate(nullptr);
}

void WebViewController::loadView() {
    BaseViewController::loadView();
    if (!isViewLoaded()) setView(std::make_shared<uikit::UIView>(uikit::UIScreen::mainScreen().bounds()));
    webView_ = std::make_shared<uikit::UIWebView>(view()->bounds());
    webView_->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);
    view()->addSubview(webView_);
}

void WebViewController::viewDidLoad() {
    BaseViewController::viewDidLoad();
    Utils::changeEdgesForController(*this, uikit::UIRectEdgeNone);
    webView_->setDelegate(std::dynamic_pointer_cast<WebViewController>(shared_from_this()));
    startProgress();
    foundation::URLRequest request;
    if (siteUrl_) {
        if (auto url = foundation::URL::URLWithString(*siteUrl_)) request = foundation::URLRequest(*url);
    }
    // A request without an address fails, which ends the progress cover.
    webView_->loadRequest(request);
    trackAnalyticsEvent();
}

void WebViewController::trackAnalyticsEvent() { AnalyticsUtils::trackEventWithName("View event feedback"); }

void WebViewController::webViewDidFinishLoad(uikit::UIWebView&) { stopProgress(); }

void WebViewController::webViewDidFailLoadWithError(uikit::UIWebView&, const foundation::ErrorPtr&) { stopProgress(); }

// One web page by address ("WebViewControllerId"): the meeting's feedback
// form. The progress cover stays up until the page finishes or fails; a
// failure shows nothing more. Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app/BaseViewController.h"
#include "uikit/UIWebView.h"

class WebViewController : public BaseViewController, public uikit::UIWebViewDelegate {
public:
    static Text storyboardIdentifier() { return std::string("WebViewControllerId"); }

    WebViewController();
    ~WebViewController() override;

    const std::shared_ptr<uikit::UIWebView>& webView() const { return webView_; }
    const Text& siteUrl() const { return siteUrl_; }
    // Before the view loads.
    void setSiteUrl(Text siteUrl) { siteUrl_ = std::move(siteUrl); }

    void loadView() override;
    void viewDidLoad() override;
    void trackAnalyticsEvent() override;
    void webViewDidFinishLoad(uikit::UIWebView& webView) override;
    void webViewDidFailLoadWithError(uikit::UIWebView& webView, const foundation::ErrorPtr& error) override;

    std::string className() const override { return "WebViewController"; }

private:
    std::shared_ptr<uikit::UIWebView> webView_;
    Text siteUrl_;
};

// One picture by address, centred in a web page under a location title
// ("ImageWebViewControllerStoryboardId"): floor plans and room pictures.
// Without a picture it shows "No map available" at once. Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app/BaseViewController.h"
#include "uikit/UIWebView.h"

namespace uikit {
class UIActivityIndicatorView;
class UILabel;
}  // namespace uikit

class ImageWebViewController : public BaseViewController, public uikit::UIWebViewDelegate {
public:
    static Text storyboardIdentifier() { return std::string("ImageWebViewControllerStoryboardId"); }

    // Pushes a new screen for the picture onto the controller's navigation
    // controller, animated; nothing without an address.
    static void navigateWithImageUrl(const Text& imageUrl, const Text& title,
                                     const std::shared_ptr<uikit::UIViewController>& fromController);

    ImageWebViewController();
    ~ImageWebViewController() override;

    const std::shared_ptr<uikit::UIWebView>& webView() const { return webView_; }
    const std::shared_ptr<uikit::UIActivityIndicatorView>& activityIndicator() const { return activityIndicator_; }
    std::shared_ptr<uikit::UILabel> titleLabel() const { return titleLabel_.lock(); }
    const Text& imageUri() const { return imageUri_; }
    void setImageUri(Text imageUri) { imageUri_ = std::move(imageUri); }
    const Text& locationTitle() const { return locationTitle_; }
    void setLocationTitle(Text locationTitle) { locationTitle_ = std::move(locationTitle); }
    const Text& segmentedControlImageName() const { return segmentedControlImageName_; }
    void setSegmentedControlImageName(Text name) { segmentedControlImageName_ = std::move(name); }

    std::shared_ptr<uikit::UIImage> segmentedControlImage() override;
    void loadView() override;
    void viewDidLoad() override;
    void webViewDidFinishLoad(uikit::UIWebView& webView) override;
    void webViewDidFailLoadWithError(uikit::UIWebView& webView, const foundation::ErrorPtr& error) override;

    std::string className() const override { return "ImageWebViewController"; }

private:
    void endLoading();

    std::shared_ptr<uikit::UIWebView> webView_;
    std::shared_ptr<uikit::UIActivityIndicatorView> activityIndicator_;
    std::weak_ptr<uikit::UILabel> titleLabel_;
    Text imageUri_;
    Text locationTitle_;
    Text segmentedControlImageName_;
};

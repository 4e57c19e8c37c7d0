#include "app/ImageWebViewController.h"

#include "Utils/Utils.h"
#include "foundation/Format.h"
#include "uikit/UIActivityIndicatorView.h"
#include "uikit/UIColor.h"
#include "uikit/UIImage.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationController.h"
#include "uikit/UIScreen.h"
#include "uikit/UIView.h"

namespace {

constexpr const char* kImageDocument =
    "<html><head><style>img {   position: absolute; margin: auto;  top: 0;   left: 0; right:0; "
    "bottom:0;}</style></head><body>  <img src=\"%@\" /></body></html>";
constexpr const char* kNoImageDocumentHead =
    "<html><body style=\"background:transparent;font-family:HelveticaNeue;font-size:45px;\"><div style =\"position: "
    "absolute; margin: auto;  top: 150;   left: 0; right:0; bottom:0; text-align:center;\">&nbsp;";
constexpr const char* kNoImageDocumentTail = "No map available</div></body></html>";
constexpr double kTitleHeight = 44;

}  // namespace

void ImageWebViewController::navigateWithImageUrl(const Text& imageUrl, const Text& title,
                                                  const std::shared_ptr<uikit::UIViewController>& fromController) {
    if (!imageUrl) return;
    auto screen = instantiateViewController<ImageWebViewController>();
    if (!screen) return;
    screen->setImageUri(imageUrl);
    screen->setLocationTitle(title);
    if (auto navigation = fromController ? fromController->navigationController() : nullptr)
        navigation->pushViewController(screen, true);
}

ImageWebViewController::ImageWebViewController() = default;

ImageWebViewController::~ImageWebViewController() {
    if (webView_) {
        webView_->setDelegate(nullptr);
        webView_->stopLoading();
    }
}

std::shared_ptr<uikit::UIImage> ImageWebViewController::segmentedControlImage() {
    return segmentedControlImageName_ ? uikit::UIImage::imageNamed(*segmentedControlImageName_) : nullptr;
}

void ImageWebViewController::loadView() {
    BaseViewController::loadView();
    if (!isViewLoaded()) setView(std::make_shared<uikit::UIView>(uikit::UIScreen::mainScreen().bounds()));
    auto& root = *view();
    root.setBackgroundColor(uikit::UIColor::whiteColor());
    const auto bounds = root.bounds();
    auto label = std::make_shared<uikit::UILabel>(graphics::Rect{0, 0, bounds.size.width, kTitleHeight});
    label->setTextAlignment(uikit::NSTextAlignment::Center);
    label->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
    root.addSubview(label);
    titleLabel_ = label;
    webView_ = std::make_shared<uikit::UIWebView>(
        graphics::Rect{0, kTitleHeight, bounds.size.width, bounds.size.height - kTitleHeight});
    webView_->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);
    root.addSubview(webView_);
    // It spins only once a picture is asked for.
    activityIndicator_ = Utils::createActivityIndicator();
    activityIndicator_->stopAnimating();
    activityIndicator_->setCenter({bounds.size.width / 2, bounds.size.height / 2});
    root.addSubview(activityIndicator_);
}

void ImageWebViewController::viewDidLoad() {
    BaseViewController::viewDidLoad();
    Utils::changeEdgesForController(*this, uikit::UIRectEdgeNone);
    if (locationTitle_) {
        if (auto label = titleLabel()) label->setText(locationTitle_);
    }
    webView_->setDelegate(std::dynamic_pointer_cast<ImageWebViewController>(shared_from_this()));
    if (imageUri_) {
        activityIndicator_->setHidden(false);
        activityIndicator_->startAnimating();
        webView_->loadHTMLString(foundation::Format(kImageDocument, *imageUri_), std::nullopt);
    } else {
        webView_->loadHTMLString(std::string(kNoImageDocumentHead) + "\n" + kNoImageDocumentTail, std::nullopt);
        activityIndicator_->setHidden(true);
    }
}

void ImageWebViewController::endLoading() {
    activityIndicator_->stopAnimating();
    activityIndicator_->setHidden(true);
}

void ImageWebViewController::webViewDidFinishLoad(uikit::UIWebView&) { endLoading(); }

void ImageWebViewController::webViewDidFailLoadWithError(uikit::UIWebView&, const foundation::ErrorPtr&) {
    endLoading();
}

#include "app/ImageViewController.h"

#include "api/QVAApiManager.h"
#include "app/ImageWebViewController.h"
#include "http/UIImageViewQNNetworking.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
#include "uikit/UIScreen.h"
#include "uikit/UITapGestureRecognizer.h"
#include "uikit/UIView.h"

ImageViewController::ImageViewController() = default;
ImageViewController::~ImageViewController() = default;

std::shared_ptr<uikit::UIImage> ImageViewController::segmentedControlImage() {
    return segmentedControlImageName_ ? uikit::UIImage::imageNamed(*segmentedControlImageName_) : nullptr;
}

void ImageViewController::loadView() {
    BaseViewController::loadView();
    if (!isViewLoaded()) setView(std::make_shared<uikit::UIView>(uikit::UIScreen::mainScreen().bounds()));
    auto image = std::make_shared<uikit::UIImageView>(view()->bounds());
    image->setContentMode(uikit::UIViewContentMode::ScaleAspectFit);
    image->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);
    view()->addSubview(image);
    imageView_ = image;
}

void ImageViewController::viewDidLoad() {
    BaseViewController::viewDidLoad();
    auto image = imageView();
    if (!image) return;
    if (auto request = QVAApiManager::sharedApiManager().imageRequestForAddress(imageUrl_)) {
        UIImageViewQNNetworking::setImageWithURLRequest(image, *request, nullptr, nullptr, nullptr);
    } else {
        image->setImage(uikit::UIImage::imageNamed(kPlaceholderImageName));
        image->setContentMode(uikit::UIViewContentMode::Center);
    }
    std::weak_ptr<ImageViewController> weak = std::dynamic_pointer_cast<ImageViewController>(shared_from_this());
    auto tap = std::make_shared<uikit::UITapGestureRecognizer>([weak](uikit::UIGestureRecognizer& recognizer) {
        if (auto screen = weak.lock()) screen->imagePressed(recognizer.shared_from_this());
    });
    image->setUserInteractionEnabled(true);
    image->addGestureRecognizer(tap);
}

void ImageViewController::imagePressed(const foundation::ObjectPtr&) {
    ImageWebViewController::navigateWithImageUrl(imageUrl_, imageTitle_,
                                                 std::dynamic_pointer_cast<uikit::UIViewController>(shared_from_this()));
}

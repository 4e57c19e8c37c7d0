// One picture by address in an image view, or the no-picture placeholder
// ("ImageViewController"): a segment of the location detail screens. A tap
// on a picture opens it full screen; a tap on the placeholder does nothing.
// Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app/BaseViewController.h"
#include "uikit/UIScrollView.h"

namespace uikit {
class UIImageView;
class UITapGestureRecognizer;
}  // namespace uikit

class ImageViewController : public BaseViewController, public uikit::UIScrollViewDelegate {
public:
    static constexpr const char* kPlaceholderImageName = "placeholder_no_image_for_location.png";

    static Text storyboardIdentifier() { return std::string("ImageViewController"); }

    ImageViewController();
    ~ImageViewController() override;

    std::shared_ptr<uikit::UIImageView> imageView() const { return imageView_.lock(); }
    const Text& imageUrl() const { return imageUrl_; }
    void setImageUrl(Text imageUrl) { imageUrl_ = std::move(imageUrl); }
    const Text& imageTitle() const { return imageTitle_; }
    void setImageTitle(Text imageTitle) { imageTitle_ = std::move(imageTitle); }
    const Text& segmentedControlImageName() const { return segmentedControlImageName_; }
    void setSegmentedControlImageName(Text name) { segmentedControlImageName_ = std::move(name); }

    // The tap action: the picture full screen.
    void imagePressed(const foundation::ObjectPtr& sender);

    std::shared_ptr<uikit::UIImage> segmentedControlImage() override;
    void loadView() override;
    void viewDidLoad() override;

    std::string className() const override { return "ImageViewController"; }

private:
    std::weak_ptr<uikit::UIImageView> imageView_;
    Text imageUrl_;
    Text imageTitle_;
    Text segmentedControlImageName_;
};

// A view that shows an image, placed by its content mode; a highlighted image
// view shows its highlighted image when it has one. A template image is drawn
// in the view's tint. Made with an image, the view takes the image's size.
// Image views take no touches unless told to.
#pragma once

#include <memory>

#include "uikit/UIImage.h"
#include "uikit/UIView.h"

namespace uikit {

class UIImageView : public UIView {
public:
    explicit UIImageView(const graphics::Rect& frame = {});
    explicit UIImageView(UIImagePtr image, UIImagePtr highlightedImage = nullptr);

    const UIImagePtr& image() const { return image_; }
    void setImage(UIImagePtr image);
    const UIImagePtr& highlightedImage() const { return highlightedImage_; }
    void setHighlightedImage(UIImagePtr image);
    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool highlighted);
    // The image on show now.
    UIImagePtr currentImage() const;

    // Where the image goes in the bounds under the content mode.
    graphics::Rect imageRect() const;

    graphics::Size sizeThatFits(graphics::Size size) const override;
    void drawRect(const graphics::Rect& rect) override;

    std::string className() const override { return "UIImageView"; }

private:
    UIImagePtr image_;
    UIImagePtr highlightedImage_;
    bool highlighted_ = false;
};

using UIImageViewPtr = std::shared_ptr<UIImageView>;

// Where content of a size goes in a rectangle under a content mode.
graphics::Rect placeContent(graphics::Size content, const graphics::Rect& area, UIViewContentMode mode);

}  // namespace uikit

// An image: pixels (a graphics::Bitmap) shown at a scale, so that its size in
// points is its pixel size divided by the scale. An image may be empty (no
// pixels, size zero): screens set one to hide a bar's background. A template
// image is drawn in the tint of the view showing it; a resizable image keeps
// its caps at their size and tiles or stretches the rest. An animated image is a
// list of frames shown over a duration. Images are immutable; the variants
// (template, resizable) are new images sharing the pixels.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Data.h"
#include "foundation/Object.h"
#include "graphics/Bitmap.h"
#include "graphics/DecodedImage.h"
#include "graphics/Geometry.h"
#include "uikit/UIEdgeInsets.h"

namespace graphics {
class DrawingContext;
}

namespace uikit {

enum class UIImageRenderingMode { Automatic = 0, AlwaysOriginal = 1, AlwaysTemplate = 2 };
enum class UIImageResizingMode { Tile = 0, Stretch = 1 };

class UIImage;
using UIImagePtr = std::shared_ptr<UIImage>;

class UIImage : public foundation::Object {
public:
    // The image of that name among the application's resources, or null. The
    // name may come with or without ".png" (another extension is kept as
    // given); the variant for the main screen's scale ("name@2x.png") is
    // preferred, then the plain file, then the other scales, largest first.
    static UIImagePtr imageNamed(const std::string& name);
    // The image in a PNG file, or null. A file named "…@2x.png" or "…@3x.png"
    // has that scale.
    static UIImagePtr imageWithContentsOfFile(const std::string& path);
    // The image in PNG, JPEG or GIF data, or null (TIFF, ICO and BMP are not
    // read). A GIF of several frames is an animated image over their delays.
    static UIImagePtr imageWithData(const foundation::Data& data, double scale = 1);
    // An image of the decoded image's (first) bitmap, keeping its facts; null
    // without pixels.
    static UIImagePtr imageWithDecodedImage(graphics::DecodedImagePtr decoded, double scale = 1);
    static UIImagePtr imageWithBitmap(graphics::BitmapPtr bitmap, double scale = 1);
    // An animated image over the frames; the duration is the whole cycle.
    static UIImagePtr animatedImageWithImages(std::vector<UIImagePtr> images, double duration);

    // The empty image.
    UIImage() = default;
    UIImage(graphics::BitmapPtr bitmap, double scale);
    static UIImagePtr make() { return std::make_shared<UIImage>(); }

    // The name the image was found under by imageNamed (as asked), if any.
    const std::optional<std::string>& name() const { return name_; }
    // In points; an animated image has the size of its first frame.
    graphics::Size size() const;
    double scale() const { return scale_; }
    // Null for the empty image and for an animated image.
    const graphics::BitmapPtr& bitmap() const { return bitmap_; }
    const graphics::BitmapPtr& CGImage() const { return bitmap_; }
    bool isEmpty() const;

    UIImageRenderingMode renderingMode() const { return renderingMode_; }
    UIImagePtr imageWithRenderingMode(UIImageRenderingMode mode) const;

    const UIEdgeInsets& capInsets() const { return capInsets_; }
    UIImageResizingMode resizingMode() const { return resizingMode_; }
    // Tiling, as the platform's form without a mode.
    UIImagePtr resizableImageWithCapInsets(const UIEdgeInsets& insets) const {
        return resizableImageWithCapInsets(insets, UIImageResizingMode::Tile);
    }
    UIImagePtr resizableImageWithCapInsets(const UIEdgeInsets& insets, UIImageResizingMode mode) const;

    // What the decoder said of the data the image came from (bits per
    // component, alpha kind, colour model, every frame); null for an image
    // made otherwise.
    const graphics::DecodedImagePtr& decodedImage() const { return decoded_; }

    const std::vector<UIImagePtr>& images() const { return images_; }
    double duration() const { return duration_; }

    // Draws into the current context (UIGraphicsGetCurrentContext); nothing
    // without one. A resizable image keeps its caps at their size and fills
    // the rest with its edges and middle, tiled or stretched by its mode.
    void drawInRect(const graphics::Rect& rect) const;
    void drawAtPoint(graphics::Point point) const { drawInRect({point, size()}); }
    // Into a given context.
    void drawInContext(graphics::DrawingContext& context, const graphics::Rect& rect) const;

    // PNG bytes of the pixels (UIImagePNGRepresentation); empty without pixels.
    foundation::Data PNGRepresentation() const;

    std::string className() const override { return "UIImage"; }
    std::string description() const override;

private:
    // One piece of a resizable image over its target, by the resizing mode.
    void drawPiece(graphics::DrawingContext& context, const graphics::Bitmap& piece, const graphics::Rect& target) const;

    std::optional<std::string> name_;
    graphics::BitmapPtr bitmap_;
    double scale_ = 1;
    UIImageRenderingMode renderingMode_ = UIImageRenderingMode::Automatic;
    UIEdgeInsets capInsets_;
    UIImageResizingMode resizingMode_ = UIImageResizingMode::Tile;
    std::vector<UIImagePtr> images_;
    double duration_ = 0;
    graphics::DecodedImagePtr decoded_;
};

inline foundation::Data UIImagePNGRepresentation(const UIImagePtr& image) {
    return image ? image->PNGRepresentation() : foundation::Data();
}

}  // namespace uikit

// Drawing a floor plan by rendering its layer tree, once or tiled, and the
// rules for when the view draws again.
#include "svg/views/SVGXFastImageView.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "foundation/Log.h"
#include "graphics/MutablePath.h"
#include "svg/dom/NodeList.h"
#include "svg/elements/SVGGradientElement.h"
#include "svg/elements/SVGSVGElement.h"

namespace svg {

namespace {

constexpr const char* kNilImageWarning =
    "[%@] WARNING: you have initialized an SVGXImageView with a blank image (nil). Possibly because you're using "
    "Storyboards or NIBs which Apple won't allow us to decorate. Make sure you assign an SVGXImage to the .image "
    "property!";
constexpr const char* kGradientWarning =
    "[%@] WARNING: Apple's rendering DOES NOT ALLOW US to render this image correctly using SVGXFastImageView, "
    "because Apple's renderInContext method - according to Apple's docs - ignores Apple's own masking layers. Until "
    "Apple fixes this bug, you should use SVGXLayeredImageView for this particular SVG file (or avoid using "
    "gradients)";
constexpr const char* kScaleWarning =
    "[%@] WARNING: Apple's rendering DOES NOT ALLOW US to render this image correctly using SVGXFastImageView, "
    "because Apple's renderInContext method - according to Apple's docs - ignores Apple's own transforms. Until "
    "Apple fixes this bug, you should use SVGXLayeredImageView for this particular SVG file (or avoid using scale: "
    "you SHOULD INSTEAD be scaling by setting .size on the image, and ensuring that the incoming SVG has either a "
    "viewbox or an explicit svg width or svg height)";

// The backing layer: a plain layer that calls back when its transform is set.
class TransformFollowingLayer : public graphics::Layer {
public:
    std::function<void()> transformDidChange;

    void setTransform(const graphics::Transform3D& transform) override {
        graphics::Layer::setTransform(transform);
        if (transformDidChange) transformDidChange();
    }
    graphics::LayerPtr makeLayerOfSameClass() const override { return std::make_shared<TransformFollowingLayer>(); }
};

}  // namespace

SVGXFastImageView::SVGXFastImageView(const graphics::Rect& frame) : SVGXImageView(frame) {
    setBackgroundColor(graphics::Color::clear());
}

SVGXFastImageView::~SVGXFastImageView() {
    if (image_ && observingImageSize_) image_->removeSizeObserver(this);
    // The layer may be held elsewhere and outlive the view.
    if (auto* following = dynamic_cast<TransformFollowingLayer*>(layer().get())) {
        following->transformDidChange = nullptr;
    }
}

// Made while the view is being constructed (the background colour lives on
// the layer), so the layer calls back through the plain pointer, which the
// destructor clears.
graphics::LayerPtr SVGXFastImageView::makeBackingLayer() const {
    auto layer = std::make_shared<TransformFollowingLayer>();
    auto* view = const_cast<SVGXFastImageView*>(this);
    layer->transformDidChange = [view] { view->backingLayerTransformDidChange(); };
    return layer;
}

void SVGXFastImageView::backingLayerTransformDidChange() {
    if (disableAutoRedraw_) return;
    // Drawn untiled, the tree must not also stand in a transformed tree.
    if (tileRatio_ == graphics::Size{} && image_) {
        if (auto tree = image_->CALayerTree()) tree->removeFromSuperlayer();
    }
    setNeedsDisplay();
}

std::shared_ptr<SVGXFastImageView> SVGXFastImageView::initWithFrame(const graphics::Rect& frame) {
    return std::make_shared<SVGXFastImageView>(frame);
}

std::shared_ptr<SVGXFastImageView> SVGXFastImageView::initWithSVGXImage(std::shared_ptr<SVGXImage> image) {
    if (!image) foundation::Log(kNilImageWarning, "SVGXFastImageView");
    auto view = std::make_shared<SVGXFastImageView>(graphics::Rect{});
    if (image && !svgImageHasNoGradients(*image)) foundation::Log(kGradientWarning, view->className());
    view->setImage(image);
    graphics::Size size = image ? image->size() : graphics::Size{};
    view->setFrame({{0, 0}, size});
    view->setBackgroundColor(graphics::Color::clear());
    return view;
}

bool SVGXFastImageView::svgImageHasNoGradients(const SVGXImage& image) {
    return !image.DOMTree() || svgElementAndDescendentsHaveNoGradients(*image.DOMTree());
}

bool SVGXFastImageView::svgElementAndDescendentsHaveNoGradients(const Node& element) {
    // Depth first over an explicit stack, so a deeply nested plan costs no
    // thread stack; only element children are looked into.
    std::vector<const Node*> pending{&element};
    while (!pending.empty()) {
        const Node* node = pending.back();
        pending.pop_back();
        if (dynamic_cast<const SVGGradientElement*>(node)) return false;
        const auto& children = node->childNodes()->internalArray();
        for (auto it = children.rbegin(); it != children.rend(); ++it) {
            if (dynamic_cast<const SVGElement*>(it->get())) pending.push_back(it->get());
        }
    }
    return true;
}

void SVGXFastImageView::setImage(std::shared_ptr<SVGXImage> image) {
    if (image && !svgImageHasNoGradients(*image)) foundation::Log(kGradientWarning, className());
    if (image && image->scale() != 0.0) foundation::Log(kScaleWarning, className());
    if (image_ && observingImageSize_) image_->removeSizeObserver(this);
    observingImageSize_ = false;
    image_ = std::move(image);
    if (image_ && !disableAutoRedraw_) {
        std::weak_ptr<foundation::Object> weakSelf = weak_from_this();
        image_->addSizeObserver(this, [weakSelf] {
            if (auto view = std::static_pointer_cast<SVGXFastImageView>(weakSelf.lock())) view->redrawUnlessDisabled();
        });
        observingImageSize_ = true;
    }
    redrawUnlessDisabled();
}

void SVGXFastImageView::setShowBorder(bool showBorder) {
    SVGXImageView::setShowBorder(showBorder);
    redrawUnlessDisabled();
}

void SVGXFastImageView::setTileRatio(graphics::Size ratio) {
    tileRatio_ = ratio;
    redrawUnlessDisabled();
}

void SVGXFastImageView::setDisableAutoRedrawAtHighestResolution(bool disable) {
    disableAutoRedraw_ = disable;
}

void SVGXFastImageView::setFrame(const graphics::Rect& frame) {
    SVGXImageView::setFrame(frame);
    // Drawn stretched to the bounds, so a resize needs a fresh drawing.
    redrawUnlessDisabled();
}

void SVGXFastImageView::redrawUnlessDisabled() {
    if (!disableAutoRedraw_) setNeedsDisplay();
}

void SVGXFastImageView::drawRect(const graphics::Rect& rect) {
    graphics::DrawingContext* context = uikit::UIGraphicsGetCurrentContext();
    if (!context) return;
    graphics::Rect bounds = this->bounds();
    if (image_) {
        // An image without a usable size has nothing to stretch to the
        // bounds: scaling by it would spread NaN through the drawing.
        graphics::Size size = image_->size();
        bool drawable = std::isfinite(size.width) && std::isfinite(size.height) && size.width > 0 && size.height > 0;
        if (auto tree = drawable ? image_->CALayerTree() : nullptr) {
            int columns = std::max(1, static_cast<int>(std::ceil(tileRatio_.width)));
            int rows = std::max(1, static_cast<int>(std::ceil(tileRatio_.height)));
            graphics::Size imageSize = image_->size();
            graphics::Size tile = bounds.size;
            graphics::Size scale{bounds.size.width / imageSize.width, bounds.size.height / imageSize.height};
            if (columns != 1 || rows != 1) {
                tile = {bounds.size.width / tileRatio_.width, bounds.size.height / tileRatio_.height};
                scale = {bounds.size.width / (imageSize.width * tileRatio_.width),
                         bounds.size.height / (imageSize.height * tileRatio_.height)};
            }
            for (int r = 0; r < rows; ++r) {
                for (int c = 0; c < columns; ++c) {
                    context->saveGState();
                    context->translateCTM(tile.width * c, tile.height * r);
                    context->scaleCTM(scale.width, scale.height);
                    context->renderLayer(*tree);
                    context->restoreGState();
                }
            }
        }
    }
    if (showBorder()) {
        graphics::MutablePath border;
        border.addRect(rect);
        context->strokePath(border, graphics::StrokeStyle{});
    }
}

}  // namespace svg

// Transforms, the common layer set-up and the shape layer of path-based
// elements. The cascade gives no defaults, so every default a floor plan
// relies on (stroke width 1, the fill colour #123456, opacity 1) is applied
// here.
#include "svg/layers/SVGHelperUtilities.h"

#include <cmath>
#include <cstdint>
#include <optional>

#include "foundation/Log.h"
#include "svg/elements/SVGElement.h"
#include "svg/elements/SVGFloatFromString.h"
#include "svg/elements/SVGGradientElement.h"
#include "svg/elements/SVGRGBAColor.h"
#include "svg/elements/SVGSVGElement.h"
#include "svg/elements/SVGTransformable.h"
#include "svg/layers/CAShapeLayerWithHitTest.h"
#include "svg/layers/SVGGradientLayer.h"

namespace svg {

namespace {

using graphics::AffineTransform;

bool hasText(const std::optional<std::string>& value) { return value && !value->empty(); }

foundation::Value orAbsent(const std::optional<std::string>& text) {
    return text ? foundation::Value(*text) : foundation::Value();
}

// The viewport step only has something to read on an svg element; any other
// element counts as establishing no viewport.
AffineTransform viewportTransform(const SVGElement& element) {
    const auto* svg = dynamic_cast<const SVGSVGElement*>(&element);
    if (!svg || !SVGRectIsInitialized(svg->viewport())) return AffineTransform::identity();
    const SVGRect& viewport = svg->viewport();
    const SVGRect& requested = svg->requestedViewport();
    AffineTransform scale;
    float targetWidth = viewport.width, targetHeight = viewport.height;
    if (SVGRectIsInitialized(requested)) {
        scale = AffineTransform::makeScale(double(viewport.width / requested.width),
                                           double(viewport.height / requested.height));
        targetWidth = requested.width;
        targetHeight = requested.height;
    }
    AffineTransform viewBox;
    if (const SVGRect& box = svg->viewBox(); SVGRectIsInitialized(box)) {
        float scaleX = targetWidth / box.width, scaleY = targetHeight / box.height;
        viewBox = concat(AffineTransform::makeTranslation(-double(box.x), -double(box.y)),
                         AffineTransform::makeScale(double(scaleX), double(scaleY)));
    }
    // The root's size and view box are positive and finite when read from a
    // file, but the image may set a viewport of its own: a step that would
    // not be finite is left out rather than spread NaN through the drawing.
    auto finite = [](const AffineTransform& t) {
        return std::isfinite(t.a) && std::isfinite(t.b) && std::isfinite(t.c) && std::isfinite(t.d) &&
               std::isfinite(t.tx) && std::isfinite(t.ty);
    };
    if (!finite(scale)) scale = AffineTransform::identity();
    if (!finite(viewBox)) viewBox = AffineTransform::identity();
    return concat(scale, viewBox);
}

graphics::Color colorWithOpacity(const std::string& colorText, const std::optional<std::string>& opacity) {
    SVGRGBAColor color = SVGRGBAColorFromString(colorText.c_str());
    if (hasText(opacity)) color.a = SVGAlphaByteFromOpacity(SVGFloatFromString(*opacity));
    return CGColorFromSVGRGBAColor(color);
}

void applyStroke(graphics::ShapeLayer& layer, const SVGElement& element, const AffineTransform& absolute) {
    auto stroke = element.cascadedValueForStylableProperty("stroke");
    if (!hasText(stroke)) {
        layer.setLineWidth(1.0);
        return;
    }
    if (*stroke == "none") {
        layer.setStrokeColor(std::nullopt);
        layer.setLineWidth(0.0);
        return;
    }
    auto width = element.cascadedValueForStylableProperty("stroke-width");
    double lineWidth = hasText(width) ? SVGFloatFromString(*width) : 1.0;
    // The length of the transformed unit x vector: the horizontal scale of a
    // scaled drawing, and still the scale when the drawing is rotated.
    layer.setLineWidth(lineWidth * std::hypot(absolute.a, absolute.b));
    layer.setStrokeColor(colorWithOpacity(*stroke, element.cascadedValueForStylableProperty("stroke-opacity")));

    if (auto cap = element.cascadedValueForStylableProperty("stroke-linecap"); hasText(cap)) {
        if (*cap == "butt") layer.setLineCap(graphics::LineCap::Butt);
        if (*cap == "round") layer.setLineCap(graphics::LineCap::Round);
        if (*cap == "square") layer.setLineCap(graphics::LineCap::Square);
    }
    if (auto join = element.cascadedValueForStylableProperty("stroke-linejoin"); hasText(join)) {
        if (*join == "miter") layer.setLineJoin(graphics::LineJoin::Miter);
        if (*join == "round") layer.setLineJoin(graphics::LineJoin::Round);
        if (*join == "bevel") layer.setLineJoin(graphics::LineJoin::Bevel);
    }
    if (auto limit = element.cascadedValueForStylableProperty("stroke-miterlimit"); hasText(limit)) {
        layer.setMiterLimit(SVGFloatFromString(*limit));
    }
}

// The gradient a "url(#id)" fill names, drawn as a layer of its own with the
// shape layer as its mask. The mask and the outline are expressed in the
// gradient layer's coordinates, so they stay on the shape when a group
// re-bases the gradient layer. A fill too short to hold an id, or naming
// anything but a gradient, gives no layer.
graphics::LayerPtr newGradientFillLayer(const SVGElement& element, const std::string& fill,
                                        const std::shared_ptr<CAShapeLayerWithHitTest>& shapeLayer,
                                        const graphics::MutablePath& absolutePath) {
    if (fill.size() < 6) return nullptr;
    auto root = element.rootOfCurrentDocumentFragment();
    if (!root) return nullptr;
    std::string identifier = fill.substr(5, fill.size() - 6);
    auto gradient = std::dynamic_pointer_cast<SVGGradientElement>(root->getElementById(identifier));
    if (!gradient) return nullptr;

    graphics::Rect shapeFrame = shapeLayer->frame();
    auto gradientLayer = gradient->newGradientLayerForObjectRect(shapeFrame, root->viewBox());
    graphics::Point origin = gradientLayer->frame().origin;
    foundation::Log("DOESNT WORK, APPLE's API APPEARS BROKEN???? - About to mask layer frame (%@) with a mask of frame "
                    "(%@)",
                    graphics::toString(gradientLayer->frame()), graphics::toString(shapeFrame));
    shapeLayer->setFrame(
        graphics::Rect({shapeFrame.origin.x - origin.x, shapeFrame.origin.y - origin.y}, shapeFrame.size));
    gradientLayer->setMask(shapeLayer);
    gradientLayer->setMaskPath(SVGPathCreateByOffsetting(absolutePath, origin));
    return gradientLayer;
}

}  // namespace

AffineTransform SVGHelperUtilities::transformRelativeIncludingViewportForTransformableOrViewportEstablishingElement(
    const SVGElement& element) {
    AffineTransform own;
    if (const auto* transformable = dynamic_cast<const SVGTransformable*>(&element)) own = transformable->transform();
    auto viewportElement = element.viewportElement();
    if (viewportElement && viewportElement.get() != &element) return own;
    return concat(own, viewportTransform(element));
}

AffineTransform SVGHelperUtilities::transformAbsoluteIncludingViewportForTransformableOrViewportEstablishingElement(
    const SVGElement& element) {
    // Each ancestor that counts contributes its relative transform in turn,
    // which is the recursive definition unrolled.
    AffineTransform result = transformRelativeIncludingViewportForTransformableOrViewportEstablishingElement(element);
    for (auto node = element.parentNode(); node; node = node->parentNode()) {
        const auto* ancestor = dynamic_cast<const SVGElement*>(node.get());
        if (!ancestor) continue;
        if (!dynamic_cast<const SVGTransformable*>(ancestor) && !dynamic_cast<const SVGSVGElement*>(ancestor)) continue;
        result = concat(result,
                        transformRelativeIncludingViewportForTransformableOrViewportEstablishingElement(*ancestor));
    }
    return result;
}

void SVGHelperUtilities::configureCALayer(graphics::Layer& layer, const SVGElement& usingElement) {
    layer.setName(usingElement.identifier());
    layer.setValue(orAbsent(usingElement.identifier()), kSVGElementIdentifierKey);
    if (usingElement.isSelectable()) layer.setValue(*usingElement.isSelectable(), kSVGElementIsSelectableKey);
    if (usingElement.pointOfInterestType()) {
        layer.setValue(*usingElement.pointOfInterestType(), kSVGElementPointOfInterestTypeKey);
    }
    auto opacity = usingElement.cascadedValueForStylableProperty("opacity");
    layer.setOpacity(hasText(opacity) ? SVGFloatFromString(*opacity) : 1.0);
}

graphics::LayerPtr SVGHelperUtilities::newCALayerForPathBasedSVGElement(const SVGElement& element,
                                                                        const graphics::PathPtr& withPath) {
    auto fill = element.cascadedValueForStylableProperty("fill");
    auto layer = CAShapeLayerWithHitTest::layer();
    configureCALayer(*layer, element);

    AffineTransform absolute = transformAbsoluteIncludingViewportForTransformableOrViewportEstablishingElement(element);
    graphics::MutablePath absolutePath;
    if (withPath) absolutePath.addPath(*withPath, absolute);
    graphics::Rect frame = absolutePath.isEmpty() ? graphics::Rect::zero() : absolutePath.boundingBox().integral();
    layer->setPath(SVGPathCreateByOffsetting(absolutePath, frame.origin));
    layer->setFrame(frame);

    applyStroke(*layer, element, absolute);

    if (fill && fill->starts_with("url")) return newGradientFillLayer(element, *fill, layer, absolutePath);
    if (!fill) {
        layer->setFillColor(colorWithOpacity("#123456", element.cascadedValueForStylableProperty("fill-opacity")));
    } else if (fill->starts_with("none")) {
        layer->setFillColor(std::nullopt);
    } else if (!fill->empty()) {
        layer->setFillColor(colorWithOpacity(*fill, element.cascadedValueForStylableProperty("fill-opacity")));
    }
    return layer;
}

graphics::MutablePathPtr SVGPathCreateByOffsetting(const graphics::Path& path, graphics::Point offset) {
    using Type = graphics::PathElement::Type;
    auto result = std::make_shared<graphics::MutablePath>();
    result->reserve(path.elements().size());
    auto moved = [&](graphics::Point p) { return graphics::Point{p.x - offset.x, p.y - offset.y}; };
    for (const auto& element : path.elements()) {
        const auto& p = element.points;
        switch (element.type) {
            case Type::MoveToPoint: result->moveToPoint(moved(p[0])); break;
            case Type::AddLineToPoint: result->addLineToPoint(moved(p[0])); break;
            case Type::AddQuadCurveToPoint: result->addQuadCurveToPoint(moved(p[0]), moved(p[1])); break;
            case Type::AddCurveToPoint: result->addCurveToPoint(moved(p[0]), moved(p[1]), moved(p[2])); break;
            case Type::CloseSubpath: result->closeSubpath(); break;
        }
    }
    return result;
}

}  // namespace svg

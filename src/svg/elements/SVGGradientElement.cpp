// Gradient layers from gradient elements. Coordinates pass through the
// gradient transform as plain numbers before they are normalised: a
// percentage enters the transform as its number, as the floor plans have
// always been drawn.
#include "svg/elements/SVGGradientElement.h"

#include <cstdio>

#include "foundation/Log.h"
#include "graphics/GradientLayer.h"
#include "svg/css/SVGLength.h"
#include "svg/elements/SVGGElement.h"
#include "svg/elements/SVGGradientStop.h"
#include "svg/layers/SVGGradientLayer.h"

namespace svg {

namespace {

double normalized(const SVGLength& length, double origin, double extent) {
    if (length.value() == 0) return 0;
    switch (length.unitType()) {
        case SVG_LENGTHTYPE_NUMBER:
        case SVG_LENGTHTYPE_PX:
            return extent == 0 ? 0 : (double(length.pixelsValue()) - origin) / extent;
        case SVG_LENGTHTYPE_PERCENTAGE: return length.numberValue();
        default: return 0;
    }
}

std::shared_ptr<SVGLength> lengthOfNumber(double value) {
    char text[512];
    std::snprintf(text, sizeof text, "%f", value);
    return SVGLength::svgLengthFromNSString(text);
}

std::string describeColors(const std::vector<graphics::Color>& colors) {
    std::string text = "(";
    for (const auto& color : colors) {
        graphics::Color::RGBA c = color.rgba();
        if (text.size() > 1) text += ", ";
        text += foundation::Format("rgba(%g, %g, %g, %g)", c.red, c.green, c.blue, c.alpha);
    }
    return text + ")";
}

std::string describeLocations(const std::vector<double>& locations) {
    std::string text = "(";
    for (double location : locations) {
        if (text.size() > 1) text += ", ";
        text += foundation::Format("%g", location);
    }
    return text + ")";
}

}  // namespace

void SVGGradientElement::addStop(std::shared_ptr<SVGGradientStop> stop) {
    if (stop) stops_.push_back(std::move(stop));
}

std::string SVGGradientElement::getAttributeInheritedIfNil(const std::string& name) const {
    auto group = std::dynamic_pointer_cast<SVGGElement>(parentNode());
    if (group && !hasAttribute(name)) return group->getAttribute(name);
    return getAttribute(name);
}

graphics::Point SVGGradientElement::normalizeGradientCoordinate(const SVGLength& x, const SVGLength& y,
                                                                const graphics::Rect& rectToFill) {
    return {normalized(x, rectToFill.origin.x, rectToFill.size.width),
            normalized(y, rectToFill.origin.y, rectToFill.size.height)};
}

std::shared_ptr<SVGGradientLayer> SVGGradientElement::newGradientLayerForObjectRect(const graphics::Rect& objectRect,
                                                                                   const SVGRect& viewportRect) {
    auto layer = SVGGradientLayer::layer();
    std::string units = getAttributeInheritedIfNil("gradientUnits");
    graphics::Rect fill = units.empty() || units == "objectBoundingBox" ? objectRect : CGRectFromSVGRect(viewportRect);
    layer->setFrame(fill);

    auto valueOf = [&](const char* attribute) {
        return double(SVGLength::svgLengthFromNSString(getAttributeInheritedIfNil(attribute))->value());
    };
    if (tagName() == "radialGradient") {
        graphics::Point centre = transform().apply(graphics::Point{valueOf("cx"), valueOf("cy")});
        graphics::AffineTransform aboutCentre = transform();
        aboutCentre.tx = 0;
        aboutCentre.ty = 0;
        layer->setGradientTransform(aboutCentre);
        auto radius = SVGLength::svgLengthFromNSString(getAttributeInheritedIfNil("r"));
        layer->setStartPoint(centre);
        layer->setEndPoint(normalizeGradientCoordinate(*radius, *radius, fill));
        layer->setType(kSVGGradientLayerTypeRadial);
    } else {
        auto normalizedPoint = [&](const char* xName, const char* yName) {
            graphics::Point p = transform().apply(graphics::Point{valueOf(xName), valueOf(yName)});
            return normalizeGradientCoordinate(*lengthOfNumber(p.x), *lengthOfNumber(p.y), fill);
        };
        layer->setStartPoint(normalizedPoint("x1", "y1"));
        layer->setEndPoint(normalizedPoint("x2", "y2"));
        layer->setType(graphics::kGradientLayerTypeAxial);
    }

    if (!colorsBuilt_) {
        for (const auto& stop : stops_) {
            locations_.push_back(double(float(stop->offset())));
            colors_.push_back(CGColorFromSVGRGBAColor(stop->stopColor()));
        }
        colorsBuilt_ = true;
        stops_.clear();
    }
    layer->setColors(colors_);
    layer->setLocations(locations_);

    foundation::Log("[%@] set gradient layer start = %@", className(), graphics::toString(layer->startPoint()));
    foundation::Log("[%@] set gradient layer end = %@", className(), graphics::toString(layer->endPoint()));
    foundation::Log("[%@] set gradient layer colors = %@", className(), describeColors(colors_));
    foundation::Log("[%@] set gradient layer locations = %@", className(), describeLocations(locations_));
    return layer;
}

}  // namespace svg

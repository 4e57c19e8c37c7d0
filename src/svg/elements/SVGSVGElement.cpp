// The root element's attribute step and its place in the tree.
//
// The view box is cut at single spaces only, as the floor plans have always
// been read: two spaces in a row make an empty member that reads 0 and moves
// the later numbers one place on. A view box with fewer than four pieces is
// left uninitialised rather than read past its end.
#include "svg/elements/SVGSVGElement.h"

#include <cmath>
#include <limits>
#include <vector>

#include "foundation/Log.h"
#include "foundation/StringUtils.h"
#include "svg/css/SVGLength.h"
#include "svg/css/StyleSheetList.h"
#include "svg/dom/DOMHelperUtilities.h"
#include "svg/dom/NodeList.h"
#include "svg/elements/SVGFloatFromString.h"

namespace svg {

namespace {

// Readings beyond single precision come back clamped to its largest value,
// which therefore counts as out of range too.
bool isUsableExtent(float value) {
    return std::isfinite(value) && value > 0 && value < std::numeric_limits<float>::max();
}

}  // namespace

SVGSVGElement::SVGSVGElement(std::string qualifiedName, std::optional<std::string> namespaceURI,
                             const AttributeDictionary& attributes)
    : SVGElement(std::move(qualifiedName), std::move(namespaceURI), attributes),
      styleSheets_(std::make_shared<StyleSheetList>()) {}

SVGSVGElement::SVGSVGElement(std::string localName, const std::map<std::string, std::string>& attributes)
    : SVGElement(std::move(localName), attributes), styleSheets_(std::make_shared<StyleSheetList>()) {}

void SVGSVGElement::postProcessAttributesAddingErrorsTo(const SVGXParseResultPtr& parseResult) {
    SVGElement::postProcessAttributesAddingErrorsTo(parseResult);

    std::string width = getAttribute("width");
    std::string height = getAttribute("height");
    // A size that gives no positive, finite pixel value (zero, negative, a
    // percentage, not a number, beyond single precision) counts as not given,
    // so every frame, scale and line width derived from it stays finite.
    auto usableLength = [](const std::string& text) -> std::shared_ptr<SVGLength> {
        if (text.empty()) return nullptr;
        auto length = SVGLength::svgLengthFromNSString(text);
        return length && isUsableExtent(length->pixelsValue()) ? length : nullptr;
    };
    width_ = usableLength(width);
    height_ = usableLength(height);
    requestedViewport_ = width_ && height_ ? SVGRectMake(0, 0, width_->pixelsValue(), height_->pixelsValue())
                                           : SVGRectUninitialized();
    viewport_ = requestedViewport_;

    viewBox_ = SVGRectUninitialized();
    std::string viewBox = getAttribute("viewBox");
    if (!viewBox.empty()) {
        std::vector<std::string> pieces = foundation::StringUtils::split(viewBox, " ");
        if (pieces.size() >= 4) {
            SVGRect box = SVGRectMake(float(SVGFloatFromString(pieces[0])), float(SVGFloatFromString(pieces[1])),
                                      float(SVGFloatFromString(pieces[2])), float(SVGFloatFromString(pieces[3])));
            // The same rule as for the size; the origin need only be finite.
            if (std::isfinite(box.x) && std::isfinite(box.y) && isUsableExtent(box.width) &&
                isUsableExtent(box.height)) {
                viewBox_ = box;
            }
        }
    }
    foundation::Log("[%@] DEBUG INFO: set document viewBox = %@", className(),
                    graphics::toString(CGRectFromSVGRect(viewBox_)));
}

void SVGSVGElement::setParentNode(const std::shared_ptr<Node>& parent) {
    Element::setParentNode(parent);
    if (std::dynamic_pointer_cast<SVGElement>(parent)) {
        auto me = std::static_pointer_cast<SVGSVGElement>(self());
        setRootOfCurrentDocumentFragment(me);
        setViewportElement(me);
    } else {
        setRootOfCurrentDocumentFragment(nullptr);
        setViewportElement(nullptr);
    }
}

std::shared_ptr<Element> SVGSVGElement::getElementById(const std::string& elementId) const {
    return DOMHelperUtilities::privateGetElementById(elementId, self());
}

}  // namespace svg

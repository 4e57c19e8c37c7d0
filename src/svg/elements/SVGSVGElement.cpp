// The root element's attribute step and its place in the tree.
//
// The view box is cut at single spaces only, as the floor plans have always
// been read: two spaces in a row make an empty member that reads 0 and moves
// the later numbers one place on. A view box with fewer than four pieces is
// left uninitialised rather than read past its end.
#include "svg/elements/SVGSVGElement.h"

#include <vector>

#include "foundation/Log.h"
#include "foundation/StringUtils.h"
#include "svg/css/SVGLength.h"
#include "svg/css/StyleSheetList.h"
#include "svg/dom/DOMHelperUtilities.h"
#include "svg/dom/NodeList.h"
#include "svg/elements/SVGFloatFromString.h"

namespace svg {

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
    width_ = width.empty() ? nullptr : SVGLength::svgLengthFromNSString(width);
    height_ = height.empty() ? nullptr : SVGLength::svgLengthFromNSString(height);
    requestedViewport_ = width_ && height_ ? SVGRectMake(0, 0, width_->pixelsValue(), height_->pixelsValue())
                                           : SVGRectUninitialized();
    viewport_ = requestedViewport_;

    viewBox_ = SVGRectUninitialized();
    std::string viewBox = getAttribute("viewBox");
    if (!viewBox.empty()) {
        std::vector<std::string> pieces = foundation::StringUtils::split(viewBox, " ");
        if (pieces.size() >= 4) {
            viewBox_ = SVGRectMake(float(SVGFloatFromString(pieces[0])), float(SVGFloatFromString(pieces[1])),
                                   float(SVGFloatFromString(pieces[2])), float(SVGFloatFromString(pieces[3])));
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

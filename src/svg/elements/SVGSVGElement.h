// The element of an "svg" tag: the root of a floor-plan file and of every
// nested fragment. It reads the drawing's size and view box, from which the
// image takes its size, holds the file's style sheets for the cascade and
// finds elements by id. The rest of the SVG DOM interface of the root element
// is present and inert.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "svg/dom/NodeList.h"
#include "svg/elements/SVGAngle.h"
#include "svg/elements/SVGElement.h"
#include "svg/elements/SVGMatrix.h"
#include "svg/elements/SVGPoint.h"
#include "svg/elements/SVGRect.h"
#include "svg/elements/SVGTransform.h"
#include "svg/layers/ConverterSVGToCALayer.h"

namespace svg {

class StyleSheetList;

class SVGSVGElement : public SVGElement, public ConverterSVGToCALayer {
public:
    // Every svg element starts with an empty style-sheet list; the style
    // extension appends the file's sheets to the outermost one only.
    SVGSVGElement(std::string qualifiedName, std::optional<std::string> namespaceURI,
                  const AttributeDictionary& attributes);
    SVGSVGElement(std::string localName, const std::map<std::string, std::string>& attributes);

    // Never read from the file.
    const std::shared_ptr<SVGLength>& x() const { return x_; }
    const std::shared_ptr<SVGLength>& y() const { return y_; }
    // Null when the attribute is missing or empty.
    const std::shared_ptr<SVGLength>& width() const { return width_; }
    const std::shared_ptr<SVGLength>& height() const { return height_; }
    // Uninitialised (all -1) when the file gives none.
    const SVGRect& viewBox() const { return viewBox_; }
    // (0, 0, width, height) in pixels when both are given.
    const SVGRect& requestedViewport() const { return requestedViewport_; }
    // What the image takes its size and root frame from; the image may set it.
    const SVGRect& viewport() const { return viewport_; }
    void setViewport(const SVGRect& viewport) { viewport_ = viewport; }
    const std::shared_ptr<StyleSheetList>& styleSheets() const { return styleSheets_; }

    // Declared by the SVG DOM, never set.
    const std::optional<std::string>& contentScriptType() const { return contentScriptType_; }
    const std::optional<std::string>& contentStyleType() const { return contentStyleType_; }
    float pixelUnitToMillimeterX() const { return 0; }
    float pixelUnitToMillimeterY() const { return 0; }
    float screenPixelToMillimeterX() const { return 0; }
    float screenPixelToMillimeterY() const { return 0; }
    float currentScale() const { return 0; }
    bool useCurrentView() const { return false; }
    std::shared_ptr<SVGPoint> currentTranslate() const { return nullptr; }

    // The inherited step, then size, viewport and view box.
    void postProcessAttributesAddingErrorsTo(const SVGXParseResultPtr& parseResult) override;
    // An svg inside another SVG element roots its own fragment and gives its
    // own viewport; the outermost one has neither.
    void setParentNode(const std::shared_ptr<Node>& parent) override;

    // This element or the first below it, depth first, whose "id" matches.
    std::shared_ptr<Element> getElementById(const std::string& elementId) const;
    // The first direct child of the class (or a subclass); deeper nodes are
    // not looked at.
    template <class T>
    std::shared_ptr<T> findFirstElementOfClass() const;

    // A hit-testing container framed on the viewport; the root of the layer
    // tree when this is the outermost element.
    graphics::LayerPtr newLayer() const override;
    void layoutLayer(const graphics::LayerPtr& /*layer*/) const override {}

    // Null: a length made without text is refused.
    std::shared_ptr<SVGLength> createSVGLength() const { return nullptr; }

    // Inert parts of the SVG DOM interface.
    std::shared_ptr<CSSStyleDeclaration> getOverrideStyle(const std::shared_ptr<Element>& /*element*/,
                                                          const std::string& /*pseudoElt*/) const {
        return nullptr;
    }
    long suspendRedraw(long /*maxWaitMilliseconds*/) { return 0; }
    void unsuspendRedraw(long /*suspendHandleId*/) {}
    void unsuspendRedrawAll() {}
    void forceRedraw() {}
    void pauseAnimations() {}
    void unpauseAnimations() {}
    bool animationsPaused() const { return true; }
    float getCurrentTime() const { return 0; }
    void setCurrentTime(float /*seconds*/) {}
    std::shared_ptr<NodeList> getIntersectionList(const SVGRect& /*rect*/,
                                                  const std::shared_ptr<SVGElement>& /*referenceElement*/) const {
        return nullptr;
    }
    std::shared_ptr<NodeList> getEnclosureList(const SVGRect& /*rect*/,
                                               const std::shared_ptr<SVGElement>& /*referenceElement*/) const {
        return nullptr;
    }
    bool checkIntersection(const std::shared_ptr<SVGElement>& /*element*/, const SVGRect& /*rect*/) const {
        return false;
    }
    bool checkEnclosure(const std::shared_ptr<SVGElement>& /*element*/, const SVGRect& /*rect*/) const {
        return false;
    }
    void deselectAll() {}
    float createSVGNumber() const { return 0; }
    std::shared_ptr<SVGAngle> createSVGAngle() const { return nullptr; }
    std::shared_ptr<SVGPoint> createSVGPoint() const { return nullptr; }
    std::shared_ptr<SVGMatrix> createSVGMatrix() const { return nullptr; }
    SVGRect createSVGRect() const { return SVGRect{}; }
    std::shared_ptr<SVGTransform> createSVGTransform() const { return nullptr; }
    std::shared_ptr<SVGTransform> createSVGTransformFromMatrix(const SVGMatrix& /*matrix*/) const { return nullptr; }

    std::string className() const override { return "SVGSVGElement"; }

private:
    std::shared_ptr<SVGLength> x_;
    std::shared_ptr<SVGLength> y_;
    std::shared_ptr<SVGLength> width_;
    std::shared_ptr<SVGLength> height_;
    SVGRect viewBox_ = SVGRectUninitialized();
    SVGRect requestedViewport_ = SVGRectUninitialized();
    SVGRect viewport_ = SVGRectUninitialized();
    std::shared_ptr<StyleSheetList> styleSheets_;
    std::optional<std::string> contentScriptType_;
    std::optional<std::string> contentStyleType_;
};

template <class T>
std::shared_ptr<T> SVGSVGElement::findFirstElementOfClass() const {
    for (const auto& child : childNodes()->internalArray()) {
        if (auto match = std::dynamic_pointer_cast<T>(child)) return match;
    }
    return nullptr;
}

}  // namespace svg

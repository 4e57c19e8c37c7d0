// The base of every element of the SVG tree. On top of the DOM element it
// keeps what the floor plans and the layer builder need: the element's id and
// class, the raw point-of-interest attributes, the inline style, the two
// upward references (the svg element rooting its fragment, the element giving
// its viewport) and the style cascade.
//
// The parser creates an element with its attributes, runs
// postProcessAttributesAddingErrorsTo once, then appends it to its parent.
// Subclasses that read attributes of their own run the inherited step first.
// Elements are always held by std::shared_ptr (std::make_shared).
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "svg/dom/Element.h"
#include "svg/parser/SVGXParseResult.h"

namespace svg {

class CSSStyleDeclaration;
class CSSValue;
class SVGLength;
class SVGSVGElement;
class SVGTransformable;

// The library's code for an unsupported transform item (skew).
inline constexpr int64_t kSVGXErrorCodeUnsupportedTransform = 15184;

class SVGElement : public Element {
public:
    SVGElement(std::string qualifiedName, std::optional<std::string> namespaceURI,
               const AttributeDictionary& attributes);
    SVGElement(std::string localName, const std::map<std::string, std::string>& attributes);

    // The "id" attribute; none when missing or empty.
    const std::optional<std::string>& identifier() const { return identifier_; }
    void setIdentifier(std::optional<std::string> identifier) { identifier_ = std::move(identifier); }
    // Never set by the library.
    const std::optional<std::string>& xmlbase() const { return rare().xmlbase; }
    void setXmlbase(std::optional<std::string> xmlbase) { rareForWriting().xmlbase = std::move(xmlbase); }
    // The floor plans' raw "isSelectable", "idRoom" and "type" attributes.
    const std::optional<std::string>& isSelectable() const { return rare().isSelectable; }
    void setIsSelectable(std::optional<std::string> value) { rareForWriting().isSelectable = std::move(value); }
    const std::optional<std::string>& idRoom() const { return rare().idRoom; }
    void setIdRoom(std::optional<std::string> value) { rareForWriting().idRoom = std::move(value); }
    const std::optional<std::string>& pointOfInterestType() const { return rare().pointOfInterestType; }
    void setPointOfInterestType(std::optional<std::string> value) {
        rareForWriting().pointOfInterestType = std::move(value);
    }
    // Never set by the library; the description prints it.
    const std::optional<std::string>& stringValue() const { return rare().stringValue; }
    void setStringValue(std::optional<std::string> value) { rareForWriting().stringValue = std::move(value); }
    // The whole "class" attribute, not split at spaces. (className() is the
    // object's class name, as everywhere in the platform layer.)
    const std::optional<std::string>& styleClassName() const { return styleClassName_; }
    void setStyleClassName(std::optional<std::string> value) { styleClassName_ = std::move(value); }
    // The parsed "style" attribute; null without one.
    const std::shared_ptr<CSSStyleDeclaration>& style() const { return style_; }
    void setStyle(std::shared_ptr<CSSStyleDeclaration> style) { style_ = std::move(style); }

    // Weak: both point up the tree.
    std::shared_ptr<SVGSVGElement> rootOfCurrentDocumentFragment() const { return rootOfCurrentDocumentFragment_.lock(); }
    std::shared_ptr<SVGElement> viewportElement() const { return viewportElement_.lock(); }

    // The generic attribute step: "id", the point-of-interest attributes,
    // "style", "class", then the transform list. The result may be null.
    virtual void postProcessAttributesAddingErrorsTo(const SVGXParseResultPtr& parseResult);

    // Sets the upward references from the new place in the tree.
    void setParentNode(const std::shared_ptr<Node>& parent) override;
    // The element itself when it establishes a viewport, else the
    // ancestor's viewport element or the ancestor itself.
    void reCalculateAndSetViewportElementReferenceUsingFirstSVGAncestor(const std::shared_ptr<SVGElement>& ancestor);

    // The value of a presentation property such as "fill": the attribute, the
    // inline style, the first class rule naming this element's class, then
    // the nearest enclosing group, in that order. No defaults: none when no
    // step supplies one.
    std::optional<std::string> cascadedValueForStylableProperty(const std::string& name) const;
    // True for the group element, whose values its descendants fall back to.
    virtual bool isGroupForCascade() const { return false; }

    std::shared_ptr<SVGLength> getAttributeAsSVGLength(const std::string& name) const;
    std::shared_ptr<CSSValue> getPresentationAttribute(const std::string& /*name*/) const { return nullptr; }
    static bool shouldStoreContent() { return false; }

    std::string className() const override { return "SVGElement"; }
    std::string description() const override;

protected:
    void setRootOfCurrentDocumentFragment(const std::shared_ptr<SVGSVGElement>& root) {
        rootOfCurrentDocumentFragment_ = root;
    }
    void setViewportElement(const std::shared_ptr<SVGElement>& element) { viewportElement_ = element; }

private:
    // Sets isSelectable, pointOfInterestType and idRoom, and hands a point
    // of interest to the maps while they collect.
    void readPointOfInterestAttributes();
    void collectPointOfInterest();
    void applyTransformList(const std::string& text, SVGTransformable& target, const SVGXParseResultPtr& parseResult);

    std::optional<std::string> identifier_;
    // Texts few elements carry (the points of interest among a plan's
    // shapes, texts and edges), kept apart so the others do not pay for them.
    struct RareFields {
        std::optional<std::string> xmlbase;
        std::optional<std::string> isSelectable;
        std::optional<std::string> idRoom;
        std::optional<std::string> pointOfInterestType;
        std::optional<std::string> stringValue;
    };
    const RareFields& rare() const;
    RareFields& rareForWriting();

    std::unique_ptr<RareFields> rare_;
    std::optional<std::string> styleClassName_;
    std::shared_ptr<CSSStyleDeclaration> style_;
    std::weak_ptr<SVGSVGElement> rootOfCurrentDocumentFragment_;
    std::weak_ptr<SVGElement> viewportElement_;
};

using SVGElementPtr = std::shared_ptr<SVGElement>;

}  // namespace svg

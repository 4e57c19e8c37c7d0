// The element base: the generic attribute step, the upward references and the
// style cascade. The transform-list grammar is in SVGElement_TransformList.cpp
// and the point-of-interest step in SVGElement_PointOfInterest.cpp.
#include "svg/elements/SVGElement.h"

#include "foundation/Log.h"
#include "svg/css/CSSRuleList.h"
#include "svg/css/CSSStyleDeclaration.h"
#include "svg/css/CSSStyleRule.h"
#include "svg/css/CSSStyleSheet.h"
#include "svg/css/SVGLength.h"
#include "svg/css/StyleSheetList.h"
#include "svg/dom/NodeList.h"
#include "svg/elements/SVGSVGElement.h"
#include "svg/elements/SVGTransformable.h"

namespace svg {

namespace {

foundation::Value orNull(const std::optional<std::string>& text) {
    return text ? foundation::Value(*text) : foundation::Value();
}

// The first class rule of the fragment's style sheets whose selector is
// exactly the class, or null. A rule that names the class decides the
// property, even when it lacks it.
std::shared_ptr<CSSStyleRule> classRule(const SVGSVGElement* root, const std::string& styleClass) {
    if (!root || !root->styleSheets()) return nullptr;
    for (const auto& entry : root->styleSheets()->internalArray()) {
        auto sheet = std::dynamic_pointer_cast<CSSStyleSheet>(entry);
        if (!sheet || !sheet->cssRules()) continue;
        if (auto styleRule = sheet->cssRules()->firstStyleRuleWithSelector(styleClass)) return styleRule;
    }
    return nullptr;
}

}  // namespace

SVGElement::SVGElement(std::string qualifiedName, std::optional<std::string> namespaceURI,
                       const AttributeDictionary& attributes)
    : Element(std::move(qualifiedName), std::move(namespaceURI), attributes) {}

SVGElement::SVGElement(std::string localName, const std::map<std::string, std::string>& attributes)
    : Element(std::move(localName), attributes) {}

const SVGElement::RareFields& SVGElement::rare() const {
    static const RareFields none;
    return rare_ ? *rare_ : none;
}

SVGElement::RareFields& SVGElement::rareForWriting() {
    if (!rare_) rare_ = std::make_unique<RareFields>();
    return *rare_;
}

void SVGElement::postProcessAttributesAddingErrorsTo(const SVGXParseResultPtr& parseResult) {
    if (std::string id = getAttribute("id"); !id.empty()) identifier_ = id;
    readPointOfInterestAttributes();
    // Unlike the others, these two count even when empty.
    if (hasAttribute("style")) {
        style_ = std::make_shared<CSSStyleDeclaration>();
        style_->setCssText(getAttribute("style"));
    }
    if (hasAttribute("class")) styleClassName_ = getAttribute("class");

    std::string transform = getAttribute("transform");
    std::string gradientTransform = getAttribute("gradientTransform");
    if (transform.empty() && gradientTransform.empty()) return;
    if (auto* transformable = dynamic_cast<SVGTransformable*>(this)) {
        applyTransformList(transform.empty() ? gradientTransform : transform, *transformable, parseResult);
    }
}

void SVGElement::setParentNode(const std::shared_ptr<Node>& parent) {
    Element::setParentNode(parent);
    std::shared_ptr<SVGElement> ancestor;
    for (auto node = parent; node && !ancestor; node = node->parentNode()) {
        ancestor = std::dynamic_pointer_cast<SVGElement>(node);
    }
    if (auto svg = std::dynamic_pointer_cast<SVGSVGElement>(ancestor)) {
        rootOfCurrentDocumentFragment_ = svg;
    } else {
        rootOfCurrentDocumentFragment_ = ancestor ? ancestor->rootOfCurrentDocumentFragment() : nullptr;
    }
    reCalculateAndSetViewportElementReferenceUsingFirstSVGAncestor(ancestor);
}

void SVGElement::reCalculateAndSetViewportElementReferenceUsingFirstSVGAncestor(
    const std::shared_ptr<SVGElement>& ancestor) {
    bool viewportTag = tagName() == "svg" || tagName() == "foreignObject";
    if (viewportTag && (!getAttribute("width").empty() || !getAttribute("height").empty())) {
        foundation::Log("[%@] WARNING: setting self (tag = %@) to be a viewport", className(), tagName());
        viewportElement_ = std::static_pointer_cast<SVGElement>(self());
        return;
    }
    if (!ancestor) {
        viewportElement_.reset();
        return;
    }
    auto ancestorViewport = ancestor->viewportElement();
    viewportElement_ = ancestorViewport ? ancestorViewport : ancestor;
}

std::optional<std::string> SVGElement::cascadedValueForStylableProperty(const std::string& name) const {
    // Enclosing groups are walked in a loop rather than by recursion, so a
    // deeply nested file costs no stack.
    std::shared_ptr<const SVGElement> keepAlive;
    const SVGElement* current = this;
    while (current) {
        if (current->hasAttribute(name)) return current->getAttribute(name);
        if (current->style_) {
            if (auto value = current->style_->getPropertyValue(name)) return value;
        }
        if (current->styleClassName_) {
            auto root = current->rootOfCurrentDocumentFragment();
            if (auto rule = classRule(root.get(), *current->styleClassName_)) {
                return rule->style() ? rule->style()->getPropertyValue(name) : std::nullopt;
            }
        }
        std::shared_ptr<SVGElement> enclosing;
        for (auto node = current->parentNode(); node && !enclosing; node = node->parentNode()) {
            auto candidate = std::dynamic_pointer_cast<SVGElement>(node);
            if (candidate && (candidate->isGroupForCascade() || std::dynamic_pointer_cast<SVGSVGElement>(candidate))) {
                enclosing = candidate;
            }
        }
        if (!enclosing || !enclosing->isGroupForCascade()) return std::nullopt;
        keepAlive = enclosing;
        current = enclosing.get();
    }
    return std::nullopt;
}

std::shared_ptr<SVGLength> SVGElement::getAttributeAsSVGLength(const std::string& name) const {
    return SVGLength::svgLengthFromNSString(getAttribute(name));
}

std::string SVGElement::description() const {
    return foundation::Format("<%@ %p | id=%@ | prefix:localName=%@:%@ | tagName=%@ | stringValue=%@ | children=%ld>",
                              className(), static_cast<const void*>(this), orNull(identifier_), orNull(prefix()),
                              orNull(localName()), tagName(), orNull(stringValue()), long(childNodes()->length()));
}

}  // namespace svg

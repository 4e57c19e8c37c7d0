// Defs and use. A use that names one of its own ancestors is resolved to
// nothing: drawing it would contain itself, and its instance tree would hold
// its own ancestor.
#include "svg/parser/SVGXParserDefsAndUse.h"

#include <vector>

#include "foundation/Log.h"
#include "svg/css/SVGLength.h"
#include "svg/dom/NodeList.h"
#include "svg/dom/SVGDocument.h"
#include "svg/elements/SVGDefsElement.h"
#include "svg/elements/SVGElementInstance.h"
#include "svg/elements/SVGUseElement.h"

namespace svg {

namespace {

bool isSelfOrAncestor(const std::shared_ptr<Node>& candidate, std::shared_ptr<Node> node) {
    for (; node; node = node->parentNode()) {
        if (node == candidate) return true;
    }
    return false;
}

}  // namespace

std::shared_ptr<Node> SVGXParserDefsAndUse::handleStartElement(const std::string& name,
                                                               const std::shared_ptr<SVGXSource>& /*document*/,
                                                               const std::optional<std::string>& prefix,
                                                               const std::optional<std::string>& namespaceURI,
                                                               const Element::AttributeDictionary& attributes,
                                                               const SVGXParseResultPtr& parseResult,
                                                               const std::shared_ptr<Node>& parentNode) {
    if (!namespaceURI || !supportedNamespaces().contains(*namespaceURI)) return nullptr;
    std::string qualified = qualifiedName(name, prefix);
    if (name == "defs") return std::make_shared<SVGDefsElement>(qualified, namespaceURI, attributes);
    if (name != "use") return nullptr;

    auto use = std::make_shared<SVGUseElement>(qualified, namespaceURI, attributes);
    use->postProcessAttributesAddingErrorsTo(parseResult);
    auto length = [&](const char* attribute) -> std::shared_ptr<SVGLength> {
        std::string text = use->getAttribute(attribute);
        return text.empty() ? nullptr : SVGLength::svgLengthFromNSString(text);
    };
    if (auto x = length("x")) use->setX(x);
    if (auto y = length("y")) use->setY(y);
    if (auto width = length("width")) use->setWidth(width);
    if (auto height = length("height")) use->setHeight(height);

    if (use->getAttributeNS(kXLinkNamespaceURI, "href").empty()) return use;
    std::string reference;
    if (auto found = attributes.find("xlink:href"); found != attributes.end() && found->second) {
        reference = found->second->value();
    }
    if (!reference.empty()) reference.erase(0, 1);
    std::shared_ptr<SVGElement> referenced;
    if (parseResult && parseResult->parsedDocument()) {
        referenced = std::dynamic_pointer_cast<SVGElement>(parseResult->parsedDocument()->getElementById(reference));
    }
    if (referenced && isSelfOrAncestor(referenced, parentNode)) {
        foundation::Log("[%@] WARNING: <use> refers to its own ancestor (id = %@); it draws nothing", className(),
                        reference);
        referenced.reset();
    }
    use->setInstanceRoot(convertSVGElementToElementInstanceTree(referenced, use));
    return use;
}

std::shared_ptr<SVGElementInstance> SVGXParserDefsAndUse::convertSVGElementToElementInstanceTree(
    const std::shared_ptr<SVGElement>& element, const std::shared_ptr<SVGUseElement>& outermostUseElement) {
    auto makeInstance = [&](const std::shared_ptr<SVGElement>& corresponding) {
        auto instance = std::make_shared<SVGElementInstance>();
        instance->setCorrespondingElement(corresponding);
        instance->setCorrespondingUseElement(outermostUseElement);
        return instance;
    };
    auto root = makeInstance(element);
    // Built level by level over an explicit list, so the depth of the
    // referenced subtree costs no stack; children keep their order.
    std::vector<std::shared_ptr<SVGElementInstance>> pending;
    if (element) pending.push_back(root);
    while (!pending.empty()) {
        auto instance = std::move(pending.back());
        pending.pop_back();
        for (const auto& child : instance->correspondingElement()->childNodes()->internalArray()) {
            auto childElement = std::dynamic_pointer_cast<SVGElement>(child);
            if (!childElement) continue;
            auto childInstance = makeInstance(childElement);
            childInstance->setParentNode(instance);
            pending.push_back(std::move(childInstance));
        }
    }
    return root;
}

}  // namespace svg

// The extension for "defs" and "use". A use element is resolved while the
// file is read: it can only refer to an element that started before it, and
// it gets the instance tree of that element (shared, not copied).
#pragma once

#include <memory>

#include "svg/parser/SVGXParserExtension.h"

namespace svg {

class SVGElement;
class SVGElementInstance;
class SVGUseElement;

class SVGXParserDefsAndUse : public SVGXParserExtension {
public:
    const std::set<std::string>& supportedNamespaces() const override {
        static const std::set<std::string> namespaces{kSVGNamespaceURI};
        return namespaces;
    }
    const std::set<std::string>& supportedTags() const override {
        static const std::set<std::string> tags{"defs", "use"};
        return tags;
    }

    std::shared_ptr<Node> handleStartElement(const std::string& name, const std::shared_ptr<SVGXSource>& document,
                                             const std::optional<std::string>& prefix,
                                             const std::optional<std::string>& namespaceURI,
                                             const Element::AttributeDictionary& attributes,
                                             const SVGXParseResultPtr& parseResult,
                                             const std::shared_ptr<Node>& parentNode) override;
    void handleEndElement(const std::shared_ptr<Node>& /*newNode*/, const std::shared_ptr<SVGXSource>& /*document*/,
                          const SVGXParseResultPtr& /*parseResult*/) override {}

    // An instance for the element (null allowed) and, below it, one for each
    // SVG element child, recursively.
    static std::shared_ptr<SVGElementInstance> convertSVGElementToElementInstanceTree(
        const std::shared_ptr<SVGElement>& element, const std::shared_ptr<SVGUseElement>& outermostUseElement);

    std::string className() const override { return "SVGXParserDefsAndUse"; }
};

}  // namespace svg

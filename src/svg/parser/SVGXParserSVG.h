// The extension for the SVG elements the library draws or reads: one tag
// table, local name to element class, shared by every instance for the life
// of the process. The first "svg" element of a file becomes the root of the
// SVG tree and of a new document; without it a file has no document.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "svg/elements/SVGElement.h"
#include "svg/parser/SVGXParserExtension.h"

namespace svg {

class SVGXParserSVG : public SVGXParserExtension {
public:
    using ElementFactory = std::function<std::shared_ptr<SVGElement>(
        const std::string& qualifiedName, const std::optional<std::string>& namespaceURI,
        const Element::AttributeDictionary& attributes)>;

    // Built on first use. The key is "description", not "desc": a "desc" tag
    // is left to the DOM fallback.
    static const std::map<std::string, ElementFactory>& tagTable();

    const std::set<std::string>& supportedNamespaces() const override;
    // The table's keys.
    const std::set<std::string>& supportedTags() const override;

    // The table's class (a plain SVGElement, with a log line, for a tag it
    // lacks) after its attribute step; null outside the SVG namespace.
    std::shared_ptr<Node> handleStartElement(const std::string& name, const std::shared_ptr<SVGXSource>& document,
                                             const std::optional<std::string>& prefix,
                                             const std::optional<std::string>& namespaceURI,
                                             const Element::AttributeDictionary& attributes,
                                             const SVGXParseResultPtr& parseResult,
                                             const std::shared_ptr<Node>& parentNode) override;
    void handleEndElement(const std::shared_ptr<Node>& /*newNode*/, const std::shared_ptr<SVGXSource>& /*document*/,
                          const SVGXParseResultPtr& /*parseResult*/) override {}

    std::string className() const override { return "SVGXParserSVG"; }
};

}  // namespace svg

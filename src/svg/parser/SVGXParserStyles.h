// The extension for "style" elements: the element stays in the tree as a
// plain DOM element, and when it closes its text becomes a style sheet of
// the document's root svg element, so a sheet applies to the whole file
// wherever it stands.
#pragma once

#include "svg/parser/SVGXParserExtension.h"

namespace svg {

class SVGXParserStyles : public SVGXParserExtension {
public:
    const std::set<std::string>& supportedNamespaces() const override {
        static const std::set<std::string> namespaces{kSVGNamespaceURI};
        return namespaces;
    }
    const std::set<std::string>& supportedTags() const override {
        static const std::set<std::string> tags{"style"};
        return tags;
    }

    std::shared_ptr<Node> handleStartElement(const std::string& name, const std::shared_ptr<SVGXSource>& document,
                                             const std::optional<std::string>& prefix,
                                             const std::optional<std::string>& namespaceURI,
                                             const Element::AttributeDictionary& attributes,
                                             const SVGXParseResultPtr& parseResult,
                                             const std::shared_ptr<Node>& parentNode) override;
    // Text (CDATA included) trimmed of white space; nothing when empty or
    // when the file has no document.
    void handleEndElement(const std::shared_ptr<Node>& newNode, const std::shared_ptr<SVGXSource>& document,
                          const SVGXParseResultPtr& parseResult) override;

    std::string className() const override { return "SVGXParserStyles"; }
};

}  // namespace svg

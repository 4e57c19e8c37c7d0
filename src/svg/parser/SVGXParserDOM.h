// The last resort: a plain DOM element, without attribute step, for every
// tag no other extension claims (unknown SVG tags, "desc", other namespaces,
// tags without a namespace).
#pragma once

#include "svg/parser/SVGXParserExtension.h"

namespace svg {

class SVGXParserDOM : public SVGXParserExtension {
public:
    // Both empty: chosen only as the fallback.
    const std::set<std::string>& supportedNamespaces() const override {
        static const std::set<std::string> none;
        return none;
    }
    const std::set<std::string>& supportedTags() const override { return supportedNamespaces(); }

    std::shared_ptr<Node> handleStartElement(const std::string& name,
                                             const std::shared_ptr<SVGXSource>& /*document*/,
                                             const std::optional<std::string>& prefix,
                                             const std::optional<std::string>& namespaceURI,
                                             const Element::AttributeDictionary& attributes,
                                             const SVGXParseResultPtr& /*parseResult*/,
                                             const std::shared_ptr<Node>& /*parentNode*/) override {
        return std::make_shared<Element>(qualifiedName(name, prefix), namespaceURI, attributes);
    }
    void handleEndElement(const std::shared_ptr<Node>& /*newNode*/, const std::shared_ptr<SVGXSource>& /*document*/,
                          const SVGXParseResultPtr& /*parseResult*/) override {}

    std::string className() const override { return "SVGXParserDOM"; }
};

}  // namespace svg

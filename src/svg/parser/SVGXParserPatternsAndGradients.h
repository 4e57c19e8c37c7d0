// The extension that claims "pattern" and makes nothing of it: the parser
// then passes over the pattern and everything inside it, so a pattern's
// template never appears on the floor plan.
#pragma once

#include "svg/parser/SVGXParserExtension.h"

namespace svg {

class SVGXParserPatternsAndGradients : public SVGXParserExtension {
public:
    const std::set<std::string>& supportedNamespaces() const override {
        static const std::set<std::string> namespaces{kSVGNamespaceURI};
        return namespaces;
    }
    const std::set<std::string>& supportedTags() const override {
        static const std::set<std::string> tags{"pattern"};
        return tags;
    }

    std::shared_ptr<Node> handleStartElement(const std::string& /*name*/,
                                             const std::shared_ptr<SVGXSource>& /*document*/,
                                             const std::optional<std::string>& /*prefix*/,
                                             const std::optional<std::string>& /*namespaceURI*/,
                                             const Element::AttributeDictionary& /*attributes*/,
                                             const SVGXParseResultPtr& /*parseResult*/,
                                             const std::shared_ptr<Node>& /*parentNode*/) override {
        return nullptr;
    }
    void handleEndElement(const std::shared_ptr<Node>& /*newNode*/, const std::shared_ptr<SVGXSource>& /*document*/,
                          const SVGXParseResultPtr& /*parseResult*/) override {}

    std::string className() const override { return "SVGXParserPatternsAndGradients"; }
};

}  // namespace svg

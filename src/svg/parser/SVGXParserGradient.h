// The extension for gradients and their stops. Every stop is handed to the
// gradient this extension made last, wherever the stop stands in the file,
// and gradient nodes are named by their local name even when written with a
// prefix.
#pragma once

#include <memory>

#include "svg/parser/SVGXParserSVG.h"

namespace svg {

class SVGGradientElement;

class SVGXParserGradient : public SVGXParserSVG {
public:
    // "linearGradient", "radialGradient" and "stop".
    const std::set<std::string>& supportedTags() const override;

    std::shared_ptr<Node> handleStartElement(const std::string& name, const std::shared_ptr<SVGXSource>& document,
                                             const std::optional<std::string>& prefix,
                                             const std::optional<std::string>& namespaceURI,
                                             const Element::AttributeDictionary& attributes,
                                             const SVGXParseResultPtr& parseResult,
                                             const std::shared_ptr<Node>& parentNode) override;

    std::string className() const override { return "SVGXParserGradient"; }

private:
    std::shared_ptr<SVGGradientElement> currentGradient_;
};

}  // namespace svg

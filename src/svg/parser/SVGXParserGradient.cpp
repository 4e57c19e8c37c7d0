// Gradients and stops: each after its attribute step, stops collected by the
// gradient seen last (none before the first gradient).
#include "svg/parser/SVGXParserGradient.h"

#include "svg/elements/SVGGradientElement.h"
#include "svg/elements/SVGGradientStop.h"

namespace svg {

const std::set<std::string>& SVGXParserGradient::supportedTags() const {
    static const std::set<std::string> tags{"linearGradient", "radialGradient", "stop"};
    return tags;
}

std::shared_ptr<Node> SVGXParserGradient::handleStartElement(const std::string& name,
                                                             const std::shared_ptr<SVGXSource>& /*document*/,
                                                             const std::optional<std::string>& /*prefix*/,
                                                             const std::optional<std::string>& namespaceURI,
                                                             const Element::AttributeDictionary& attributes,
                                                             const SVGXParseResultPtr& parseResult,
                                                             const std::shared_ptr<Node>& /*parentNode*/) {
    if (name.find("Gradient") != std::string::npos) {
        auto gradient = std::make_shared<SVGGradientElement>(name, namespaceURI, attributes);
        currentGradient_ = gradient;
        gradient->postProcessAttributesAddingErrorsTo(parseResult);
        return gradient;
    }
    if (name == "stop") {
        auto stop = std::make_shared<SVGGradientStop>(name, namespaceURI, attributes);
        stop->postProcessAttributesAddingErrorsTo(parseResult);
        if (currentGradient_) currentGradient_->addStop(stop);
        return stop;
    }
    return nullptr;
}

}  // namespace svg

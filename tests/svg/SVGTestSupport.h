// Hand-built SVG trees for the tests: elements made as the parser makes them
// (attributes in the SVG namespace, then the attribute step), and the layer
// tree built from them the way the image builds it.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "svg/dom/NodeList.h"
#include "svg/elements/SVGElement.h"
#include "svg/layers/ConverterSVGToCALayer.h"

namespace svg::testing {

inline const std::string kSVGNamespace = "http://www.w3.org/2000/svg";

template <class T>
std::shared_ptr<T> make(const std::string& name, const std::map<std::string, std::string>& attributes = {}) {
    Element::AttributeDictionary dictionary;
    for (const auto& [key, value] : attributes) dictionary[key] = std::make_shared<Attr>(kSVGNamespace, key, value);
    auto element = std::make_shared<T>(name, kSVGNamespace, dictionary);
    element->postProcessAttributesAddingErrorsTo(std::make_shared<SVGXParseResult>());
    return element;
}

// The element's layer with its children's layers below it, laid out; null
// when the element draws nothing.
inline graphics::LayerPtr newLayerTree(const std::shared_ptr<Node>& node) {
    const auto* converter = dynamic_cast<const ConverterSVGToCALayer*>(node.get());
    if (!converter) return nullptr;
    auto layer = converter->newLayer();
    if (!layer || node->childNodes()->length() == 0) return layer;
    for (const auto& child : node->childNodes()->internalArray()) {
        if (auto sublayer = newLayerTree(child)) layer->addSublayer(sublayer);
    }
    converter->layoutLayer(layer);
    return layer;
}

}  // namespace svg::testing

// The SVG tag table and the element step, with the root rules: only an svg
// element with no parent starts a document, and a nested svg never takes
// over as the root of the SVG tree.
#include "svg/parser/SVGXParserSVG.h"

#include "foundation/Log.h"
#include "svg/dom/SVGDocument.h"
#include "svg/elements/SVGCircleElement.h"
#include "svg/elements/SVGDescriptionElement.h"
#include "svg/elements/SVGEllipseElement.h"
#include "svg/elements/SVGGElement.h"
#include "svg/elements/SVGImageElement.h"
#include "svg/elements/SVGLineElement.h"
#include "svg/elements/SVGPathElement.h"
#include "svg/elements/SVGPolygonElement.h"
#include "svg/elements/SVGPolylineElement.h"
#include "svg/elements/SVGRectElement.h"
#include "svg/elements/SVGSVGElement.h"
#include "svg/elements/SVGTextElement.h"
#include "svg/elements/SVGTitleElement.h"
#include "svg/floorplan/SVGBeaconElement.h"
#include "svg/floorplan/SVGEdgeElement.h"
#include "svg/floorplan/SVGRoomBeaconProximityElement.h"
#include "svg/sources/SVGXSource.h"

namespace svg {

namespace {

template <class T>
SVGXParserSVG::ElementFactory factory() {
    return [](const std::string& qualifiedName, const std::optional<std::string>& namespaceURI,
              const Element::AttributeDictionary& attributes) -> std::shared_ptr<SVGElement> {
        return std::make_shared<T>(qualifiedName, namespaceURI, attributes);
    };
}

}  // namespace

const std::map<std::string, SVGXParserSVG::ElementFactory>& SVGXParserSVG::tagTable() {
    static const std::map<std::string, ElementFactory> table{
        {"svg", factory<SVGSVGElement>()},
        {"circle", factory<SVGCircleElement>()},
        {"description", factory<SVGDescriptionElement>()},
        {"ellipse", factory<SVGEllipseElement>()},
        {"g", factory<SVGGElement>()},
        {"image", factory<SVGImageElement>()},
        {"line", factory<SVGLineElement>()},
        {"path", factory<SVGPathElement>()},
        {"polygon", factory<SVGPolygonElement>()},
        {"polyline", factory<SVGPolylineElement>()},
        {"rect", factory<SVGRectElement>()},
        {"title", factory<SVGTitleElement>()},
        {"text", factory<SVGTextElement>()},
        {"beacon", factory<SVGBeaconElement>()},
        {"edge", factory<SVGEdgeElement>()},
        {"roomBeaconProximity", factory<SVGRoomBeaconProximityElement>()},
    };
    return table;
}

const std::set<std::string>& SVGXParserSVG::supportedNamespaces() const {
    static const std::set<std::string> namespaces{kSVGNamespaceURI};
    return namespaces;
}

const std::set<std::string>& SVGXParserSVG::supportedTags() const {
    static const std::set<std::string> tags = [] {
        std::set<std::string> keys;
        for (const auto& entry : tagTable()) keys.insert(entry.first);
        return keys;
    }();
    return tags;
}

std::shared_ptr<Node> SVGXParserSVG::handleStartElement(const std::string& name,
                                                        const std::shared_ptr<SVGXSource>& document,
                                                        const std::optional<std::string>& prefix,
                                                        const std::optional<std::string>& namespaceURI,
                                                        const Element::AttributeDictionary& attributes,
                                                        const SVGXParseResultPtr& parseResult,
                                                        const std::shared_ptr<Node>& parentNode) {
    if (!namespaceURI || !SVGXParserSVG::supportedNamespaces().contains(*namespaceURI)) return nullptr;

    std::string qualifiedName = SVGXParserExtension::qualifiedName(name, prefix);
    std::shared_ptr<SVGElement> element;
    if (auto entry = tagTable().find(name); entry != tagTable().end()) {
        element = entry->second(qualifiedName, namespaceURI, attributes);
    } else {
        foundation::Log("Support for '%@' element has not been implemented", name);
        element = std::make_shared<SVGElement>(qualifiedName, namespaceURI, attributes);
    }
    element->postProcessAttributesAddingErrorsTo(parseResult);

    auto svg = std::dynamic_pointer_cast<SVGSVGElement>(element);
    if (name != "svg" || !svg || !parseResult) return element;
    if (parentNode && parseResult->rootOfSVGTree()) return element;
    parseResult->setRootOfSVGTree(svg);
    if (std::string version = svg->getAttribute("version"); !version.empty() && document) {
        document->setSvgLanguageVersion(version);
    }
    if (!parentNode) {
        auto svgDocument = std::make_shared<SVGDocument>();
        svgDocument->setRootElement(svg);
        parseResult->setParsedDocument(svgDocument);
    }
    return element;
}

}  // namespace svg

// Style elements and the file's style sheets.
#include "svg/parser/SVGXParserStyles.h"

#include "svg/css/CSSStyleSheet.h"
#include "svg/css/StyleSheetList.h"
#include "svg/dom/SVGDocument.h"
#include "svg/elements/SVGSVGElement.h"

namespace svg {

std::shared_ptr<Node> SVGXParserStyles::handleStartElement(const std::string& name,
                                                           const std::shared_ptr<SVGXSource>& /*document*/,
                                                           const std::optional<std::string>& prefix,
                                                           const std::optional<std::string>& namespaceURI,
                                                           const Element::AttributeDictionary& attributes,
                                                           const SVGXParseResultPtr& /*parseResult*/,
                                                           const std::shared_ptr<Node>& /*parentNode*/) {
    if (!namespaceURI || !supportedNamespaces().contains(*namespaceURI)) return nullptr;
    return std::make_shared<Element>(qualifiedName(name, prefix), namespaceURI, attributes);
}

void SVGXParserStyles::handleEndElement(const std::shared_ptr<Node>& newNode,
                                        const std::shared_ptr<SVGXSource>& /*document*/,
                                        const SVGXParseResultPtr& parseResult) {
    if (!newNode || !parseResult || !parseResult->parsedDocument()) return;
    std::string text = newNode->textContent().value_or("");
    constexpr const char* kBlanks = " \t\r\n";
    size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string::npos) return;
    text = text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
    auto root = std::dynamic_pointer_cast<SVGSVGElement>(parseResult->parsedDocument()->rootElement());
    if (!root || !root->styleSheets()) return;
    root->styleSheets()->internalArray().push_back(std::make_shared<CSSStyleSheet>(text));
}

}  // namespace svg

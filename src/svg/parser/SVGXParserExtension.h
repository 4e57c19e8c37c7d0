// What the parser asks of a parser extension: the namespaces and tags it
// serves, a node for each start tag it is chosen for, and a word when that
// element's end tag is read. The parser itself knows no element types; the
// extensions decide what every tag becomes.
#pragma once

#include <memory>
#include <optional>
#include <set>
#include <string>

#include "foundation/Object.h"
#include "svg/dom/Element.h"
#include "svg/parser/SVGXParseResult.h"

namespace svg {

class SVGXSource;

// Compared as exact strings.
inline constexpr const char* kSVGNamespaceURI = "http://www.w3.org/2000/svg";
inline constexpr const char* kXLinkNamespaceURI = "http://www.w3.org/1999/xlink";

class SVGXParserExtension : public foundation::Object {
public:
    // Empty: none. An extension serving no namespace is the parser's last
    // resort for tags nobody else claims.
    virtual const std::set<std::string>& supportedNamespaces() const = 0;
    // Empty: none. An extension listing a namespace but no tags is the
    // fallback for that namespace.
    virtual const std::set<std::string>& supportedTags() const = 0;

    // The node for the tag, or null when the extension makes none; the parser
    // appends it to the parent. Attributes are keyed by qualified name.
    virtual std::shared_ptr<Node> handleStartElement(const std::string& name,
                                                     const std::shared_ptr<SVGXSource>& document,
                                                     const std::optional<std::string>& prefix,
                                                     const std::optional<std::string>& namespaceURI,
                                                     const Element::AttributeDictionary& attributes,
                                                     const SVGXParseResultPtr& parseResult,
                                                     const std::shared_ptr<Node>& parentNode) = 0;
    // The node this extension made, once its children and text are in.
    virtual void handleEndElement(const std::shared_ptr<Node>& newNode, const std::shared_ptr<SVGXSource>& document,
                                  const SVGXParseResultPtr& parseResult) = 0;

    // The name a node gets: "prefix:localName", or the local name alone.
    static std::string qualifiedName(const std::string& localName, const std::optional<std::string>& prefix) {
        return prefix && !prefix->empty() ? *prefix + ":" + localName : localName;
    }
};

using SVGXParserExtensionPtr = std::shared_ptr<SVGXParserExtension>;

}  // namespace svg

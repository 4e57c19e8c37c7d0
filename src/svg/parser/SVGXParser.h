// The parser driver: reads a source through libxml2's SAX2 push parser in
// fixed-size chunks and builds the document tree by handing every tag to one
// of its extensions. A parse is synchronous on the caller's thread and never
// throws; whatever goes wrong ends up in the SVGXParseResult it returns.
//
// libxml2 reaches the parser through the context's user data, so parses on
// different threads are independent. One parser serves one source; a new
// run on the same parser starts from an empty tree.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Object.h"
#include "svg/dom/Attr.h"
#include "svg/dom/Element.h"
#include "svg/parser/SVGXParseResult.h"
#include "svg/parser/SVGXParserExtension.h"

namespace svg {

class SVGXSource;

class SVGXParser : public foundation::Object {
public:
    // The bytes handed to libxml2 at a time.
    static constexpr size_t kChunkSize = 10240;

    explicit SVGXParser(std::shared_ptr<SVGXSource> source);
    ~SVGXParser() override;

    // A parser with the default extensions, run once on the source.
    static SVGXParseResultPtr parseSourceUsingDefaultSVGXParser(const std::shared_ptr<SVGXSource>& source);

    // The SVG tags, gradients, patterns, style sheets, defs and use, and the
    // plain DOM fallback, in that order: the first to claim a tag wins.
    void addDefaultSVGParserExtensions();
    // The same extension object twice is refused with a warning.
    void addParserExtension(const SVGXParserExtensionPtr& extension);

    SVGXParseResultPtr parseSynchronously();

    // The tree-building steps the SAX callbacks drive; public so that a tree
    // can be built without XML.
    void handleStartElement(const std::string& name, const std::optional<std::string>& prefix,
                            const std::optional<std::string>& namespaceURI,
                            const Element::AttributeDictionary& attributeObjects);
    void handleEndElement(const std::string& name);
    void handleFoundCharacters(const char* characters, size_t length);

    // A CSS declaration list ("a: b; c: d") as property name to attribute,
    // each in the argument's namespace. Blanks, tabs and line feeds are
    // dropped everywhere, values included; a trailing ";" or an empty
    // declaration gives an entry with empty name and value; a later
    // declaration of a name replaces an earlier one. A null argument gives
    // an empty dictionary.
    static std::map<std::string, AttrPtr> NSDictionaryFromCSSAttributes(const AttrPtr& cssAttribute);

    const std::shared_ptr<SVGXSource>& source() const { return source_; }
    const SVGXParseResultPtr& currentParseRun() const { return currentParseRun_; }
    const std::optional<std::string>& defaultXMLNamespaceForThisParseRun() const { return defaultXMLNamespace_; }
    const std::vector<SVGXParserExtensionPtr>& parserExtensions() const { return parserExtensions_; }
    // Namespace URI to the extensions listing it, in registration order.
    const std::map<std::string, std::vector<SVGXParserExtensionPtr>>& parserKnownNamespaces() const {
        return parserKnownNamespaces_;
    }

    std::string className() const override { return "SVGXParser"; }

private:
    friend struct SVGXParserSAX;

    // One open element: the extension chosen for it, the node it made and
    // the parent to return to when it closes.
    struct OpenElement {
        SVGXParserExtension* extension;
        std::shared_ptr<Node> node;
        std::shared_ptr<Node> parentToRestore;
    };

    SVGXParserExtension* extensionForTag(const std::string& name, const std::optional<std::string>& namespaceURI);
    void flushStoredCharactersInto(const std::shared_ptr<Node>& node);

    std::string storedChars_;
    std::vector<OpenElement> stackOfParserExtensions_;
    std::shared_ptr<Node> parentOfCurrentNode_;
    // Levels of an element subtree being passed over (its extension made no
    // node), counting the element itself.
    size_t skippedDepth_ = 0;
    bool sawFirstElement_ = false;
    std::shared_ptr<SVGXSource> source_;
    SVGXParseResultPtr currentParseRun_;
    std::optional<std::string> defaultXMLNamespace_;
    std::vector<SVGXParserExtensionPtr> parserExtensions_;
    std::map<std::string, std::vector<SVGXParserExtensionPtr>> parserKnownNamespaces_;
};

using SVGXParserPtr = std::shared_ptr<SVGXParser>;

}  // namespace svg

// The parser driver over libxml2's SAX2 push parser, and the declaration-list
// reader the gradient stops use.
//
// Tree invariants kept across the callbacks: every start tag pushes exactly
// one entry (an open element, or one level of a skipped subtree) and every
// end tag pops one, so the parent is always the innermost open element that
// has a node; only the first element of the file can become the document's
// root. libxml2 checks that tags match, so an unmatched end tag never arrives.
#include "svg/parser/SVGXParser.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include <cstdarg>
#include <cstdio>
#include <mutex>

#include "foundation/Log.h"
#include "foundation/StringUtils.h"
#include "svg/dom/Document.h"
#include "svg/dom/NodeList.h"
#include "svg/dom/SVGDocument.h"
#include "svg/dom/Text.h"
#include "svg/parser/SVGXParserDOM.h"
#include "svg/parser/SVGXParserDefsAndUse.h"
#include "svg/parser/SVGXParserGradient.h"
#include "svg/parser/SVGXParserPatternsAndGradients.h"
#include "svg/parser/SVGXParserSVG.h"
#include "svg/parser/SVGXParserStyles.h"
#include "svg/sources/SVGXSource.h"

namespace svg {

namespace {

inline constexpr const char* kSAXErrorDomain = "SVG-SAX";

std::optional<std::string> optionalString(const xmlChar* text) {
    if (!text) return std::nullopt;
    return std::string(reinterpret_cast<const char*>(text));
}

// libxml2 ends its messages with a line feed; the log adds its own.
std::string messageText(const char* message) {
    std::string text = message ? message : "";
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

// Errors libxml2 raises outside the parser context (input that fails to
// decode, for one) go to the thread's own handler; for the length of a parse
// that is this parser's, so they land in its result instead of on stderr.
class ThreadErrorHandlerScope {
public:
    ThreadErrorHandlerScope(void* context, xmlStructuredErrorFunc handler)
        : previousHandler_(xmlStructuredError), previousContext_(xmlStructuredErrorContext) {
        xmlSetStructuredErrorFunc(context, handler);
    }
    ~ThreadErrorHandlerScope() { xmlSetStructuredErrorFunc(previousContext_, previousHandler_); }
    ThreadErrorHandlerScope(const ThreadErrorHandlerScope&) = delete;
    ThreadErrorHandlerScope& operator=(const ThreadErrorHandlerScope&) = delete;

private:
    xmlStructuredErrorFunc previousHandler_;
    void* previousContext_;
};

// Appends a node that belongs to no parent yet without the search for it
// among the children that appendChild makes, which would make a wide group
// cost quadratic time.
void appendNewChild(const std::shared_ptr<Node>& parent, const std::shared_ptr<Node>& child) {
    if (child->parentNode()) {
        parent->appendChild(child);
        return;
    }
    parent->childArray().push_back(child);
    child->setParentNode(parent);
}

// Without entity substitution libxml2 hands over an attribute value with
// every ampersand the file escaped (as "&amp;" or "&#38;") written back as
// "&#38;", so that it cannot be mistaken for the start of an entity
// reference. Turned back into "&" here, once, left to right: "&amp;#38;" in
// the file comes out as "&#38;". References to other entities stay as
// written, since entities are never expanded.
void decodeEscapedAmpersands(std::string& value) {
    if (value.find("&#38;") != std::string::npos) value = foundation::StringUtils::replace(value, "&#38;", "&");
}

}  // namespace

// The SAX2 callbacks: each finds its parser in the user data libxml2 hands
// back, which is the parser running this context.
struct SVGXParserSAX {
    static SVGXParser& parser(void* userData) { return *static_cast<SVGXParser*>(userData); }

    static void startElement(void* userData, const xmlChar* localname, const xmlChar* prefix, const xmlChar* URI,
                             int namespaceCount, const xmlChar** namespaces, int attributeCount,
                             int /*defaultedCount*/, const xmlChar** attributes) {
        SVGXParser& self = parser(userData);
        std::string name = optionalString(localname).value_or("");
        std::optional<std::string> tagPrefix = optionalString(prefix);
        std::optional<std::string> tagURI = optionalString(URI);

        std::map<std::string, std::string> declarations;
        for (int i = 0; i < namespaceCount; ++i) {
            declarations[optionalString(namespaces[2 * i]).value_or("")] =
                optionalString(namespaces[2 * i + 1]).value_or("");
        }
        if (!self.defaultXMLNamespace_) {
            auto found = declarations.find("");
            if (found != declarations.end()) self.defaultXMLNamespace_ = found->second;
        }
        if (!tagURI) tagURI = self.defaultXMLNamespace_;

        Element::AttributeDictionary attributeObjects;
        for (int i = 0; i < attributeCount; ++i) {
            const xmlChar** attribute = attributes + 5 * i;
            std::string localName = optionalString(attribute[0]).value_or("");
            std::optional<std::string> attributePrefix = optionalString(attribute[1]);
            std::optional<std::string> attributeURI = optionalString(attribute[2]);
            if (!attributeURI) attributeURI = self.defaultXMLNamespace_;
            std::string value;
            if (attribute[3] && attribute[4] && attribute[4] > attribute[3]) {
                value.assign(reinterpret_cast<const char*>(attribute[3]), size_t(attribute[4] - attribute[3]));
                decodeEscapedAmpersands(value);
            }
            std::string qualified = SVGXParserExtension::qualifiedName(localName, attributePrefix);
            attributeObjects[qualified] = std::make_shared<Attr>(attributeURI, qualified, std::move(value));
        }

        for (const auto& [declaredPrefix, declaredURI] : declarations) {
            self.currentParseRun_->namespacesEncountered()[declaredPrefix] = declaredURI;
        }
        if (!tagPrefix && !tagURI) {
            foundation::Log("[%@] WARNING: Your input SVG contains tags that have no namespace, and your document "
                            "doesn't define a default namespace. This is always incorrect - it means some of your "
                            "SVG data will be ignored, and usually means you have a typo in there somewhere. Tag "
                            "with no namespace: <%@>",
                            self.className(), name);
        }
        self.handleStartElement(name, tagPrefix, tagURI, attributeObjects);
    }

    static void endElement(void* userData, const xmlChar* localname, const xmlChar* /*prefix*/,
                           const xmlChar* /*URI*/) {
        parser(userData).handleEndElement(optionalString(localname).value_or(""));
    }

    static void characters(void* userData, const xmlChar* characters, int length) {
        if (length <= 0) return;
        parser(userData).handleFoundCharacters(reinterpret_cast<const char*>(characters), size_t(length));
    }

    static void structuredError(void* userData, xmlErrorPtr error) {
        if (!userData || !error) return;
        SVGXParser& self = parser(userData);
        foundation::Value::Dictionary userInfo{
            {foundation::kLocalizedDescriptionKey, foundation::Value(messageText(error->message))},
            {"lineNumber", foundation::Value(int64_t(error->line))},
            {"columnNumber", foundation::Value(int64_t(error->int2))},
        };
        if (error->str1) userInfo["bonusInfo1"] = foundation::Value(std::string(error->str1));
        if (error->str2) userInfo["bonusInfo2"] = foundation::Value(std::string(error->str2));
        if (error->str3) userInfo["bonusInfo3"] = foundation::Value(std::string(error->str3));
        auto recorded = foundation::Error::make(std::to_string(error->domain), error->code, std::move(userInfo));
        switch (error->level) {
            case XML_ERR_FATAL: self.currentParseRun_->addParseErrorFatal(recorded); break;
            case XML_ERR_ERROR: self.currentParseRun_->addParseErrorRecoverable(recorded); break;
            case XML_ERR_WARNING: self.currentParseRun_->addParseWarning(recorded); break;
            case XML_ERR_NONE: break;
        }
    }

    // Only reached when libxml2 reports without the structured callback.
    static void genericError(void* userData, const char* format, ...) {
        if (!userData || !format) return;
        char buffer[1024];
        va_list arguments;
        va_start(arguments, format);
        std::vsnprintf(buffer, sizeof buffer, format, arguments);
        va_end(arguments);
        std::string message = messageText(buffer);
        foundation::Log("Error encountered during parse: %s", message);
        parser(userData).currentParseRun_->addSAXError(
            foundation::Error::withDescription(kSAXErrorDomain, 1, message));
    }

    static xmlSAXHandler handler() {
        xmlSAXHandler handler{};
        handler.initialized = XML_SAX2_MAGIC;
        handler.characters = characters;
        handler.cdataBlock = characters;
        handler.error = genericError;
        handler.startElementNs = startElement;
        handler.endElementNs = endElement;
        handler.serror = structuredError;
        return handler;
    }
};

SVGXParser::SVGXParser(std::shared_ptr<SVGXSource> source) : source_(std::move(source)) {}

SVGXParser::~SVGXParser() = default;

SVGXParseResultPtr SVGXParser::parseSourceUsingDefaultSVGXParser(const std::shared_ptr<SVGXSource>& source) {
    SVGXParser parser(source);
    parser.addDefaultSVGParserExtensions();
    return parser.parseSynchronously();
}

void SVGXParser::addDefaultSVGParserExtensions() {
    addParserExtension(std::make_shared<SVGXParserSVG>());
    addParserExtension(std::make_shared<SVGXParserGradient>());
    addParserExtension(std::make_shared<SVGXParserPatternsAndGradients>());
    addParserExtension(std::make_shared<SVGXParserStyles>());
    addParserExtension(std::make_shared<SVGXParserDefsAndUse>());
    addParserExtension(std::make_shared<SVGXParserDOM>());
}

void SVGXParser::addParserExtension(const SVGXParserExtensionPtr& extension) {
    if (!extension) return;
    for (const auto& known : parserExtensions_) {
        if (known == extension) {
            foundation::Log("[%@] WARNING: attempted to add a ParserExtension that was already added = %@",
                            className(), extension);
            return;
        }
    }
    parserExtensions_.push_back(extension);
    for (const auto& uri : extension->supportedNamespaces()) parserKnownNamespaces_[uri].push_back(extension);
}

SVGXParseResultPtr SVGXParser::parseSynchronously() {
    currentParseRun_ = std::make_shared<SVGXParseResult>();
    parentOfCurrentNode_.reset();
    stackOfParserExtensions_.clear();
    storedChars_.clear();
    skippedDepth_ = 0;
    sawFirstElement_ = false;
    defaultXMLNamespace_.reset();
    auto result = currentParseRun_;

    auto stream = source_ ? source_->stream() : nullptr;
    if (!stream) return result;
    // A stream over no bytes is at its end from the start: an empty document,
    // for libxml2 to report like any other.
    auto status = stream->streamStatus();
    if (status != foundation::StreamStatus::Open && status != foundation::StreamStatus::AtEnd) {
        if (status == foundation::StreamStatus::Error) result->addSourceError(stream->streamError());
        stream->close();
        return result;
    }

    static std::once_flag libxmlInitialised;
    std::call_once(libxmlInitialised, [] { xmlInitParser(); });
    ThreadErrorHandlerScope threadErrors(this, SVGXParserSAX::structuredError);
    xmlSAXHandler handler = SVGXParserSAX::handler();
    xmlParserCtxtPtr context = xmlCreatePushParserCtxt(&handler, this, nullptr, 0, nullptr);
    if (!context) {
        stream->close();
        result->addParseErrorFatal(
            foundation::Error::withDescription(kSAXErrorDomain, 1, "could not create an XML parser"));
        return result;
    }

    std::vector<uint8_t> buffer(kChunkSize);
    long count = stream->read(buffer.data(), buffer.size());
    int code = 0;
    bool stoppedOnFatalErrors = false;
    while (count > 0) {
        code = xmlParseChunk(context, reinterpret_cast<const char*>(buffer.data()), int(count), 0);
        if (!result->errorsFatal().empty()) {
            stoppedOnFatalErrors = true;
            break;
        }
        count = stream->read(buffer.data(), buffer.size());
    }
    if (stoppedOnFatalErrors) {
        if (code <= 0) {
            foundation::Log("[%@] SVG parser generated one or more FATAL errors (not the XML parser), errors follow:",
                            className());
            for (const auto& error : result->errorsFatal()) {
                foundation::Log("[%@] ... FATAL ERRRO in SVG parse: %@", className(), error);
            }
        } else {
            foundation::Log("[%@] libXml reported internal parser error with magic libxml code = %i (look this up on "
                            "http://xmlsoft.org/html/libxml-xmlerror.html#xmlParserErrors)",
                            className(), code);
            result->setLibXMLFailed(true);
        }
    }
    stream->close();
    if (!result->libXMLFailed()) xmlParseChunk(context, nullptr, 0, 1);
    // A file that declares entities makes libxml2 keep them in a document of
    // its own even for a SAX parse; they are never expanded, and the
    // document is not freed with the context.
    if (context->myDoc) {
        xmlFreeDoc(context->myDoc);
        context->myDoc = nullptr;
    }
    xmlFreeParserCtxt(context);

    // What a truncated file left open stays in the tree; the parser lets go.
    parentOfCurrentNode_.reset();
    stackOfParserExtensions_.clear();
    storedChars_.clear();
    return result;
}

SVGXParserExtension* SVGXParser::extensionForTag(const std::string& name,
                                                 const std::optional<std::string>& namespaceURI) {
    SVGXParserExtension* domFallback = nullptr;
    SVGXParserExtension* namespaceFallback = nullptr;
    for (const auto& extension : parserExtensions_) {
        const auto& namespaces = extension->supportedNamespaces();
        if (namespaces.empty()) {
            domFallback = extension.get();
            continue;
        }
        if (!namespaceURI || !namespaces.contains(*namespaceURI)) continue;
        const auto& tags = extension->supportedTags();
        if (tags.empty()) {
            namespaceFallback = extension.get();
        } else if (tags.contains(name)) {
            return extension.get();
        }
    }
    SVGXParserExtension* fallback = namespaceFallback ? namespaceFallback : domFallback;
    foundation::Log("[%@] WARN: found a tag with no namespace parser: (</%@>), using default parser(%@)", className(),
                    name, fallback ? fallback->description() : std::string("(null)"));
    return fallback;
}

void SVGXParser::flushStoredCharactersInto(const std::shared_ptr<Node>& node) {
    if (!node || storedChars_.empty()) return;
    appendNewChild(node, std::make_shared<Text>(std::move(storedChars_)));
    storedChars_.clear();
}

void SVGXParser::handleStartElement(const std::string& name, const std::optional<std::string>& prefix,
                                    const std::optional<std::string>& namespaceURI,
                                    const Element::AttributeDictionary& attributeObjects) {
    if (skippedDepth_ > 0) {
        ++skippedDepth_;
        return;
    }
    // Only the first element may start the tree; anything after the root has
    // closed is passed over whole.
    bool isFirstElement = !sawFirstElement_;
    sawFirstElement_ = true;
    if (!isFirstElement && !parentOfCurrentNode_) {
        skippedDepth_ = 1;
        return;
    }
    flushStoredCharactersInto(parentOfCurrentNode_);

    SVGXParserExtension* extension = extensionForTag(name, namespaceURI);
    std::shared_ptr<Node> node;
    if (extension) {
        node = extension->handleStartElement(name, source_, prefix, namespaceURI, attributeObjects, currentParseRun_,
                                             parentOfCurrentNode_);
    }
    // No node (a pattern, say): the element and everything inside it are
    // passed over, and the parent stays where it was.
    if (!node) {
        skippedDepth_ = 1;
        return;
    }
    stackOfParserExtensions_.push_back({extension, node, parentOfCurrentNode_});
    if (parentOfCurrentNode_) {
        appendNewChild(parentOfCurrentNode_, node);
    } else if (auto document = currentParseRun_->parsedDocument()) {
        if (auto element = std::dynamic_pointer_cast<Element>(node)) document->setRootElement(element);
    }
    parentOfCurrentNode_ = node;
}

void SVGXParser::handleEndElement(const std::string& /*name*/) {
    if (skippedDepth_ > 0) {
        --skippedDepth_;
        return;
    }
    if (stackOfParserExtensions_.empty()) return;
    OpenElement closing = std::move(stackOfParserExtensions_.back());
    stackOfParserExtensions_.pop_back();
    flushStoredCharactersInto(closing.node);
    closing.extension->handleEndElement(closing.node, source_, currentParseRun_);
    parentOfCurrentNode_ = closing.parentToRestore;
}

void SVGXParser::handleFoundCharacters(const char* characters, size_t length) {
    if (skippedDepth_ > 0 || !characters) return;
    storedChars_.append(characters, length);
}

std::map<std::string, AttrPtr> SVGXParser::NSDictionaryFromCSSAttributes(const AttrPtr& cssAttribute) {
    std::map<std::string, AttrPtr> dictionary;
    if (!cssAttribute) {
        foundation::Log("[%@] WARNING: asked to convert an empty CSS string into a CSS dictionary; returning empty "
                        "dictionary",
                        "SVGXParser");
        return dictionary;
    }
    const std::optional<std::string>& namespaceURI = cssAttribute->namespaceURI();
    std::string text = cssAttribute->value();
    std::string name, value;
    bool readingName = true;
    auto store = [&] {
        dictionary[name] = std::make_shared<Attr>(namespaceURI, name, value);
        name.clear();
        value.clear();
        readingName = true;
    };
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n') continue;
        if (c == ';') {
            store();
        } else if (c == ':' && readingName) {
            readingName = false;
        } else {
            (readingName ? name : value).push_back(c);
        }
    }
    store();
    return dictionary;
}

}  // namespace svg

// The XML reader over libxml2's SAX2 interface. libxml2's own SAX2 handlers
// keep the document type (entity declarations) in a bare document that is
// thrown away afterwards; the content callbacks are ours. What could reach
// outside the bytes is switched off twice: by options (no network, no DTD
// loading, no entity substitution) and by handlers that resolve nothing.
// Errors below "fatal" (namespace and validity complaints) do not stop the
// walk, as a reader without validation would not see them.
#include "foundation/XMLParser.h"

#include <libxml/SAX2.h>
#include <libxml/entities.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/xmlerror.h>

#include <climits>
#include <cstring>
#include <mutex>

#include "foundation/Exception.h"

namespace foundation {

namespace {

// Look-ups of declared entities (the predefined ones do not count) beyond
// which a document counts as an entity bomb.
constexpr uint64_t kEntityLookupLimit = 10000;
constexpr int kSafeOptions = XML_PARSE_NONET | XML_PARSE_NOWARNING | XML_PARSE_NOERROR;

std::string text(const xmlChar* s) {
    return s ? std::string(reinterpret_cast<const char*>(s)) : std::string();
}

std::string qualified(const xmlChar* prefix, const xmlChar* local) {
    return prefix ? text(prefix) + ":" + text(local) : text(local);
}

ErrorPtr parseError(int64_t code, const std::string& message, int64_t line, int64_t column) {
    return Error::make(kXMLParserErrorDomain, code,
                       {{kLocalizedDescriptionKey, Value(message)},
                        {"NSXMLParserErrorMessage", Value(message)},
                        {"NSXMLParserErrorLineNumber", Value(line)},
                        {"NSXMLParserErrorColumn", Value(column)}});
}

}  // namespace

struct XMLParserCallbacks {
    static xmlParserCtxtPtr contextOf(void* ctx) { return static_cast<xmlParserCtxtPtr>(ctx); }
    static XMLParser& parserOf(void* ctx) { return *static_cast<XMLParser*>(contextOf(ctx)->_private); }

    // Runs a delegate call unless the parse is over; an exception stops it.
    template <class F>
    static void call(void* ctx, F&& f) {
        XMLParser& p = parserOf(ctx);
        if (!p.active_ || p.aborted_ || p.thrown_ || p.error_) return;
        try {
            f(p, *p.active_);
        } catch (...) {
            p.thrown_ = std::current_exception();
            halt(contextOf(ctx));
            if (p.context_ && p.context_ != ctx) halt(static_cast<xmlParserCtxtPtr>(p.context_));
        }
    }

    static void startDocument(void* ctx) {
        xmlSAX2StartDocument(ctx);
        call(ctx, [](XMLParser& p, XMLParserDelegate& d) { d.didStartDocument(p); });
    }

    static void endDocument(void* ctx) {
        call(ctx, [](XMLParser& p, XMLParserDelegate& d) { d.didEndDocument(p); });
    }

    // Without entity substitution libxml2 leaves references in attribute
    // values ("&" itself comes as "&#38;"); they are decoded here, through
    // getEntity and so within its limit.
    static std::string attributeValue(void* ctx, const xmlChar* begin, const xmlChar* end) {
        std::string raw(reinterpret_cast<const char*>(begin), static_cast<size_t>(end - begin));
        if (raw.find('&') == std::string::npos) return raw;
        xmlChar* decoded = xmlStringDecodeEntities(contextOf(ctx), reinterpret_cast<const xmlChar*>(raw.c_str()),
                                                   XML_SUBSTITUTE_REF, 0, 0, 0);
        if (!decoded) return raw;
        std::string value = text(decoded);
        xmlFree(decoded);
        return value;
    }

    static void startElement(void* ctx, const xmlChar* localName, const xmlChar* prefix, const xmlChar* uri,
                             int namespaceCount, const xmlChar** namespaces, int attributeCount, int,
                             const xmlChar** attributes) {
        XMLParser& parser = parserOf(ctx);
        XMLParserDelegate::Attributes attrs;
        for (int i = 0; i < attributeCount; ++i) {
            const xmlChar** a = attributes + 5 * i;  // local name, prefix, URI, value, end of value
            attrs[qualified(a[1], a[0])] = attributeValue(ctx, a[3], a[4]);
        }
        std::vector<std::string> declared;
        for (int i = 0; i < namespaceCount; ++i) {
            std::string nsPrefix = text(namespaces[2 * i]);
            std::string nsURI = text(namespaces[2 * i + 1]);
            // A reader that does not process namespaces sees declarations as attributes.
            if (!parser.processNamespaces_) attrs[nsPrefix.empty() ? "xmlns" : "xmlns:" + nsPrefix] = nsURI;
            if (parser.reportPrefixes_) {
                declared.push_back(nsPrefix);
                call(ctx, [&](XMLParser& p, XMLParserDelegate& d) { d.didStartMappingPrefix(p, nsPrefix, nsURI); });
            }
        }
        parser.prefixScopes_.push_back(std::move(declared));
        std::string qname = qualified(prefix, localName);
        call(ctx, [&](XMLParser& p, XMLParserDelegate& d) {
            if (p.processNamespaces_) d.didStartElement(p, text(localName), text(uri), qname, attrs);
            else d.didStartElement(p, qname, std::nullopt, std::nullopt, attrs);
        });
    }

    static void endElement(void* ctx, const xmlChar* localName, const xmlChar* prefix, const xmlChar* uri) {
        XMLParser& parser = parserOf(ctx);
        std::string qname = qualified(prefix, localName);
        call(ctx, [&](XMLParser& p, XMLParserDelegate& d) {
            if (p.processNamespaces_) d.didEndElement(p, text(localName), text(uri), qname);
            else d.didEndElement(p, qname, std::nullopt, std::nullopt);
        });
        if (parser.prefixScopes_.empty()) return;
        std::vector<std::string> declared = std::move(parser.prefixScopes_.back());
        parser.prefixScopes_.pop_back();
        for (const auto& nsPrefix : declared)
            call(ctx, [&](XMLParser& p, XMLParserDelegate& d) { d.didEndMappingPrefix(p, nsPrefix); });
    }

    static void characters(void* ctx, const xmlChar* chars, int length) {
        call(ctx, [&](XMLParser& p, XMLParserDelegate& d) {
            d.foundCharacters(p, std::string(reinterpret_cast<const char*>(chars), static_cast<size_t>(length)));
        });
    }

    static void cdataBlock(void* ctx, const xmlChar* value, int length) {
        call(ctx, [&](XMLParser& p, XMLParserDelegate& d) { d.foundCDATA(p, Data(value, static_cast<size_t>(length))); });
    }

    // Every expansion of a declared entity starts with a look-up, and libxml2
    // expands afresh for each reference: counting look-ups bounds the work
    // an entity bomb can ask for, long before libxml2's own loop check.
    // Once the parse has failed, nested contexts still working through an
    // entity's text are halted at their next look-up.
    static xmlEntityPtr getEntity(void* ctx, const xmlChar* name) {
        XMLParser& parser = parserOf(ctx);
        if (++parser.entityLookups_ > kEntityLookupLimit)
            fail(ctx, XML_ERR_ENTITY_LOOP, "Entity expansion exceeds the limit");
        if (parser.error_ || parser.aborted_ || parser.thrown_) {
            halt(contextOf(ctx));
            return nullptr;
        }
        return xmlSAX2GetEntity(ctx, name);
    }

    static xmlParserInputPtr resolveEntity(void*, const xmlChar*, const xmlChar*) { return nullptr; }
    static void externalSubset(void*, const xmlChar*, const xmlChar*, const xmlChar*) {}

    static void structuredError(void* ctx, xmlErrorPtr error) {
        if (!error || error->level != XML_ERR_FATAL) return;
        fail(ctx, error->code, error->message ? error->message : "XML parse error", error->line, error->int2);
    }

    // Records the first error, tells the delegate and stops.
    static void fail(void* ctx, int64_t code, std::string message, int64_t line = -1, int64_t column = -1) {
        XMLParser& parser = parserOf(ctx);
        if (parser.error_ || parser.aborted_ || parser.thrown_) return;
        while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) message.pop_back();
        xmlParserCtxtPtr context = contextOf(ctx);
        if (line < 0) line = xmlSAX2GetLineNumber(context);
        if (column < 0) column = xmlSAX2GetColumnNumber(context);
        ErrorPtr error = parseError(code, message, line, column);
        if (parser.active_) {
            try {
                parser.active_->parseErrorOccurred(parser, error);
            } catch (...) {
                parser.thrown_ = std::current_exception();
            }
        }
        parser.error_ = error;
        halt(context);
        // The document's own context too, when this is the nested one libxml2
        // makes for an entity's text.
        if (parser.context_ && parser.context_ != context) halt(static_cast<xmlParserCtxtPtr>(parser.context_));
    }

    // Stopped and marked malformed: libxml2 then no longer falls back to
    // its own entity look-up, which would bypass getEntity's limit.
    static void halt(xmlParserCtxtPtr context) {
        xmlStopParser(context);
        context->wellFormed = 0;
    }
};

XMLParser::XMLParser(Data data) : data_(std::move(data)) {}

XMLParser::~XMLParser() = default;

bool XMLParser::parse() {
    if (parsed_) return false;
    parsed_ = true;
    static std::once_flag initialised;
    std::call_once(initialised, [] { xmlInitParser(); });

    if (data_.length() > static_cast<size_t>(INT_MAX)) {
        error_ = parseError(XML_ERR_INTERNAL_ERROR, "Document too large", 0, 0);
        return false;
    }
    xmlSAXHandler handler;
    std::memset(&handler, 0, sizeof handler);
    xmlSAXVersion(&handler, 2);
    handler.startDocument = &XMLParserCallbacks::startDocument;
    handler.endDocument = &XMLParserCallbacks::endDocument;
    handler.startElement = nullptr;
    handler.endElement = nullptr;
    handler.startElementNs = &XMLParserCallbacks::startElement;
    handler.endElementNs = &XMLParserCallbacks::endElement;
    handler.characters = &XMLParserCallbacks::characters;
    handler.ignorableWhitespace = &XMLParserCallbacks::characters;
    handler.cdataBlock = &XMLParserCallbacks::cdataBlock;
    handler.reference = nullptr;  // libxml2 hands over the text of internal entities itself
    handler.getEntity = &XMLParserCallbacks::getEntity;
    handler.processingInstruction = nullptr;
    handler.comment = nullptr;
    handler.resolveEntity = &XMLParserCallbacks::resolveEntity;
    handler.externalSubset = &XMLParserCallbacks::externalSubset;
    handler.warning = nullptr;
    handler.error = nullptr;
    handler.fatalError = nullptr;
    handler.serror = &XMLParserCallbacks::structuredError;

    // An empty document is malformed; libxml2 refuses to make a context for it.
    const char* bytes = data_.empty() ? " " : reinterpret_cast<const char*>(data_.bytes());
    xmlParserCtxtPtr context = xmlCreateMemoryParserCtxt(bytes, data_.empty() ? 1 : static_cast<int>(data_.length()));
    if (!context) {
        error_ = parseError(XML_ERR_NO_MEMORY, "Could not create a parser", 0, 0);
        return false;
    }
    // The context's own handler is replaced by ours for this parse.
    xmlSAXHandlerPtr original = context->sax;
    context->sax = &handler;
    context->_private = this;
    xmlCtxtUseOptions(context, kSafeOptions);
    context->replaceEntities = 0;
    context->loadsubset = 0;

    context_ = context;
    active_ = delegate_.lock();
    entityLookups_ = 0;
    prefixScopes_.clear();
    xmlParseDocument(context);
    // Errors another handler took (a structured handler set for the whole
    // thread comes first in libxml2) still end the parse here.
    if (!error_ && !aborted_ && !thrown_ && !context->wellFormed) {
        const xmlError& last = context->lastError;
        XMLParserCallbacks::fail(context, last.code ? last.code : XML_ERR_INTERNAL_ERROR,
                                 last.message ? last.message : "Malformed XML");
    }
    line_ = xmlSAX2GetLineNumber(context);
    column_ = xmlSAX2GetColumnNumber(context);

    context->sax = original;
    if (context->myDoc) xmlFreeDoc(context->myDoc);
    context->myDoc = nullptr;
    xmlFreeParserCtxt(context);
    context_ = nullptr;
    active_ = nullptr;
    prefixScopes_.clear();

    if (thrown_) {
        std::exception_ptr thrown = thrown_;
        thrown_ = nullptr;
        std::rethrow_exception(thrown);
    }
    return !error_;
}

void XMLParser::abortParsing() {
    if (!context_ || aborted_ || error_) return;
    aborted_ = true;
    auto* context = static_cast<xmlParserCtxtPtr>(context_);
    error_ = parseError(kXMLParserDelegateAbortedParseError, "The delegate aborted the parse",
                        xmlSAX2GetLineNumber(context), xmlSAX2GetColumnNumber(context));
    xmlStopParser(context);
}

int64_t XMLParser::lineNumber() const {
    return context_ ? xmlSAX2GetLineNumber(static_cast<xmlParserCtxtPtr>(context_)) : line_;
}

int64_t XMLParser::columnNumber() const {
    return context_ ? xmlSAX2GetColumnNumber(static_cast<xmlParserCtxtPtr>(context_)) : column_;
}

}  // namespace foundation

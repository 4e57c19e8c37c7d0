// The event-driven XML reader: it walks a document once and tells its
// delegate what it meets, in document order: the document's start, each
// element's start (with its attributes) and end, character data in pieces,
// CDATA sections, and, on malformed input, the error, after which it stops.
// The parser never reaches outside its bytes: no external entities, no
// external DTD, no network; internal entities are expanded only within
// libxml2's limits on amplification, so an entity bomb ends in an error.
// Invariants: parse() runs once per parser; callbacks come on the calling
// thread, during parse(); an exception thrown by a delegate ends the parse
// and comes out of parse() as it was thrown.
#pragma once

#include <cstdint>
#include <exception>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Data.h"
#include "foundation/Error.h"
#include "foundation/Object.h"

namespace foundation {

inline constexpr const char* kXMLParserErrorDomain = "NSXMLParserErrorDomain";
// The code of a parse the delegate stopped with abortParsing().
inline constexpr int64_t kXMLParserDelegateAbortedParseError = 512;

class XMLParser;

class XMLParserDelegate {
public:
    using Attributes = std::map<std::string, std::string>;
    virtual ~XMLParserDelegate() = default;

    virtual void didStartDocument(XMLParser& parser) { (void)parser; }
    virtual void didEndDocument(XMLParser& parser) { (void)parser; }
    // Without namespace processing the name is the element's name as written
    // ("dc:creator") and the URI and qualified name are absent; with it, the
    // local name, its namespace URI and the name as written. Attribute keys
    // are names as written.
    virtual void didStartElement(XMLParser& parser, const std::string& elementName,
                                 const std::optional<std::string>& namespaceURI,
                                 const std::optional<std::string>& qualifiedName, const Attributes& attributes) {
        (void)parser;
        (void)elementName;
        (void)namespaceURI;
        (void)qualifiedName;
        (void)attributes;
    }
    virtual void didEndElement(XMLParser& parser, const std::string& elementName,
                               const std::optional<std::string>& namespaceURI,
                               const std::optional<std::string>& qualifiedName) {
        (void)parser;
        (void)elementName;
        (void)namespaceURI;
        (void)qualifiedName;
    }
    // Only with shouldReportNamespacePrefixes: a prefix comes into scope
    // before its element starts and leaves after it ends ("" for the default).
    virtual void didStartMappingPrefix(XMLParser& parser, const std::string& prefix, const std::string& namespaceURI) {
        (void)parser;
        (void)prefix;
        (void)namespaceURI;
    }
    virtual void didEndMappingPrefix(XMLParser& parser, const std::string& prefix) {
        (void)parser;
        (void)prefix;
    }
    // Text in pieces (UTF-8); a run of text may come in several calls.
    virtual void foundCharacters(XMLParser& parser, const std::string& string) {
        (void)parser;
        (void)string;
    }
    virtual void foundCDATA(XMLParser& parser, const Data& CDATABlock) {
        (void)parser;
        (void)CDATABlock;
    }
    // The error that ends the parse.
    virtual void parseErrorOccurred(XMLParser& parser, const ErrorPtr& parseError) {
        (void)parser;
        (void)parseError;
    }
};

class XMLParser : public Object {
public:
    explicit XMLParser(Data data);
    ~XMLParser() override;
    std::string className() const override { return "NSXMLParser"; }

    // Held weakly: whoever sets a delegate keeps it.
    void setDelegate(std::weak_ptr<XMLParserDelegate> delegate) { delegate_ = std::move(delegate); }
    std::shared_ptr<XMLParserDelegate> delegate() const { return delegate_.lock(); }
    bool shouldProcessNamespaces() const { return processNamespaces_; }
    void setShouldProcessNamespaces(bool on) { processNamespaces_ = on; }
    bool shouldReportNamespacePrefixes() const { return reportPrefixes_; }
    void setShouldReportNamespacePrefixes(bool on) { reportPrefixes_ = on; }

    // True when the whole document was read without error. A second call
    // returns false and reports nothing.
    bool parse();
    // From a delegate callback: no further callbacks; parse() returns false
    // with kXMLParserDelegateAbortedParseError.
    void abortParsing();
    ErrorPtr parserError() const { return error_; }
    // Where the parser is (1-based), during parse() and after it.
    int64_t lineNumber() const;
    int64_t columnNumber() const;

private:
    friend struct XMLParserCallbacks;

    Data data_;
    std::weak_ptr<XMLParserDelegate> delegate_;
    bool processNamespaces_ = false;
    bool reportPrefixes_ = false;
    bool parsed_ = false;
    bool aborted_ = false;
    ErrorPtr error_;
    int64_t line_ = 0;
    int64_t column_ = 0;

    // During parse() only.
    void* context_ = nullptr;  // xmlParserCtxtPtr
    std::shared_ptr<XMLParserDelegate> active_;
    std::exception_ptr thrown_;
    uint64_t entityLookups_ = 0;
    std::vector<std::vector<std::string>> prefixScopes_;
};

}  // namespace foundation

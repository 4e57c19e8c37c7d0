// Internal to the XML tree wrapper: turning libxml2's UTF-8 names and texts
// into our strings, through the per-document cache so a document's many equal
// element and attribute names share one string, and the one-time parser
// set-up. Kept free of libxml2's headers like the public ones.
#pragma once

#include <memory>
#include <optional>
#include <string>

struct _xmlNode;
struct _xmlDoc;

namespace XMLTreeStrings {

// The error domain of parsing and XPath failures.
inline constexpr const char* kErrorDomain = "com.quovana.XMLTree";
// The XPath prefix given to a default namespace when no map is passed.
inline constexpr const char* kDefaultNamespacePrefix = "_def_ns";

// Initialises libxml2 once per process.
void ensureParser();

// The options of every parse: CDATA merged into text, ignorable blanks dropped.
int parseOptions();

// Our UTF-8 text as libxml2 takes it.
inline const unsigned char* toXML(const std::string& s) { return reinterpret_cast<const unsigned char*>(s.c_str()); }

// The text, through the cache of the node's document when the node is an
// element, attribute or text node of a document that has one; nil for null.
std::optional<std::string> fromXML(const unsigned char* text, const _xmlNode* owner);

// Gives a document its cache, and drops it again before the document goes.
void attachCache(_xmlDoc* doc);
void releaseCache(_xmlDoc* doc);

// "{URI}:local", the form of a name whose namespace is known only by URI.
std::string bracedName(const std::string& uri, const std::string& localName);

}  // namespace XMLTreeStrings

// The strings cache lives in the libxml2 document's private pointer; its keys
// are libxml2 copies so they outlive any node they came from.
#include "api/XMLTreeStrings.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <mutex>
#include <unordered_map>

namespace XMLTreeStrings {
namespace {

struct CStringHash {
    size_t operator()(const xmlChar* s) const {
        size_t hash = 5381;
        for (; *s; ++s) hash = hash * 33 + static_cast<size_t>(static_cast<signed char>(*s));
        return hash;
    }
};

struct CStringEqual {
    bool operator()(const xmlChar* a, const xmlChar* b) const { return a == b || xmlStrcmp(a, b) == 0; }
};

class StringsCache {
public:
    StringsCache() = default;
    StringsCache(const StringsCache&) = delete;
    StringsCache& operator=(const StringsCache&) = delete;
    ~StringsCache() {
        for (auto& entry : map_) xmlFree(entry.first);
    }

    const std::string& lookup(const xmlChar* text) {
        auto found = map_.find(const_cast<xmlChar*>(text));
        if (found != map_.end()) return *found->second;
        auto value = std::make_shared<const std::string>(reinterpret_cast<const char*>(text));
        auto inserted = map_.emplace(xmlStrdup(text), std::move(value));
        return *inserted.first->second;
    }

private:
    std::unordered_map<xmlChar*, std::shared_ptr<const std::string>, CStringHash, CStringEqual> map_;
};

}  // namespace

void ensureParser() {
    static std::once_flag once;
    std::call_once(once, [] { xmlInitParser(); });
}

int parseOptions() { return XML_PARSE_NOCDATA | XML_PARSE_NOBLANKS; }

std::optional<std::string> fromXML(const unsigned char* text, const _xmlNode* owner) {
    if (!text) return std::nullopt;
    if (owner && (owner->type == XML_ELEMENT_NODE || owner->type == XML_ATTRIBUTE_NODE ||
                  owner->type == XML_TEXT_NODE) &&
        owner->doc && owner->doc->_private) {
        return static_cast<StringsCache*>(owner->doc->_private)->lookup(text);
    }
    return std::string(reinterpret_cast<const char*>(text));
}

void attachCache(_xmlDoc* doc) {
    if (doc && !doc->_private) doc->_private = new StringsCache();
}

void releaseCache(_xmlDoc* doc) {
    if (!doc || !doc->_private) return;
    delete static_cast<StringsCache*>(doc->_private);
    doc->_private = nullptr;
}

std::string bracedName(const std::string& uri, const std::string& localName) {
    return "{" + uri + "}:" + localName;
}

}  // namespace XMLTreeStrings

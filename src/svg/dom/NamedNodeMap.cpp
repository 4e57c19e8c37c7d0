// NamedNodeMap: the two-level look-ups and the index order over both levels.
#include "svg/dom/NamedNodeMap.h"

#include "foundation/Format.h"
#include "svg/dom/Attr.h"
#include "svg/dom/Node.h"

namespace svg {

const std::shared_ptr<Node>& NamedNodeMap::Entry::node() const {
    static const std::shared_ptr<Node> none;
    return extra ? extra->node : none;
}

NamedNodeMap::Entry::Extra& NamedNodeMap::Entry::extraForWriting() const {
    if (!extra) extra = std::make_unique<Extra>();
    return *extra;
}

namespace {

const std::string& keyOf(const Node& node) { return node.localName() ? *node.localName() : node.nodeName(); }

}  // namespace

// The entry's node, made now for an attribute kept as texts. A plain entry
// has no namespace to give it.
std::shared_ptr<Node> NamedNodeMap::nodeOf(const std::string& key, const Entry& entry,
                                           const std::string* namespaceURI) const {
    if (!entry.node()) {
        auto& extra = entry.extraForWriting();
        std::optional<std::string> uri;
        if (entry.inNamespace && namespaceURI) uri = *namespaceURI;
        extra.node = std::make_shared<Attr>(std::move(uri), extra.qualifiedName.value_or(key),
                                            std::string(valueOf(entry)));
    }
    return entry.node();
}

std::string_view NamedNodeMap::valueOf(const Entry& entry) const {
    if (!entry.node()) return std::string_view(parsedValues_).substr(entry.valueOffset, entry.valueLength);
    const auto& value = entry.node()->nodeValue();
    return value ? std::string_view(*value) : std::string_view();
}

std::shared_ptr<Node> NamedNodeMap::store(Dictionary& dictionary, const std::string* namespaceURI, Entry entry,
                                          const std::string& key) {
    std::shared_ptr<Node> replaced;
    auto [at, inserted] = dictionary.try_emplace(key);
    if (!inserted) replaced = nodeOf(key, at->second, namespaceURI);
    at->second = std::move(entry);
    return replaced;
}

std::shared_ptr<Node> NamedNodeMap::storeNode(Dictionary& dictionary, const std::string* namespaceURI,
                                              const std::shared_ptr<Node>& node) {
    Entry entry;
    entry.extraForWriting().node = node;
    return store(dictionary, namespaceURI, std::move(entry), keyOf(*node));
}

std::shared_ptr<Node> NamedNodeMap::find(const Dictionary& dictionary, const std::string* namespaceURI,
                                         const std::string& key) const {
    auto at = dictionary.find(key);
    return at == dictionary.end() ? nullptr : nodeOf(at->first, at->second, namespaceURI);
}

std::shared_ptr<Node> NamedNodeMap::extract(Dictionary& dictionary, const std::string* namespaceURI,
                                            const std::string& key) {
    auto at = dictionary.find(key);
    if (at == dictionary.end()) return nullptr;
    std::shared_ptr<Node> node = nodeOf(at->first, at->second, namespaceURI);
    dictionary.erase(at);
    return node;
}

foundation::Value NamedNodeMap::describe(const Dictionary& dictionary, const std::string* namespaceURI) const {
    foundation::Value::Dictionary out;
    for (const auto& [key, entry] : dictionary) out[key.str()] = foundation::Value(nodeOf(key, entry, namespaceURI));
    return foundation::Value(std::move(out));
}

std::shared_ptr<Node> NamedNodeMap::getNamedItem(const std::string& name) const {
    if (auto node = find(internalDictionary_, nullptr, name)) return node;
    for (const auto& [uri, dictionary] : internalDictionaryOfNamespaces_) {
        if (auto node = find(dictionary, &uri.str(), name)) return node;
    }
    return nullptr;
}

std::optional<std::string_view> NamedNodeMap::valueOfNamedItem(const std::string& name) const {
    if (auto at = internalDictionary_.find(name); at != internalDictionary_.end()) return valueOf(at->second);
    for (const auto& [uri, dictionary] : internalDictionaryOfNamespaces_) {
        if (auto at = dictionary.find(name); at != dictionary.end()) return valueOf(at->second);
    }
    return std::nullopt;
}

std::optional<std::string_view> NamedNodeMap::valueOfNamedItemNS(const std::string& namespaceURI,
                                                                const std::string& localName) const {
    auto in = internalDictionaryOfNamespaces_.find(namespaceURI);
    if (in == internalDictionaryOfNamespaces_.end()) return std::nullopt;
    auto at = in->second.find(localName);
    if (at == in->second.end()) return std::nullopt;
    return valueOf(at->second);
}

std::shared_ptr<Node> NamedNodeMap::setNamedItem(const std::shared_ptr<Node>& node) {
    if (!node) return nullptr;
    return storeNode(internalDictionary_, nullptr, node);
}

std::shared_ptr<Node> NamedNodeMap::removeNamedItem(const std::string& name) {
    return extract(internalDictionary_, nullptr, name);
}

std::shared_ptr<Node> NamedNodeMap::getNamedItemNS(const std::string& namespaceURI,
                                                   const std::string& localName) const {
    auto at = internalDictionaryOfNamespaces_.find(namespaceURI);
    return at == internalDictionaryOfNamespaces_.end() ? nullptr : find(at->second, &at->first.str(), localName);
}

std::shared_ptr<Node> NamedNodeMap::removeNamedItemNS(const std::string& namespaceURI, const std::string& localName) {
    auto at = internalDictionaryOfNamespaces_.find(namespaceURI);
    if (at == internalDictionaryOfNamespaces_.end()) return nullptr;
    return extract(at->second, &at->first.str(), localName);
}

std::shared_ptr<Node> NamedNodeMap::setNamedItemNS(const std::shared_ptr<Node>& node,
                                                   const std::optional<std::string>& elementNamespace) {
    if (!node) return nullptr;
    const auto& uri = node->namespaceURI() ? node->namespaceURI() : elementNamespace;
    if (!uri) return setNamedItem(node);
    auto at = internalDictionaryOfNamespaces_.try_emplace(*uri).first;
    return storeNode(at->second, &at->first.str(), node);
}

void NamedNodeMap::setParsedAttributeNS(const std::shared_ptr<Node>& node,
                                        const std::optional<std::string>& elementNamespace) {
    auto attribute = std::dynamic_pointer_cast<Attr>(node);
    bool plainParse = attribute && attribute->localName() && attribute->nodeValue() && !attribute->specified() &&
                      !attribute->ownerElement() && !attribute->hasChildNodes() &&
                      parsedValues_.size() + attribute->nodeValue()->size() <= UINT32_MAX;
    if (!plainParse) {
        setNamedItemNS(node, elementNamespace);
        return;
    }
    const auto& uri = attribute->namespaceURI() ? attribute->namespaceURI() : elementNamespace;
    Entry entry;
    const std::string& key = *attribute->localName();
    if (attribute->nodeName() != key) entry.extraForWriting().qualifiedName = attribute->nodeName();
    entry.valueOffset = uint32_t(parsedValues_.size());
    entry.valueLength = uint32_t(attribute->nodeValue()->size());
    parsedValues_ += *attribute->nodeValue();
    entry.inNamespace = attribute->namespaceURI().has_value();
    if (!uri) {
        // A plain entry carries no namespace, so the attribute must not either.
        store(internalDictionary_, nullptr, std::move(entry), key);
        return;
    }
    auto at = internalDictionaryOfNamespaces_.try_emplace(*uri).first;
    store(at->second, &at->first.str(), std::move(entry), key);
}

void NamedNodeMap::reserveParsedAttributes(size_t count, size_t valueBytes,
                                           const std::optional<std::string>& elementNamespace) {
    if (count == 0) return;
    parsedValues_.reserve(parsedValues_.size() + valueBytes);
    if (!elementNamespace) {
        internalDictionary_.reserve(count);
        return;
    }
    internalDictionaryOfNamespaces_.try_emplace(*elementNamespace).first->second.reserve(count);
}

size_t NamedNodeMap::length() const {
    size_t count = internalDictionary_.size();
    for (const auto& [uri, dictionary] : internalDictionaryOfNamespaces_) count += dictionary.size();
    return count;
}

std::shared_ptr<Node> NamedNodeMap::item(size_t index) const {
    if (index < internalDictionary_.size()) {
        auto at = std::next(internalDictionary_.begin(), long(index));
        return nodeOf(at->first, at->second, nullptr);
    }
    index -= internalDictionary_.size();
    for (const auto& [uri, dictionary] : internalDictionaryOfNamespaces_) {
        if (index < dictionary.size()) {
            auto at = std::next(dictionary.begin(), long(index));
            return nodeOf(at->first, at->second, &uri.str());
        }
        index -= dictionary.size();
    }
    return nullptr;
}

std::string NamedNodeMap::description() const {
    std::string plain, namespaced;
    if (!internalDictionary_.empty()) {
        plain = foundation::Format("DOM-v1(%@)", describe(internalDictionary_, nullptr));
    }
    if (!internalDictionaryOfNamespaces_.empty()) {
        foundation::Value::Dictionary out;
        for (const auto& [uri, dictionary] : internalDictionaryOfNamespaces_) {
            out[uri.str()] = describe(dictionary, &uri.str());
        }
        namespaced = foundation::Format("DOM-v2(%@)", foundation::Value(std::move(out)));
    }
    return foundation::Format("NamedNodeMap: %@%@%@", plain, !plain.empty() && !namespaced.empty() ? "\n" : "",
                              namespaced);
}

}  // namespace svg

// NamedNodeMap: the two-level look-ups and the index order over both levels.
#include "svg/dom/NamedNodeMap.h"

#include "foundation/Format.h"
#include "svg/dom/Node.h"

namespace svg {

namespace {

const std::string& keyOf(const Node& node) { return node.localName() ? *node.localName() : node.nodeName(); }

std::shared_ptr<Node> store(NamedNodeMap::Dictionary& dictionary, const std::shared_ptr<Node>& node) {
    std::shared_ptr<Node> replaced;
    auto [at, inserted] = dictionary.try_emplace(keyOf(*node), node);
    if (!inserted) {
        replaced = std::move(at->second);
        at->second = node;
    }
    return replaced;
}

std::shared_ptr<Node> find(const NamedNodeMap::Dictionary& dictionary, const std::string& key) {
    auto at = dictionary.find(key);
    return at == dictionary.end() ? nullptr : at->second;
}

foundation::Value describe(const NamedNodeMap::Dictionary& dictionary) {
    foundation::Value::Dictionary out;
    for (const auto& [key, node] : dictionary) out[key] = foundation::Value(node);
    return foundation::Value(std::move(out));
}

}  // namespace

std::shared_ptr<Node> NamedNodeMap::getNamedItem(const std::string& name) const {
    if (auto node = find(internalDictionary_, name)) return node;
    for (const auto& [uri, dictionary] : internalDictionaryOfNamespaces_) {
        if (auto node = find(dictionary, name)) return node;
    }
    return nullptr;
}

std::shared_ptr<Node> NamedNodeMap::setNamedItem(const std::shared_ptr<Node>& node) {
    if (!node) return nullptr;
    return store(internalDictionary_, node);
}

std::shared_ptr<Node> NamedNodeMap::removeNamedItem(const std::string& name) {
    auto node = internalDictionary_.extract(name);
    return node ? std::move(node.mapped()) : nullptr;
}

std::shared_ptr<Node> NamedNodeMap::getNamedItemNS(const std::string& namespaceURI,
                                                   const std::string& localName) const {
    auto at = internalDictionaryOfNamespaces_.find(namespaceURI);
    return at == internalDictionaryOfNamespaces_.end() ? nullptr : find(at->second, localName);
}

std::shared_ptr<Node> NamedNodeMap::removeNamedItemNS(const std::string& namespaceURI, const std::string& localName) {
    auto at = internalDictionaryOfNamespaces_.find(namespaceURI);
    if (at == internalDictionaryOfNamespaces_.end()) return nullptr;
    auto node = at->second.extract(localName);
    return node ? std::move(node.mapped()) : nullptr;
}

std::shared_ptr<Node> NamedNodeMap::setNamedItemNS(const std::shared_ptr<Node>& node,
                                                   const std::optional<std::string>& elementNamespace) {
    if (!node) return nullptr;
    const auto& uri = node->namespaceURI() ? node->namespaceURI() : elementNamespace;
    if (!uri) return setNamedItem(node);
    return store(internalDictionaryOfNamespaces_[*uri], node);
}

size_t NamedNodeMap::length() const {
    size_t count = internalDictionary_.size();
    for (const auto& [uri, dictionary] : internalDictionaryOfNamespaces_) count += dictionary.size();
    return count;
}

std::shared_ptr<Node> NamedNodeMap::item(size_t index) const {
    if (index < internalDictionary_.size()) return std::next(internalDictionary_.begin(), long(index))->second;
    index -= internalDictionary_.size();
    for (const auto& [uri, dictionary] : internalDictionaryOfNamespaces_) {
        if (index < dictionary.size()) return std::next(dictionary.begin(), long(index))->second;
        index -= dictionary.size();
    }
    return nullptr;
}

std::string NamedNodeMap::description() const {
    std::string plain, namespaced;
    if (!internalDictionary_.empty()) plain = foundation::Format("DOM-v1(%@)", describe(internalDictionary_));
    if (!internalDictionaryOfNamespaces_.empty()) {
        foundation::Value::Dictionary out;
        for (const auto& [uri, dictionary] : internalDictionaryOfNamespaces_) out[uri] = describe(dictionary);
        namespaced = foundation::Format("DOM-v2(%@)", foundation::Value(std::move(out)));
    }
    return foundation::Format("NamedNodeMap: %@%@%@", plain, !plain.empty() && !namespaced.empty() ? "\n" : "",
                              namespaced);
}

}  // namespace svg

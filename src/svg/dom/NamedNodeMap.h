// The attributes of an element, in two dictionaries so that plain and
// namespaced attributes stay apart: the same local name may exist once
// without namespace and once in each namespace. Plain entries are keyed by
// local name, or by node name for an attribute made by name only, so that the
// name it was stored with finds it again.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "foundation/Object.h"

namespace svg {

class Node;

class NamedNodeMap : public foundation::Object {
public:
    using Dictionary = std::map<std::string, std::shared_ptr<Node>>;

    // The plain entry; else the first namespaced entry of that local name,
    // namespaces in the map's order.
    std::shared_ptr<Node> getNamedItem(const std::string& name) const;
    // Answers the entry replaced, if any.
    std::shared_ptr<Node> setNamedItem(const std::shared_ptr<Node>& node);
    // Plain entries only.
    std::shared_ptr<Node> removeNamedItem(const std::string& name);

    std::shared_ptr<Node> getNamedItemNS(const std::string& namespaceURI, const std::string& localName) const;
    std::shared_ptr<Node> removeNamedItemNS(const std::string& namespaceURI, const std::string& localName);
    // In the node's own namespace, else the owning element's; with neither, a
    // plain entry. Answers the entry replaced, if any.
    std::shared_ptr<Node> setNamedItemNS(const std::shared_ptr<Node>& node,
                                         const std::optional<std::string>& elementNamespace = std::nullopt);

    // Plain entries, then each namespace's in turn; null past the end.
    size_t length() const;
    std::shared_ptr<Node> item(size_t index) const;

    const Dictionary& internalDictionary() const { return internalDictionary_; }
    const std::map<std::string, Dictionary>& internalDictionaryOfNamespaces() const {
        return internalDictionaryOfNamespaces_;
    }

    std::string className() const override { return "NamedNodeMap"; }
    std::string description() const override;

private:
    Dictionary internalDictionary_;
    std::map<std::string, Dictionary> internalDictionaryOfNamespaces_;
};

}  // namespace svg

// The attributes of an element, in two dictionaries so that plain and
// namespaced attributes stay apart: the same local name may exist once
// without namespace and once in each namespace. Plain entries are keyed by
// local name, or by node name for an attribute made by name only, so that the
// name it was stored with finds it again.
//
// A parsed file has many attributes and few are ever asked for as nodes, so
// an element keeps those the parser gives it as their texts alone and makes
// an attribute's node when it is first asked for (it is the same node from
// then on); its value is read without one.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "foundation/Object.h"
#include "svg/dom/FlatDictionary.h"
#include "svg/dom/SharedName.h"

namespace svg {

class Node;

class NamedNodeMap : public foundation::Object {
public:
    // An attribute: its value, whether it carries the namespace it is filed
    // under and, for the few that need more, its node (once made or given)
    // and its qualified name where it differs from the key.
    struct Entry {
        struct Extra {
            std::shared_ptr<Node> node;
            std::optional<std::string> qualifiedName;
        };
        std::string value;
        mutable std::unique_ptr<Extra> extra;
        bool inNamespace = false;

        const std::shared_ptr<Node>& node() const;
        Extra& extraForWriting() const;
    };
    // Keyed by shared names: a plan repeats the same few attribute names and
    // one namespace on every element.
    using Dictionary = FlatDictionary<Entry, SharedName>;

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

    // setNamedItemNS for an attribute made as the parser makes them (the
    // namespace step applied, nothing set on it since): kept as its texts.
    // Any other node is stored as itself.
    void setParsedAttributeNS(const std::shared_ptr<Node>& node, const std::optional<std::string>& elementNamespace);
    // Room for that many parsed attributes, in the dictionary those without
    // a namespace of their own go to.
    void reserveParsedAttributes(size_t count, const std::optional<std::string>& elementNamespace);
    // The value getNamedItem and getNamedItemNS would find, without making
    // a node; null when there is no such attribute.
    const std::string* valueOfNamedItem(const std::string& name) const;
    const std::string* valueOfNamedItemNS(const std::string& namespaceURI, const std::string& localName) const;

    // Plain entries, then each namespace's in turn; null past the end.
    size_t length() const;
    std::shared_ptr<Node> item(size_t index) const;

    const Dictionary& internalDictionary() const { return internalDictionary_; }
    const FlatDictionary<Dictionary, SharedName>& internalDictionaryOfNamespaces() const {
        return internalDictionaryOfNamespaces_;
    }

    std::string className() const override { return "NamedNodeMap"; }
    std::string description() const override;

private:
    Dictionary internalDictionary_;
    FlatDictionary<Dictionary, SharedName> internalDictionaryOfNamespaces_;
};

}  // namespace svg

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

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "foundation/Object.h"
#include "svg/dom/FlatDictionary.h"
#include "svg/dom/SharedName.h"

namespace foundation {
class Value;
}

namespace svg {

class Node;

class NamedNodeMap : public foundation::Object {
public:
    // An attribute: where its parsed value lies in the map's block of
    // values, whether it carries the namespace it is filed under and, for
    // the few that need more, its node (once made or given; its value is the
    // attribute's from then on) and its qualified name where it differs from
    // the key.
    struct Entry {
        struct Extra {
            std::shared_ptr<Node> node;
            std::optional<std::string> qualifiedName;
        };
        uint32_t valueOffset = 0;
        uint32_t valueLength = 0;
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
    // a namespace of their own go to, and for their values' bytes.
    void reserveParsedAttributes(size_t count, size_t valueBytes, const std::optional<std::string>& elementNamespace);
    // The value getNamedItem and getNamedItemNS would find, without making
    // a node; none when there is no such attribute. Valid until the map
    // changes.
    std::optional<std::string_view> valueOfNamedItem(const std::string& name) const;
    std::optional<std::string_view> valueOfNamedItemNS(const std::string& namespaceURI,
                                                       const std::string& localName) const;

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
    std::shared_ptr<Node> nodeOf(const std::string& key, const Entry& entry, const std::string* namespaceURI) const;
    std::string_view valueOf(const Entry& entry) const;
    std::shared_ptr<Node> find(const Dictionary& dictionary, const std::string* namespaceURI,
                               const std::string& key) const;
    std::shared_ptr<Node> extract(Dictionary& dictionary, const std::string* namespaceURI, const std::string& key);
    std::shared_ptr<Node> store(Dictionary& dictionary, const std::string* namespaceURI, Entry entry,
                                const std::string& key);
    std::shared_ptr<Node> storeNode(Dictionary& dictionary, const std::string* namespaceURI,
                                    const std::shared_ptr<Node>& node);
    foundation::Value describe(const Dictionary& dictionary, const std::string* namespaceURI) const;

    Dictionary internalDictionary_;
    FlatDictionary<Dictionary, SharedName> internalDictionaryOfNamespaces_;
    // The parsed values, one after another: a parsed element's attributes
    // cost one block rather than a string each. Only parsing appends; a
    // value replaced later leaves its bytes unused.
    std::string parsedValues_;
};

}  // namespace svg

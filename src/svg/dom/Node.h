// A node of the SVG document tree, shaped after the DOM Level 2 Core node:
// typed, named, with an optional value, an owned list of children and, for
// elements, an attribute map. Parents own their children; a child points back
// to its parent weakly. Only the tree operations the parser and the SVG code
// use do work; the rest of the DOM interface is present and inert.
//
// Nodes are always held by std::shared_ptr: the factories below and the
// subclasses' constructors (through std::make_shared) are the only ways in.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Object.h"
#include "svg/dom/DOMNodeType.h"
#include "svg/dom/SharedName.h"

namespace svg {

class Document;
class NamedNodeMap;
class NodeList;

class Node : public foundation::Object {
public:
    // Types 2, 3, 4, 7 and 8 carry a value and need one; the others take none.
    // A factory given the wrong kind of arguments for the type answers null.
    static std::shared_ptr<Node> create(DOMNodeType type, std::string name);
    static std::shared_ptr<Node> create(DOMNodeType type, std::string name, std::string value);
    // As above, then the namespace step (local name, prefix, namespace URI).
    static std::shared_ptr<Node> createInNamespace(DOMNodeType type, std::string name,
                                                   std::optional<std::string> namespaceURI);
    static std::shared_ptr<Node> createInNamespace(DOMNodeType type, std::string name, std::string value,
                                                   std::optional<std::string> namespaceURI);

    DOMNodeType nodeType() const { return nodeType_; }
    const std::string& nodeName() const { return nodeName_.str(); }
    const std::optional<std::string>& nodeValue() const { return nodeValue_; }
    void setNodeValue(std::optional<std::string> value) { nodeValue_ = std::move(value); }
    const std::optional<std::string>& localName() const { return names().localName; }
    const std::optional<std::string>& namespaceURI() const { return names().namespaceURI; }
    const std::optional<std::string>& prefix() const { return names().prefix; }

    std::shared_ptr<Node> parentNode() const { return parentNode_.lock(); }
    // Element classes extend this to keep references that depend on where they
    // stand in the tree.
    virtual void setParentNode(const std::shared_ptr<Node>& parent);
    // A node that never had a child shares one empty list, which nobody may
    // change: most nodes of a plan are leaves, and a list each would cost
    // more than the leaf. childArray() is the list to change.
    const std::shared_ptr<NodeList>& childNodes() const;
    std::vector<std::shared_ptr<Node>>& childArray();
    // Null for every node but an element.
    const std::shared_ptr<NamedNodeMap>& attributes() const { return attributes_; }

    // Plain fields: the tree operations do not maintain them.
    std::shared_ptr<Node> firstChild() const { return links().firstChild.lock(); }
    void setFirstChild(const std::shared_ptr<Node>& node) { linksForWriting().firstChild = node; }
    std::shared_ptr<Node> lastChild() const { return links().lastChild.lock(); }
    void setLastChild(const std::shared_ptr<Node>& node) { linksForWriting().lastChild = node; }
    std::shared_ptr<Node> previousSibling() const { return links().previousSibling.lock(); }
    void setPreviousSibling(const std::shared_ptr<Node>& node) { linksForWriting().previousSibling = node; }
    std::shared_ptr<Node> nextSibling() const { return links().nextSibling.lock(); }
    void setNextSibling(const std::shared_ptr<Node>& node) { linksForWriting().nextSibling = node; }
    std::shared_ptr<Document> ownerDocument() const { return links().ownerDocument.lock(); }
    void setOwnerDocument(const std::shared_ptr<Document>& document) { linksForWriting().ownerDocument = document; }

    // Moves the node to the end of this node's children when it is one
    // already. It is not taken out of another parent's list: a caller moving a
    // node between parents removes it from the old one first.
    std::shared_ptr<Node> appendChild(std::shared_ptr<Node> child);
    // At the reference child's position, or at the end without one. A
    // reference that is not a child is a programming error.
    std::shared_ptr<Node> insertBefore(std::shared_ptr<Node> child, const std::shared_ptr<Node>& refChild);
    // A document fragment is replaced by its children. Answers the old child;
    // an old child that is not a child is a programming error.
    std::shared_ptr<Node> replaceChild(std::shared_ptr<Node> newChild, std::shared_ptr<Node> oldChild);
    std::shared_ptr<Node> removeChild(std::shared_ptr<Node> child);
    bool hasChildNodes() const;
    bool hasAttributes() const;

    // The text below: children's text concatenated for elements, attributes,
    // entities and fragments; the value of text-like nodes; nothing for
    // documents, document types and notations.
    std::optional<std::string> textContent() const;

    // Inert parts of the DOM interface.
    std::shared_ptr<Node> cloneNode(bool /*deep*/) const { return nullptr; }
    void normalize() {}
    bool isSupportedFeature(const std::string& /*feature*/, const std::string& /*version*/) const { return false; }

    // Lets go of the subtree level by level, so depth costs heap, not stack.
    ~Node() override;

    std::string className() const override { return "Node"; }
    std::string description() const override;

protected:
    Node(DOMNodeType type, std::string name);
    Node(DOMNodeType type, std::string name, std::string value);
    // Splits a qualified name into prefix and local name under the namespace.
    void applyNamespace(std::optional<std::string> namespaceURI);
    void createAttributeMap();
    // Null while the node is not held by a shared pointer.
    std::shared_ptr<Node> self() const;

private:
    // What only some nodes have lives apart, made when first set, so that a
    // text node costs little: the names of the namespace step, and the plain
    // link fields.
    struct Names {
        std::optional<std::string> localName;
        std::optional<std::string> namespaceURI;
        std::optional<std::string> prefix;
    };
    struct Links {
        std::weak_ptr<Node> firstChild, lastChild, previousSibling, nextSibling;
        std::weak_ptr<Document> ownerDocument;
    };
    const Names& names() const;
    const Links& links() const;
    Links& linksForWriting();

    DOMNodeType nodeType_;
    SharedName nodeName_;  // a file repeats a few names on every node
    std::optional<std::string> nodeValue_;
    std::weak_ptr<Node> parentNode_;
    std::shared_ptr<NodeList> childNodes_;  // null until the first child
    std::shared_ptr<NamedNodeMap> attributes_;
    // Shared between nodes of the same names: never changed once applied.
    std::shared_ptr<const Names> names_;
    std::unique_ptr<Links> links_;
};

using NodePtr = std::shared_ptr<Node>;

}  // namespace svg

// One node of a libxml2 tree (or a namespace record) as an object. A node
// either owns its libxml2 node and frees it when it goes, or borrows one that
// lives in somebody else's tree: children, attributes, namespaces and XPath
// results borrow, everything the makers and copy() create owns. A borrowing
// node must not outlive the tree it looks into.
//
// Values read from the node (name, children, attributes) are cached and
// dropped before every change. One thread at a time per tree.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Error.h"

struct _xmlNode;

class XMLTreeElement;

class XMLTreeNode : public std::enable_shared_from_this<XMLTreeNode> {
public:
    using Ptr = std::shared_ptr<XMLTreeNode>;
    using Text = std::optional<std::string>;
    using NamespaceMap = std::map<std::string, std::string>;  // prefix -> URI

    enum Kind : int {
        InvalidKind = 0,
        DocumentKind = 1,
        ElementKind = 2,
        AttributeKind = 3,
        NamespaceKind = 4,
        ProcessingInstructionKind = 5,
        CommentKind = 6,
        TextKind = 7,
        DTDKind = 8,
        EntityDeclarationKind = 9,
        AttributeDeclarationKind = 10,
        ElementDeclarationKind = 11,
        NotationDeclarationKind = 12,
    };

    // An XMLTreeElement for an element node, else a plain node; null for null.
    static Ptr nodeConsumingXMLNode(_xmlNode* node);
    static Ptr nodeBorrowingXMLNode(_xmlNode* node);

    // Owning makers; null when libxml2 cannot make the node.
    static std::shared_ptr<XMLTreeElement> elementWithName(const std::string& name);
    static std::shared_ptr<XMLTreeElement> elementWithNameAndStringValue(const std::string& name,
                                                                         const std::string& value);
    static std::shared_ptr<XMLTreeElement> elementWithNameAndURI(const std::string& name, const std::string& uri);
    static Ptr attributeWithName(const std::string& name, const std::string& value);
    static Ptr attributeWithName(const std::string& name, const std::string& uri, const std::string& value);
    static Ptr textWithStringValue(const std::string& value);
    // An empty name declares a default namespace.
    static Ptr namespaceWithName(const std::string& name, const std::string& uri);

    static Text localNameForName(const Text& name);
    static Text prefixForName(const Text& name);

    XMLTreeNode(_xmlNode* node, bool owns);
    XMLTreeNode(const XMLTreeNode&) = delete;
    XMLTreeNode& operator=(const XMLTreeNode&) = delete;
    virtual ~XMLTreeNode();

    Text stringValue() const;
    void setStringValue(const Text& value);
    Text XMLString() const;
    Text qualifiedName() const;
    Text name() const;
    Text localName() const;
    Text prefix() const;
    Text URI() const;
    int64_t childCount() const;
    const std::vector<Ptr>& children() const;
    Ptr childAtIndex(int64_t index) const;
    Kind kind() const;

    // Nothing on failure, and the error when one was asked for.
    std::optional<std::vector<Ptr>> nodesForXPath(const std::string& xpath, foundation::ErrorPtr* error) const;
    std::optional<std::vector<Ptr>> nodesForXPath(const std::string& xpath, const std::optional<NamespaceMap>& namespaces,
                                                  foundation::ErrorPtr* error) const;

    std::string description() const;
    // An owning node of the same class over a deep copy.
    Ptr copy() const;
    bool isEqual(const XMLTreeNode& other) const;
    size_t hash() const;

    _xmlNode* XMLNode() const { return node_; }
    // A deep copy the caller frees.
    _xmlNode* XMLNodeCopy() const;
    bool shouldFreeXMLNode() const { return owns_; }
    void setShouldFreeXMLNode(bool owns) { owns_ = owns; }

protected:
    void releaseCachedValues();
    static Ptr wrap(_xmlNode* node, bool owns);
    bool isNamespaceRecord() const;

    _xmlNode* node_;
    bool owns_;
    mutable std::optional<Text> cachedName_;
    mutable std::optional<std::vector<Ptr>> cachedChildren_;
    mutable std::optional<std::vector<Ptr>> cachedAttributes_;
};

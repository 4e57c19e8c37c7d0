// An element of a libxml2 tree: its children, attributes and namespace
// declarations. Whatever is added is placed as a copy and then has its
// namespaces fixed up against the tree it joined, so a name given by URI
// takes the prefix declared there and no declaration is repeated.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "api/XMLTreeNode.h"

struct _xmlNs;

class XMLTreeElement : public XMLTreeNode {
public:
    using ElementPtr = std::shared_ptr<XMLTreeElement>;

    using XMLTreeNode::XMLTreeNode;

    // The root element of the text as an owning element; null and the error
    // when the text does not parse.
    static ElementPtr elementWithXMLString(const std::string& xml, foundation::ErrorPtr* error);

    // The declarations of this element, without the "xml" one.
    std::vector<Ptr> namespaces() const;
    void setNamespaces(const std::vector<Ptr>& namespaces);
    void addNamespace(const XMLTreeNode& aNamespace);

    void addChild(const XMLTreeNode& child);
    // The child's libxml2 node is freed unless the child owns it; a borrowing
    // child must not be used afterwards.
    void removeChild(const XMLTreeNode& child);

    std::vector<ElementPtr> elementsForName(const std::string& name) const;
    std::vector<ElementPtr> elementsForLocalName(const std::string& localName, const std::string& uri) const;

    const std::vector<Ptr>& attributes() const;
    // Nothing when an attribute of that name and namespace is already there.
    void addAttribute(const XMLTreeNode& attribute);
    Ptr attributeForXMLNode(const _xmlNode* node) const;
    Ptr attributeForName(const std::string& name) const;
    Ptr attributeForLocalName(const std::string& localName, const std::string& uri) const;

    // "" for a default namespace, nothing when the URI is not in scope.
    Text resolvePrefixForNamespaceURI(const std::string& uri) const;

    ElementPtr elementForChild(const std::string& name) const;
    Text valueForChild(const std::string& name) const;

    // Run after a node has been placed under graftPoint.
    static void fixUpNamespacesForNode(_xmlNode* node, _xmlNode* graftPoint);
};

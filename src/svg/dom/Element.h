// An element node: a tag name and an attribute map. The SVG element classes
// derive from it; the parser creates every element through the namespaced
// constructor. Attribute reads never answer "no value": a missing attribute
// reads as the empty string.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "svg/dom/Attr.h"
#include "svg/dom/Node.h"

namespace svg {

class NodeList;

class Element : public Node {
public:
    // Qualified name to attribute, as the parser hands them over.
    using AttributeDictionary = std::map<std::string, std::shared_ptr<Attr>>;

    // With the namespace step; each attribute is stored under its own
    // namespace or, lacking one, the element's.
    Element(std::string qualifiedName, std::optional<std::string> namespaceURI, const AttributeDictionary& attributes);
    // Without namespace step (no local name); attributes by name and value.
    Element(std::string localName, const std::map<std::string, std::string>& attributes);

    // The node name: an element is named by its tag.
    const std::string& tagName() const { return nodeName(); }

    std::string getAttribute(const std::string& name) const;
    std::string getAttributeNS(const std::string& namespaceURI, const std::string& localName) const;
    bool hasAttribute(const std::string& name) const;
    std::shared_ptr<Attr> getAttributeNode(const std::string& name) const;
    std::shared_ptr<Attr> getAttributeNodeNS(const std::string& namespaceURI, const std::string& localName) const;

    void setAttribute(const std::string& name, const std::string& value);
    void setAttributeNS(const std::optional<std::string>& namespaceURI, const std::string& qualifiedName,
                        const std::string& value);
    // Answers the attribute previously stored under the same node name.
    std::shared_ptr<Attr> setAttributeNode(const std::shared_ptr<Attr>& attribute);
    void removeAttribute(const std::string& name);
    std::shared_ptr<Attr> removeAttributeNode(const std::shared_ptr<Attr>& attribute);

    // This element and its descendants, depth first in document order: unlike
    // the DOM, the element itself counts when it matches. "*" matches all.
    std::shared_ptr<NodeList> getElementsByTagName(const std::string& name) const;
    std::shared_ptr<NodeList> getElementsByTagNameNS(const std::string& namespaceURI,
                                                     const std::string& localName) const;

    // Inert parts of the DOM interface.
    void removeAttributeNS(const std::string& /*namespaceURI*/, const std::string& /*localName*/) {}
    std::shared_ptr<Attr> setAttributeNodeNS(const std::shared_ptr<Attr>& /*attribute*/) { return nullptr; }
    bool hasAttributeNS(const std::string& /*namespaceURI*/, const std::string& /*localName*/) const { return false; }

    std::string className() const override { return "Element"; }
};

using ElementPtr = std::shared_ptr<Element>;

}  // namespace svg

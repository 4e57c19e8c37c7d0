// Element: attribute access through the map and the tag-name searches.
#include "svg/dom/Element.h"

#include "svg/dom/DOMHelperUtilities.h"
#include "svg/dom/NamedNodeMap.h"
#include "svg/dom/NodeList.h"

namespace svg {

Element::Element(std::string qualifiedName, std::optional<std::string> namespaceURI,
                 const AttributeDictionary& attributes)
    : Node(DOMNodeType::Element, std::move(qualifiedName)) {
    createAttributeMap();
    applyNamespace(namespaceURI);
    size_t valueBytes = 0;
    for (const auto& [name, attribute] : attributes) {
        if (attribute && attribute->nodeValue()) valueBytes += attribute->nodeValue()->size();
    }
    Node::attributes()->reserveParsedAttributes(attributes.size(), valueBytes, namespaceURI);
    for (const auto& [name, attribute] : attributes) Node::attributes()->setParsedAttributeNS(attribute, namespaceURI);
}

Element::Element(std::string localName, const std::map<std::string, std::string>& attributes)
    : Node(DOMNodeType::Element, std::move(localName)) {
    createAttributeMap();
    for (const auto& [name, value] : attributes) setAttribute(name, value);
}

std::string Element::getAttribute(const std::string& name) const {
    auto value = Node::attributes()->valueOfNamedItem(name);
    return value ? std::string(*value) : std::string();
}

std::string Element::getAttributeNS(const std::string& namespaceURI, const std::string& localName) const {
    auto value = Node::attributes()->valueOfNamedItemNS(namespaceURI, localName);
    return value ? std::string(*value) : std::string();
}

bool Element::hasAttribute(const std::string& name) const {
    return Node::attributes()->valueOfNamedItem(name).has_value();
}

std::shared_ptr<Attr> Element::getAttributeNode(const std::string& name) const {
    return std::dynamic_pointer_cast<Attr>(Node::attributes()->getNamedItem(name));
}

std::shared_ptr<Attr> Element::getAttributeNodeNS(const std::string& namespaceURI, const std::string& localName) const {
    return std::dynamic_pointer_cast<Attr>(Node::attributes()->getNamedItemNS(namespaceURI, localName));
}

void Element::setAttribute(const std::string& name, const std::string& value) {
    Node::attributes()->setNamedItem(std::make_shared<Attr>(name, value));
}

void Element::setAttributeNS(const std::optional<std::string>& namespaceURI, const std::string& qualifiedName,
                             const std::string& value) {
    Node::attributes()->setNamedItemNS(std::make_shared<Attr>(namespaceURI, qualifiedName, value));
}

std::shared_ptr<Attr> Element::setAttributeNode(const std::shared_ptr<Attr>& attribute) {
    if (!attribute) return nullptr;
    auto previous = getAttributeNode(attribute->nodeName());
    Node::attributes()->setNamedItem(attribute);
    return previous;
}

void Element::removeAttribute(const std::string& name) { Node::attributes()->removeNamedItem(name); }

std::shared_ptr<Attr> Element::removeAttributeNode(const std::shared_ptr<Attr>& attribute) {
    if (attribute) Node::attributes()->removeNamedItem(attribute->nodeName());
    return attribute;
}

std::shared_ptr<NodeList> Element::getElementsByTagName(const std::string& name) const {
    auto list = std::make_shared<NodeList>();
    DOMHelperUtilities::privateGetElementsByName(name, std::nullopt, self(), *list);
    return list;
}

std::shared_ptr<NodeList> Element::getElementsByTagNameNS(const std::string& namespaceURI,
                                                          const std::string& localName) const {
    auto list = std::make_shared<NodeList>();
    DOMHelperUtilities::privateGetElementsByName(localName, namespaceURI, self(), *list);
    return list;
}

}  // namespace svg

// Elements over libxml2, and the namespace fix-up that keeps a grafted node's
// names and declarations consistent with the tree it joined.
#include "api/XMLTreeElement.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <climits>
#include <map>

#include "api/XMLTreeStrings.h"

using foundation::ErrorPtr;
using XMLTreeStrings::toXML;

namespace {

using Substitutions = std::map<xmlNsPtr, xmlNsPtr>;

void fixQualifiedNames(xmlNodePtr node, xmlNodePtr graft) {
    if (node->ns || !node->name) return;
    std::string name(reinterpret_cast<const char*>(node->name));
    size_t colon = name.rfind(':');
    std::string prefix = colon == std::string::npos ? std::string() : name.substr(0, colon);
    std::string local = colon == std::string::npos ? name : name.substr(colon + 1);
    if (local.empty()) return;
    xmlNsPtr found = nullptr;
    if (prefix.size() >= 3 && prefix.front() == '{' && prefix.back() == '}') {
        found = xmlSearchNsByHref(graft->doc, graft, toXML(prefix.substr(1, prefix.size() - 2)));
    } else if (!prefix.empty()) {
        found = xmlSearchNs(graft->doc, graft, toXML(prefix));
    } else if (node->type == XML_ELEMENT_NODE) {
        // Attributes never take the default namespace.
        found = xmlSearchNs(graft->doc, graft, nullptr);
    }
    if (!found) return;
    xmlSetNs(node, found);
    xmlNodeSetName(node, toXML(local));
}

void fixDuplicateNamespaces(xmlNodePtr node, xmlNodePtr graft, Substitutions& substitutions) {
    if (node->type == XML_ELEMENT_NODE) {
        xmlNsPtr previous = nullptr;
        for (xmlNsPtr ns = node->nsDef; ns;) {
            xmlNsPtr next = ns->next;
            // Looking the XML namespace up may declare it on the graft point,
            // which can be this very list; it is never a duplicate anyway.
            if (!ns->href || xmlStrEqual(ns->href, XML_XML_NAMESPACE)) {
                previous = ns;
                ns = next;
                continue;
            }
            xmlNsPtr inScope = xmlSearchNsByHref(graft->doc, graft, ns->href);
            if (inScope && inScope != ns && xmlStrEqual(inScope->prefix, ns->prefix)) {
                if (previous) {
                    previous->next = next;
                } else {
                    node->nsDef = next;
                }
                ns->next = nullptr;
                // Freed once the whole subtree no longer points at it.
                substitutions[ns] = inScope;
            } else {
                previous = ns;
            }
            ns = next;
        }
    }
    if (node->ns) {
        auto found = substitutions.find(node->ns);
        if (found != substitutions.end()) node->ns = found->second;
    }
}

void fixUp(xmlNodePtr node, xmlNodePtr graft, Substitutions& substitutions) {
    if (node->type != XML_ELEMENT_NODE && node->type != XML_ATTRIBUTE_NODE) return;
    fixQualifiedNames(node, graft);
    fixDuplicateNamespaces(node, graft, substitutions);
    if (node->type != XML_ELEMENT_NODE) return;
    for (xmlNodePtr child = node->children; child; child = child->next) fixUp(child, graft, substitutions);
    for (xmlAttrPtr attribute = node->properties; attribute; attribute = attribute->next) {
        fixUp(reinterpret_cast<xmlNodePtr>(attribute), graft, substitutions);
    }
}

// Points every use in the subtree of a dropped declaration at its stand-in.
void replaceNamespace(xmlNodePtr node, xmlNsPtr old, xmlNsPtr replacement) {
    if (node->type != XML_ELEMENT_NODE) return;
    if (node->ns == old) node->ns = replacement;
    for (xmlAttrPtr attribute = node->properties; attribute; attribute = attribute->next) {
        if (attribute->ns == old) attribute->ns = replacement;
    }
    for (xmlNodePtr child = node->children; child; child = child->next) replaceNamespace(child, old, replacement);
}

}  // namespace

void XMLTreeElement::fixUpNamespacesForNode(_xmlNode* node, _xmlNode* graftPoint) {
    if (!node || !graftPoint) return;
    Substitutions substitutions;
    fixUp(node, graftPoint, substitutions);
    for (auto& entry : substitutions) xmlFreeNs(entry.first);
}

XMLTreeElement::ElementPtr XMLTreeElement::elementWithXMLString(const std::string& text, ErrorPtr* error) {
    XMLTreeStrings::ensureParser();
    xmlDocPtr doc = text.size() > INT_MAX
                        ? nullptr
                        : xmlReadMemory(text.data(), static_cast<int>(text.size()), nullptr, nullptr,
                                        XMLTreeStrings::parseOptions());
    xmlNodePtr copy = nullptr;
    if (doc) {
        if (xmlNodePtr root = xmlDocGetRootElement(doc)) copy = xmlCopyNode(root, 1);
        xmlFreeDoc(doc);
    }
    if (!copy) {
        if (error) *error = foundation::Error::make(XMLTreeStrings::kErrorDomain, -1);
        return nullptr;
    }
    return std::static_pointer_cast<XMLTreeElement>(nodeConsumingXMLNode(copy));
}

std::vector<XMLTreeNode::Ptr> XMLTreeElement::namespaces() const {
    std::vector<Ptr> result;
    if (!node_) return result;
    for (xmlNsPtr ns = node_->nsDef; ns; ns = ns->next) {
        if (ns->prefix && xmlStrEqual(ns->prefix, reinterpret_cast<const xmlChar*>("xml"))) continue;
        result.push_back(nodeBorrowingXMLNode(reinterpret_cast<xmlNodePtr>(ns)));
    }
    return result;
}

void XMLTreeElement::setNamespaces(const std::vector<Ptr>& namespaces) {
    if (!node_) return;
    releaseCachedValues();
    xmlNsPtr old = node_->nsDef;
    node_->nsDef = nullptr;
    for (const auto& given : namespaces) {
        if (!given || given->kind() != NamespaceKind) continue;
        xmlNsPtr ns = reinterpret_cast<xmlNsPtr>(given->XMLNode());
        xmlNewNs(node_, ns->href, ns->prefix);
    }
    // The subtree may still use the dropped declarations: point it at the
    // new ones, or keep a declaration that has no new counterpart.
    for (xmlNsPtr ns = old; ns; ns = ns->next) {
        xmlNsPtr replacement = ns->href ? xmlSearchNsByHref(node_->doc, node_, ns->href) : nullptr;
        if (!replacement) replacement = xmlNewNs(node_, ns->href, ns->prefix);
        if (!replacement) replacement = xmlNewNs(node_, ns->href, nullptr);
        replaceNamespace(node_, ns, replacement);
    }
    xmlFreeNsList(old);
    fixUpNamespacesForNode(node_, node_);
}

void XMLTreeElement::addNamespace(const XMLTreeNode& aNamespace) {
    if (!node_ || aNamespace.kind() != NamespaceKind) return;
    releaseCachedValues();
    xmlNsPtr ns = reinterpret_cast<xmlNsPtr>(aNamespace.XMLNode());
    xmlNewNs(node_, ns->href, ns->prefix);
    fixUpNamespacesForNode(node_, node_);
}

void XMLTreeElement::addChild(const XMLTreeNode& child) {
    if (!node_) return;
    switch (child.kind()) {
        case AttributeKind: addAttribute(child); return;
        case NamespaceKind: addNamespace(child); return;
        case InvalidKind:
        case DocumentKind: return;
        default: break;
    }
    releaseCachedValues();
    xmlNodePtr copy = child.XMLNodeCopy();
    if (!copy) return;
    // A text child may be merged into its neighbour, which libxml2 returns.
    xmlNodePtr placed = xmlAddChild(node_, copy);
    if (!placed) {
        xmlFreeNode(copy);
        return;
    }
    fixUpNamespacesForNode(placed, node_);
}

void XMLTreeElement::removeChild(const XMLTreeNode& child) {
    xmlNodePtr node = child.XMLNode();
    if (!node_ || !node || child.kind() == NamespaceKind || node->parent != node_) return;
    releaseCachedValues();
    xmlUnlinkNode(node);
    if (!child.shouldFreeXMLNode()) xmlFreeNode(node);
}

std::vector<XMLTreeElement::ElementPtr> XMLTreeElement::elementsForName(const std::string& name) const {
    std::vector<ElementPtr> result;
    if (!node_) return result;
    if (Text prefix = prefixForName(name)) {
        if (xmlNsPtr ns = xmlSearchNs(node_->doc, node_, toXML(*prefix)); ns && ns->href) {
            return elementsForLocalName(*localNameForName(name), reinterpret_cast<const char*>(ns->href));
        }
    }
    for (const auto& child : children()) {
        if (child->kind() == ElementKind && child->name() == name) {
            result.push_back(std::static_pointer_cast<XMLTreeElement>(child));
        }
    }
    return result;
}

std::vector<XMLTreeElement::ElementPtr> XMLTreeElement::elementsForLocalName(const std::string& localName,
                                                                            const std::string& uri) const {
    std::vector<ElementPtr> result;
    if (!node_ || !node_->children) return result;
    xmlNsPtr ns = xmlSearchNsByHref(node_->doc, node_, toXML(uri));
    const std::string braced = XMLTreeStrings::bracedName(uri, *localNameForName(localName));
    const auto& all = children();
    for (const auto& child : all) {
        xmlNodePtr node = child->XMLNode();
        if (node->type != XML_ELEMENT_NODE) continue;
        xmlNsPtr expected = ns;
        const std::string* expectedName = ns ? &localName : &braced;
        if (node->nsDef) {
            xmlNsPtr own = xmlSearchNsByHref(node->doc, node, toXML(uri));
            if (own && own != ns) {
                expected = own;
                expectedName = &localName;
            } else if (!own) {
                expected = nullptr;
                expectedName = &braced;
            }
        }
        if (node->ns == expected && node->name && xmlStrEqual(node->name, toXML(*expectedName))) {
            result.push_back(std::static_pointer_cast<XMLTreeElement>(child));
        }
    }
    return result;
}

const std::vector<XMLTreeNode::Ptr>& XMLTreeElement::attributes() const {
    if (!cachedAttributes_) {
        cachedAttributes_.emplace();
        if (node_) {
            for (xmlAttrPtr attribute = node_->properties; attribute; attribute = attribute->next) {
                cachedAttributes_->push_back(nodeBorrowingXMLNode(reinterpret_cast<xmlNodePtr>(attribute)));
            }
        }
    }
    return *cachedAttributes_;
}

void XMLTreeElement::addAttribute(const XMLTreeNode& attribute) {
    if (!node_ || attribute.kind() != AttributeKind) return;
    xmlAttrPtr given = reinterpret_cast<xmlAttrPtr>(attribute.XMLNode());
    if (!given->name) return;
    const xmlChar* uri = given->ns ? given->ns->href : nullptr;
    if (xmlHasNsProp(node_, given->name, uri)) return;
    releaseCachedValues();
    xmlNsPtr ns = nullptr;
    if (uri) {
        ns = xmlSearchNsByHref(node_->doc, node_, uri);
        if (!ns) ns = xmlNewNs(node_, uri, given->ns->prefix);
    }
    xmlChar* value = xmlNodeGetContent(reinterpret_cast<xmlNodePtr>(given));
    xmlAttrPtr made = xmlNewNsProp(node_, ns, given->name, value);
    if (value) xmlFree(value);
    if (made) fixUpNamespacesForNode(reinterpret_cast<xmlNodePtr>(made), node_);
}

XMLTreeNode::Ptr XMLTreeElement::attributeForXMLNode(const _xmlNode* node) const {
    if (!node) return nullptr;
    for (const auto& attribute : attributes()) {
        if (attribute->XMLNode() == node) return attribute;
    }
    return nullptr;
}

XMLTreeNode::Ptr XMLTreeElement::attributeForName(const std::string& name) const {
    if (!node_) return nullptr;
    for (const auto& attribute : attributes()) {
        if (attribute->name() == name) return attribute;
    }
    if (Text prefix = prefixForName(name)) {
        if (xmlNsPtr ns = xmlSearchNs(node_->doc, node_, toXML(*prefix)); ns && ns->href) {
            Text local = localNameForName(name);
            return attributeForXMLNode(
                reinterpret_cast<xmlNodePtr>(xmlHasNsProp(node_, toXML(*local), ns->href)));
        }
    }
    return nullptr;
}

XMLTreeNode::Ptr XMLTreeElement::attributeForLocalName(const std::string& localName, const std::string& uri) const {
    if (!node_) return nullptr;
    if (Ptr found =
            attributeForXMLNode(reinterpret_cast<xmlNodePtr>(xmlHasNsProp(node_, toXML(localName), toXML(uri))))) {
        return found;
    }
    const std::string braced = XMLTreeStrings::bracedName(uri, localName);
    return attributeForXMLNode(reinterpret_cast<xmlNodePtr>(xmlHasProp(node_, toXML(braced))));
}

XMLTreeNode::Text XMLTreeElement::resolvePrefixForNamespaceURI(const std::string& uri) const {
    if (!node_) return std::nullopt;
    xmlNsPtr ns = xmlSearchNsByHref(node_->doc, node_, toXML(uri));
    if (!ns) return std::nullopt;
    return ns->prefix ? std::string(reinterpret_cast<const char*>(ns->prefix)) : std::string();
}

XMLTreeElement::ElementPtr XMLTreeElement::elementForChild(const std::string& name) const {
    auto found = elementsForName(name);
    return found.empty() ? nullptr : found.front();
}

XMLTreeNode::Text XMLTreeElement::valueForChild(const std::string& name) const {
    auto element = elementForChild(name);
    return element ? element->stringValue() : std::nullopt;
}

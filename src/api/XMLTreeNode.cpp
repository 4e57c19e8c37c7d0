// Nodes over libxml2. Namespace records (xmlNs) share only the first two
// fields with real nodes, so every field beyond the type is read only after
// isNamespaceRecord() said no; a document node shares the prefix up to doc
// but has no namespace field, hence nsOf().
#include "api/XMLTreeNode.h"

#include <libxml/tree.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include <cstdio>
#include <typeinfo>

#include "api/XMLTreeElement.h"
#include "api/XMLTreeStrings.h"

using foundation::ErrorPtr;
using XMLTreeStrings::fromXML;
using XMLTreeStrings::toXML;

namespace {

bool isNamespaceNode(const xmlNode* node) { return node && node->type == XML_NAMESPACE_DECL; }

xmlNsPtr nsOf(const xmlNode* node) {
    if (!node || (node->type != XML_ELEMENT_NODE && node->type != XML_ATTRIBUTE_NODE)) return nullptr;
    return node->ns;
}

xmlDocPtr docOf(const xmlNode* node) { return node && !isNamespaceNode(node) ? node->doc : nullptr; }

xmlNodePtr deepCopy(const xmlNode* node) {
    if (!node) return nullptr;
    if (isNamespaceNode(node)) {
        return reinterpret_cast<xmlNodePtr>(xmlCopyNamespace(reinterpret_cast<xmlNsPtr>(const_cast<xmlNode*>(node))));
    }
    if (node->type == XML_DOCUMENT_NODE || node->type == XML_HTML_DOCUMENT_NODE) return nullptr;
    return xmlCopyNode(const_cast<xmlNode*>(node), 1);
}

void freeNode(xmlNodePtr node) {
    if (isNamespaceNode(node)) {
        xmlFreeNs(reinterpret_cast<xmlNsPtr>(node));
    } else if (node->type == XML_DOCUMENT_NODE || node->type == XML_HTML_DOCUMENT_NODE) {
        xmlDocPtr doc = reinterpret_cast<xmlDocPtr>(node);
        XMLTreeStrings::releaseCache(doc);
        xmlFreeDoc(doc);
    } else {
        xmlUnlinkNode(node);
        xmlFreeNode(node);
    }
}

// XPath failures are reported as errors; libxml2 need not print them too.
void ignoreXPathError(void*, xmlErrorPtr) {}

}  // namespace

XMLTreeNode::XMLTreeNode(_xmlNode* node, bool owns) : node_(node), owns_(owns) { XMLTreeStrings::ensureParser(); }

XMLTreeNode::~XMLTreeNode() {
    if (owns_ && node_) freeNode(node_);
}

XMLTreeNode::Ptr XMLTreeNode::wrap(_xmlNode* node, bool owns) {
    if (!node) return nullptr;
    if (node->type == XML_ELEMENT_NODE) return std::make_shared<XMLTreeElement>(node, owns);
    return std::make_shared<XMLTreeNode>(node, owns);
}

XMLTreeNode::Ptr XMLTreeNode::nodeConsumingXMLNode(_xmlNode* node) { return wrap(node, true); }
XMLTreeNode::Ptr XMLTreeNode::nodeBorrowingXMLNode(_xmlNode* node) { return wrap(node, false); }

bool XMLTreeNode::isNamespaceRecord() const { return isNamespaceNode(node_); }

void XMLTreeNode::releaseCachedValues() {
    cachedName_.reset();
    cachedChildren_.reset();
    cachedAttributes_.reset();
}

std::shared_ptr<XMLTreeElement> XMLTreeNode::elementWithName(const std::string& name) {
    XMLTreeStrings::ensureParser();
    return std::static_pointer_cast<XMLTreeElement>(wrap(xmlNewNode(nullptr, toXML(name)), true));
}

std::shared_ptr<XMLTreeElement> XMLTreeNode::elementWithNameAndStringValue(const std::string& name,
                                                                          const std::string& value) {
    XMLTreeStrings::ensureParser();
    xmlNodePtr element = xmlNewNode(nullptr, toXML(name));
    if (!element) return nullptr;
    xmlNodePtr text = xmlNewText(toXML(value));
    if (!text) {
        xmlFreeNode(element);
        return nullptr;
    }
    if (!xmlAddChild(element, text)) {
        xmlFreeNode(text);
        xmlFreeNode(element);
        return nullptr;
    }
    return std::static_pointer_cast<XMLTreeElement>(wrap(element, true));
}

std::shared_ptr<XMLTreeElement> XMLTreeNode::elementWithNameAndURI(const std::string& name, const std::string& uri) {
    return elementWithName(XMLTreeStrings::bracedName(uri, *localNameForName(name)));
}

XMLTreeNode::Ptr XMLTreeNode::attributeWithName(const std::string& name, const std::string& value) {
    XMLTreeStrings::ensureParser();
    return wrap(reinterpret_cast<xmlNodePtr>(xmlNewProp(nullptr, toXML(name), toXML(value))), true);
}

XMLTreeNode::Ptr XMLTreeNode::attributeWithName(const std::string& name, const std::string& uri,
                                                const std::string& value) {
    return attributeWithName(XMLTreeStrings::bracedName(uri, *localNameForName(name)), value);
}

XMLTreeNode::Ptr XMLTreeNode::textWithStringValue(const std::string& value) {
    XMLTreeStrings::ensureParser();
    return wrap(xmlNewText(toXML(value)), true);
}

XMLTreeNode::Ptr XMLTreeNode::namespaceWithName(const std::string& name, const std::string& uri) {
    XMLTreeStrings::ensureParser();
    xmlNsPtr ns = xmlNewNs(nullptr, toXML(uri), name.empty() ? nullptr : toXML(name));
    return wrap(reinterpret_cast<xmlNodePtr>(ns), true);
}

XMLTreeNode::Text XMLTreeNode::localNameForName(const Text& name) {
    if (!name) return std::nullopt;
    size_t colon = name->find(':');
    if (colon == std::string::npos || colon + 1 == name->size()) return name;
    return name->substr(colon + 1);
}

XMLTreeNode::Text XMLTreeNode::prefixForName(const Text& name) {
    if (!name) return std::nullopt;
    size_t colon = name->find(':');
    if (colon == std::string::npos) return std::nullopt;
    return name->substr(0, colon);
}

XMLTreeNode::Text XMLTreeNode::stringValue() const {
    if (!node_) return std::nullopt;
    if (isNamespaceRecord()) return fromXML(reinterpret_cast<xmlNsPtr>(node_)->href, nullptr);
    xmlChar* content = xmlNodeGetContent(node_);
    if (!content) return std::nullopt;
    std::string text(reinterpret_cast<const char*>(content));
    xmlFree(content);
    return text;
}

void XMLTreeNode::setStringValue(const Text& value) {
    if (!node_ || !value) return;
    releaseCachedValues();
    if (isNamespaceRecord()) {
        xmlNsPtr ns = reinterpret_cast<xmlNsPtr>(node_);
        if (ns->href) xmlFree(const_cast<xmlChar*>(ns->href));
        ns->href = xmlStrdup(toXML(*value));
        return;
    }
    xmlNodeSetContent(node_, toXML(*value));
}

XMLTreeNode::Text XMLTreeNode::XMLString() const {
    if (!node_) return std::nullopt;
    xmlBufferPtr buffer = xmlBufferCreate();
    if (!buffer) return std::nullopt;
    Text result;
    if (xmlNodeDump(buffer, docOf(node_), node_, 0, 0) >= 0) {
        std::string text(reinterpret_cast<const char*>(xmlBufferContent(buffer)), xmlBufferLength(buffer));
        const char* space = " \t\r\n";
        size_t first = text.find_first_not_of(space);
        result = first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(space) - first + 1);
    }
    xmlBufferFree(buffer);
    return result;
}

XMLTreeNode::Text XMLTreeNode::qualifiedName() const {
    if (!node_) return std::nullopt;
    if (isNamespaceRecord()) {
        const xmlChar* prefix = reinterpret_cast<xmlNsPtr>(node_)->prefix;
        return prefix ? fromXML(prefix, nullptr) : std::string();
    }
    xmlNsPtr ns = nsOf(node_);
    if (ns && ns->prefix && node_->name) {
        return std::string(reinterpret_cast<const char*>(ns->prefix)) + ":" +
               reinterpret_cast<const char*>(node_->name);
    }
    return fromXML(node_->name, node_);
}

XMLTreeNode::Text XMLTreeNode::name() const {
    if (!cachedName_) cachedName_ = qualifiedName();
    return *cachedName_;
}

XMLTreeNode::Text XMLTreeNode::localName() const { return localNameForName(name()); }

XMLTreeNode::Text XMLTreeNode::prefix() const {
    if (!node_) return std::nullopt;
    xmlNsPtr ns = nsOf(node_);
    if (!ns || !ns->prefix) return std::string();
    return fromXML(ns->prefix, nullptr);
}

XMLTreeNode::Text XMLTreeNode::URI() const {
    xmlNsPtr ns = nsOf(node_);
    return ns ? fromXML(ns->href, nullptr) : std::nullopt;
}

int64_t XMLTreeNode::childCount() const {
    if (cachedChildren_) return static_cast<int64_t>(cachedChildren_->size());
    if (!node_ || isNamespaceRecord()) return 0;
    int64_t count = 0;
    for (xmlNodePtr child = node_->children; child; child = child->next) ++count;
    return count;
}

const std::vector<XMLTreeNode::Ptr>& XMLTreeNode::children() const {
    if (!cachedChildren_) {
        cachedChildren_.emplace();
        if (node_ && !isNamespaceRecord()) {
            for (xmlNodePtr child = node_->children; child; child = child->next) {
                cachedChildren_->push_back(wrap(child, false));
            }
        }
    }
    return *cachedChildren_;
}

XMLTreeNode::Ptr XMLTreeNode::childAtIndex(int64_t index) const {
    const auto& all = children();
    if (index < 0 || index >= static_cast<int64_t>(all.size())) return nullptr;
    return all[static_cast<size_t>(index)];
}

XMLTreeNode::Kind XMLTreeNode::kind() const {
    if (!node_) return InvalidKind;
    switch (node_->type) {
        case XML_ELEMENT_NODE: return ElementKind;
        case XML_ATTRIBUTE_NODE: return AttributeKind;
        case XML_TEXT_NODE:
        case XML_CDATA_SECTION_NODE: return TextKind;
        case XML_ENTITY_REF_NODE:
        case XML_ENTITY_NODE:
        case XML_ENTITY_DECL: return EntityDeclarationKind;
        case XML_PI_NODE:
        case XML_XINCLUDE_START:
        case XML_XINCLUDE_END: return ProcessingInstructionKind;
        case XML_COMMENT_NODE: return CommentKind;
        case XML_DOCUMENT_NODE:
        case XML_DOCUMENT_TYPE_NODE:
        case XML_DOCUMENT_FRAG_NODE:
        case XML_HTML_DOCUMENT_NODE:
        case XML_DOCB_DOCUMENT_NODE: return DocumentKind;
        case XML_NOTATION_NODE: return NotationDeclarationKind;
        case XML_DTD_NODE: return DTDKind;
        case XML_ELEMENT_DECL: return ElementDeclarationKind;
        case XML_ATTRIBUTE_DECL: return AttributeDeclarationKind;
        case XML_NAMESPACE_DECL: return NamespaceKind;
    }
    return InvalidKind;
}

std::optional<std::vector<XMLTreeNode::Ptr>> XMLTreeNode::nodesForXPath(const std::string& xpath,
                                                                       ErrorPtr* error) const {
    return nodesForXPath(xpath, std::nullopt, error);
}

std::optional<std::vector<XMLTreeNode::Ptr>> XMLTreeNode::nodesForXPath(
    const std::string& xpath, const std::optional<NamespaceMap>& namespaces, ErrorPtr* error) const {
    xmlNodePtr node = node_;
    // A node outside any document is lent to a temporary one for the query.
    xmlDocPtr temporary = nullptr;
    xmlNodePtr top = nullptr;
    if (node && !isNamespaceRecord() && !node->doc) {
        top = node;
        while (top->parent) top = top->parent;
        if (top->type == XML_ELEMENT_NODE || top->type == XML_TEXT_NODE || top->type == XML_COMMENT_NODE ||
            top->type == XML_PI_NODE || top->type == XML_CDATA_SECTION_NODE) {
            temporary = xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0"));
            if (temporary) xmlDocSetRootElement(temporary, top);
        }
    }
    xmlDocPtr doc = docOf(node);

    std::optional<std::vector<Ptr>> result;
    ErrorPtr failure;
    if (!node || !doc) {
        failure = foundation::Error::make(XMLTreeStrings::kErrorDomain, -1,
                                          {{"error", foundation::Value(std::string("invalid node"))}});
    } else if (xmlXPathContextPtr context = xmlXPathNewContext(doc); !context) {
        failure = foundation::Error::make(XMLTreeStrings::kErrorDomain, -1);
    } else {
        context->node = node;
        context->error = ignoreXPathError;
        if (namespaces) {
            for (const auto& [prefix, uri] : *namespaces) xmlXPathRegisterNs(context, toXML(prefix), toXML(uri));
        } else {
            xmlNodePtr named = node->type == XML_DOCUMENT_NODE ? xmlDocGetRootElement(doc) : node;
            for (xmlNsPtr ns = nsOf(named); ns; ns = ns->next) {
                if (!ns->href) continue;
                const xmlChar* prefix =
                    ns->prefix ? ns->prefix : reinterpret_cast<const xmlChar*>(XMLTreeStrings::kDefaultNamespacePrefix);
                xmlXPathRegisterNs(context, prefix, ns->href);
            }
        }
        xmlXPathObjectPtr found = xmlXPathEvalExpression(toXML(xpath), context);
        if (found) {
            result.emplace();
            if (found->type == XPATH_NODESET && found->nodesetval) {
                for (int i = 0; i < found->nodesetval->nodeNr; ++i) {
                    xmlNodePtr hit = found->nodesetval->nodeTab[i];
                    if (!hit || hit == reinterpret_cast<xmlNodePtr>(temporary)) continue;
                    // Namespace hits are records libxml2 made for this result
                    // and frees with it, so they cannot be borrowed.
                    if (isNamespaceNode(hit)) {
                        result->push_back(wrap(deepCopy(hit), true));
                    } else {
                        result->push_back(wrap(hit, false));
                    }
                }
            }
            xmlXPathFreeObject(found);
        } else {
            foundation::Value::Dictionary info;
            if (context->lastError.str1) info["error"] = foundation::Value(std::string(context->lastError.str1));
            failure = foundation::Error::make(XMLTreeStrings::kErrorDomain, context->lastError.code, std::move(info));
        }
        xmlXPathFreeContext(context);
    }

    if (temporary) {
        xmlUnlinkNode(top);
        xmlSetTreeDoc(top, nullptr);
        xmlFreeDoc(temporary);
    }
    if (error && !result) *error = failure;
    return result;
}

std::string XMLTreeNode::description() const {
    const char* className = dynamic_cast<const XMLTreeElement*>(this) ? "XMLTreeElement" : "XMLTreeNode";
    char address[32];
    std::snprintf(address, sizeof address, "%p", static_cast<const void*>(this));
    return std::string(className) + " " + address + ": {type:" + std::to_string(node_ ? int(node_->type) : -1) +
           " name:" + name().value_or("(null)") + " xml:\"" + XMLString().value_or("(null)") + "\"}";
}

XMLTreeNode::Ptr XMLTreeNode::copy() const { return wrap(deepCopy(node_), true); }

_xmlNode* XMLTreeNode::XMLNodeCopy() const { return deepCopy(node_); }

bool XMLTreeNode::isEqual(const XMLTreeNode& other) const {
    if (this == &other || (node_ && node_ == other.node_)) return true;
    return kind() == other.kind() && name() == other.name() && childCount() == other.childCount();
}

size_t XMLTreeNode::hash() const { return typeid(XMLTreeNode).hash_code(); }

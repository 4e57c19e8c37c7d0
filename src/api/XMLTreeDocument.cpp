// Documents over libxml2.
#include "api/XMLTreeDocument.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <climits>
#include <cstdio>

#include "api/XMLTreeStrings.h"

using foundation::ErrorPtr;

namespace {

void replaceText(const xmlChar*& field, const std::optional<std::string>& value) {
    if (field) xmlFree(const_cast<xmlChar*>(field));
    field = value ? xmlStrdup(reinterpret_cast<const xmlChar*>(value->c_str())) : nullptr;
}

}  // namespace

XMLTreeDocument::XMLTreeDocument(_xmlDoc* doc) : doc_(doc) { XMLTreeStrings::attachCache(doc_); }

XMLTreeDocument::~XMLTreeDocument() {
    if (!doc_) return;
    XMLTreeStrings::releaseCache(doc_);
    xmlFreeDoc(doc_);
}

XMLTreeDocument::Ptr XMLTreeDocument::documentWithXMLString(const std::string& xml, unsigned options,
                                                            ErrorPtr* error) {
    return documentWithData(foundation::Data::fromString(xml), options, error);
}

XMLTreeDocument::Ptr XMLTreeDocument::documentWithData(const foundation::Data& data, unsigned, ErrorPtr* error) {
    XMLTreeStrings::ensureParser();
    xmlDocPtr doc = data.length() > INT_MAX ? nullptr
                                            : xmlReadMemory(reinterpret_cast<const char*>(data.bytes()),
                                                            static_cast<int>(data.length()), nullptr, nullptr,
                                                            XMLTreeStrings::parseOptions());
    if (!doc) {
        if (error) *error = foundation::Error::make(XMLTreeStrings::kErrorDomain, -1);
        return nullptr;
    }
    if (error) *error = nullptr;
    return std::make_shared<XMLTreeDocument>(doc);
}

XMLTreeDocument::Ptr XMLTreeDocument::documentWithRootElement(const XMLTreeElement& element) {
    XMLTreeStrings::ensureParser();
    xmlNodePtr root = element.XMLNodeCopy();
    if (!root) return nullptr;
    xmlDocPtr doc = xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0"));
    if (!doc) {
        xmlFreeNode(root);
        return nullptr;
    }
    xmlDocSetRootElement(doc, root);
    return std::make_shared<XMLTreeDocument>(doc);
}

XMLTreeElement::ElementPtr XMLTreeDocument::rootElement() const {
    xmlNodePtr root = doc_ ? xmlDocGetRootElement(doc_) : nullptr;
    return std::static_pointer_cast<XMLTreeElement>(XMLTreeNode::nodeBorrowingXMLNode(root));
}

std::optional<foundation::Data> XMLTreeDocument::XMLData() const {
    if (!doc_) return std::nullopt;
    xmlChar* memory = nullptr;
    int size = 0;
    xmlDocDumpMemory(doc_, &memory, &size);
    std::optional<foundation::Data> result;
    if (memory && size > 0) result = foundation::Data(memory, static_cast<size_t>(size));
    if (memory) xmlFree(memory);
    return result;
}

void XMLTreeDocument::setVersion(const Text& version) {
    if (doc_) replaceText(doc_->version, version);
}

void XMLTreeDocument::setCharacterEncoding(const Text& encoding) {
    if (doc_) replaceText(doc_->encoding, encoding);
}

std::optional<std::vector<XMLTreeNode::Ptr>> XMLTreeDocument::nodesForXPath(const std::string& xpath,
                                                                           ErrorPtr* error) const {
    return nodesForXPath(xpath, std::nullopt, error);
}

std::optional<std::vector<XMLTreeNode::Ptr>> XMLTreeDocument::nodesForXPath(
    const std::string& xpath, const std::optional<XMLTreeNode::NamespaceMap>& namespaces, ErrorPtr* error) const {
    if (!doc_) return std::nullopt;
    auto whole = XMLTreeNode::nodeBorrowingXMLNode(reinterpret_cast<xmlNodePtr>(doc_));
    return whole->nodesForXPath(xpath, namespaces, error);
}

std::string XMLTreeDocument::description() const {
    char address[32];
    std::snprintf(address, sizeof address, "%p", static_cast<const void*>(this));
    return std::string("XMLTreeDocument ") + address;
}

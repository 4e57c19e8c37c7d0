// Any bytes given to the XML tree wrapper end in a tree or a nil with the
// error, never a crash, a leak or a double free: the tree is walked, copied,
// grafted onto itself, queried with XPath and pruned. Bytes before the first
// zero byte are the document; those after it are an XPath expression (else a
// few fixed ones are tried).
#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "api/XMLTreeDocument.h"
#include "api/XMLTreeElement.h"

namespace {

void quiet(void*, const char*, ...) {}
void quietStructured(void*, xmlErrorPtr) {}

void walk(const XMLTreeNode::Ptr& node, int depth) {
    if (!node || depth > 32) return;
    (void)node->name();
    (void)node->localName();
    (void)node->prefix();
    (void)node->URI();
    (void)node->stringValue();
    (void)node->XMLString();
    (void)node->description();
    if (auto element = std::dynamic_pointer_cast<XMLTreeElement>(node)) {
        for (const auto& attribute : element->attributes()) (void)attribute->stringValue();
        for (const auto& ns : element->namespaces()) (void)element->resolvePrefixForNamespaceURI(*ns->stringValue());
        if (auto name = node->name()) (void)element->elementsForName(*name);
    }
    for (const auto& child : node->children()) walk(child, depth + 1);
}

void query(const XMLTreeNode& node, const std::string& xpath) {
    foundation::ErrorPtr error;
    auto found = node.nodesForXPath(xpath, &error);
    if (!found && !error) std::abort();
    if (found) {
        for (const auto& hit : *found) walk(hit, 30);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool once = [] {
        xmlSetGenericErrorFunc(nullptr, quiet);
        xmlSetStructuredErrorFunc(nullptr, quietStructured);
        return true;
    }();
    (void)once;
    std::string input(reinterpret_cast<const char*>(data), size);
    size_t zero = input.find('\0');
    std::string text = input.substr(0, zero);
    std::vector<std::string> xpaths = {"//*", "//@*", "//namespace::*", "/*/*[1]", "//_def_ns:*", "//text()"};
    if (zero != std::string::npos) xpaths = {input.substr(zero + 1)};

    foundation::ErrorPtr error;
    auto document = XMLTreeDocument::documentWithXMLString(text, 0, &error);
    if (!document && !error) std::abort();
    if (document) {
        for (const auto& xpath : xpaths) query(*document->rootElement(), xpath);
        (void)document->XMLData();
    }

    error = nullptr;
    auto element = XMLTreeElement::elementWithXMLString(text, &error);
    if (!element) {
        if (!error) std::abort();
        return 0;
    }
    walk(element, 0);
    for (const auto& xpath : xpaths) query(*element, xpath);
    auto copy = std::static_pointer_cast<XMLTreeElement>(element->copy());
    element->addChild(*copy);
    element->addAttribute(*XMLTreeNode::attributeWithName("k", "urn:fuzz", "v"));
    element->addChild(*XMLTreeNode::elementWithNameAndURI("p:c", "urn:fuzz"));
    walk(element, 0);
    auto rebuilt = XMLTreeDocument::documentWithRootElement(*element);
    if (rebuilt) query(*rebuilt->rootElement(), xpaths.front());
    while (element->childCount() > 0) element->removeChild(*element->childAtIndex(0));
    element->setNamespaces({});
    walk(element, 0);
    return 0;
}

// Document: node factories and the searches from the document element.
#include "svg/dom/Document.h"

#include "foundation/Log.h"
#include "svg/dom/CDATASection.h"
#include "svg/dom/Comment.h"
#include "svg/dom/DOMHelperUtilities.h"
#include "svg/dom/DocumentFragment.h"
#include "svg/dom/Element.h"
#include "svg/dom/NodeList.h"
#include "svg/dom/ProcessingInstruction.h"
#include "svg/dom/Text.h"

namespace svg {

namespace {

void logMissingDefaults(const std::string& className) {
    foundation::Log(
        "[%@] WARNING: SVG Spec, missing feature: if there are known attributes with default values, Attr nodes "
        "representing them SHOULD BE automatically created and attached to the element.",
        className);
}

}  // namespace

std::shared_ptr<Element> Document::createElement(const std::string& tagName) const {
    logMissingDefaults(className());
    return std::make_shared<Element>(tagName, std::map<std::string, std::string>{});
}

std::shared_ptr<Element> Document::createElementNS(const std::optional<std::string>& namespaceURI,
                                                   const std::string& qualifiedName) const {
    logMissingDefaults(className());
    return std::make_shared<Element>(qualifiedName, namespaceURI, Element::AttributeDictionary{});
}

std::shared_ptr<DocumentFragment> Document::createDocumentFragment() const {
    return std::make_shared<DocumentFragment>();
}

std::shared_ptr<Text> Document::createTextNode(const std::string& data) const { return std::make_shared<Text>(data); }

std::shared_ptr<Comment> Document::createComment(const std::string& data) const {
    return std::make_shared<Comment>(data);
}

std::shared_ptr<CDATASection> Document::createCDATASection(const std::string& data) const {
    return std::make_shared<CDATASection>(data);
}

std::shared_ptr<ProcessingInstruction> Document::createProcessingInstruction(const std::string& target,
                                                                             const std::string& data) const {
    return std::make_shared<ProcessingInstruction>(target, data);
}

std::shared_ptr<Attr> Document::createAttribute(const std::string& name) const {
    return std::make_shared<Attr>(name, "");
}

std::shared_ptr<Attr> Document::createAttributeNS(const std::optional<std::string>& namespaceURI,
                                                  const std::string& qualifiedName) const {
    return std::make_shared<Attr>(namespaceURI, qualifiedName, "");
}

std::shared_ptr<NodeList> Document::getElementsByTagName(const std::string& name) const {
    auto list = std::make_shared<NodeList>();
    DOMHelperUtilities::privateGetElementsByName(name, std::nullopt, documentElement_, *list);
    return list;
}

std::shared_ptr<NodeList> Document::getElementsByTagNameNS(const std::string& namespaceURI,
                                                           const std::string& localName) const {
    auto list = std::make_shared<NodeList>();
    DOMHelperUtilities::privateGetElementsByName(localName, namespaceURI, documentElement_, *list);
    return list;
}

std::shared_ptr<Element> Document::getElementById(const std::string& elementId) const {
    return DOMHelperUtilities::privateGetElementById(elementId, documentElement_);
}

}  // namespace svg

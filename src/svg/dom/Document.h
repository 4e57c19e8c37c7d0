// A document: the factory of its nodes and the start of the tag-name and id
// searches, which run from the document element.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "svg/dom/Node.h"

namespace svg {

class Attr;
class CDATASection;
class Comment;
class DocumentFragment;
class DocumentType;
class DOMImplementation;
class Element;
class ProcessingInstruction;
class Text;

class Document : public Node {
public:
    // Never set for floor plans.
    const std::shared_ptr<DocumentType>& doctype() const { return doctype_; }
    const std::shared_ptr<DOMImplementation>& implementation() const { return implementation_; }

    const std::shared_ptr<Element>& documentElement() const { return documentElement_; }
    void setDocumentElement(std::shared_ptr<Element> element) { documentElement_ = std::move(element); }

    // Elements get no defaulted attributes; both say so in the log.
    std::shared_ptr<Element> createElement(const std::string& tagName) const;
    std::shared_ptr<Element> createElementNS(const std::optional<std::string>& namespaceURI,
                                             const std::string& qualifiedName) const;
    std::shared_ptr<DocumentFragment> createDocumentFragment() const;
    std::shared_ptr<Text> createTextNode(const std::string& data) const;
    std::shared_ptr<Comment> createComment(const std::string& data) const;
    std::shared_ptr<CDATASection> createCDATASection(const std::string& data) const;
    std::shared_ptr<ProcessingInstruction> createProcessingInstruction(const std::string& target,
                                                                       const std::string& data) const;
    // The value of a new attribute is the empty string.
    std::shared_ptr<Attr> createAttribute(const std::string& name) const;
    std::shared_ptr<Attr> createAttributeNS(const std::optional<std::string>& namespaceURI,
                                            const std::string& qualifiedName) const;

    std::shared_ptr<NodeList> getElementsByTagName(const std::string& name) const;
    std::shared_ptr<NodeList> getElementsByTagNameNS(const std::string& namespaceURI,
                                                     const std::string& localName) const;
    // The first in document order when ids repeat.
    std::shared_ptr<Element> getElementById(const std::string& elementId) const;

    // Inert parts of the DOM interface.
    std::shared_ptr<Node> createEntityReference(const std::string& /*name*/) const { return nullptr; }
    std::shared_ptr<Node> importNode(const std::shared_ptr<Node>& /*node*/, bool /*deep*/) const { return nullptr; }

    std::string className() const override { return "Document"; }

protected:
    Document() : Node(DOMNodeType::Document, "#document") {}

private:
    std::shared_ptr<DocumentType> doctype_;
    std::shared_ptr<DOMImplementation> implementation_;
    std::shared_ptr<Element> documentElement_;
};

}  // namespace svg

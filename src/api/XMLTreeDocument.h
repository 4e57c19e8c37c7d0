// A whole libxml2 document, parsed or built around a copy of an element. It
// owns its tree and the tree's strings cache; the root element and XPath
// results borrow from it and must not outlive it.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "api/XMLTreeElement.h"
#include "foundation/Data.h"

struct _xmlDoc;

class XMLTreeDocument {
public:
    using Ptr = std::shared_ptr<XMLTreeDocument>;
    using Text = std::optional<std::string>;

    // Null and the error when the text does not parse. The options are
    // accepted for the callers' sake; parsing always merges CDATA into text
    // and drops ignorable blanks.
    static Ptr documentWithXMLString(const std::string& xml, unsigned options, foundation::ErrorPtr* error);
    static Ptr documentWithData(const foundation::Data& data, unsigned options, foundation::ErrorPtr* error);
    // Null when the element cannot be copied.
    static Ptr documentWithRootElement(const XMLTreeElement& element);

    explicit XMLTreeDocument(_xmlDoc* doc);
    XMLTreeDocument(const XMLTreeDocument&) = delete;
    XMLTreeDocument& operator=(const XMLTreeDocument&) = delete;
    ~XMLTreeDocument();

    XMLTreeElement::ElementPtr rootElement() const;
    std::optional<foundation::Data> XMLData() const;
    // Nothing clears the value.
    void setVersion(const Text& version);
    void setCharacterEncoding(const Text& encoding);

    std::optional<std::vector<XMLTreeNode::Ptr>> nodesForXPath(const std::string& xpath,
                                                               foundation::ErrorPtr* error) const;
    std::optional<std::vector<XMLTreeNode::Ptr>> nodesForXPath(
        const std::string& xpath, const std::optional<XMLTreeNode::NamespaceMap>& namespaces,
        foundation::ErrorPtr* error) const;

    std::string description() const;
    _xmlDoc* XMLDocument() const { return doc_; }

private:
    _xmlDoc* doc_;
};

// The document type node of the DOM. Floor plans never get one: every field
// is declared and stays empty.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "svg/dom/Node.h"

namespace svg {

class NamedNodeMap;

class DocumentType : public Node {
public:
    DocumentType() : Node(DOMNodeType::DocumentType, "") {}

    const std::optional<std::string>& name() const { return name_; }
    const std::shared_ptr<NamedNodeMap>& entities() const { return entities_; }
    const std::shared_ptr<NamedNodeMap>& notations() const { return notations_; }
    const std::optional<std::string>& publicId() const { return publicId_; }
    const std::optional<std::string>& systemId() const { return systemId_; }
    const std::optional<std::string>& internalSubset() const { return internalSubset_; }

    std::string className() const override { return "DocumentType"; }

private:
    std::optional<std::string> name_;
    std::shared_ptr<NamedNodeMap> entities_;
    std::shared_ptr<NamedNodeMap> notations_;
    std::optional<std::string> publicId_;
    std::optional<std::string> systemId_;
    std::optional<std::string> internalSubset_;
};

}  // namespace svg

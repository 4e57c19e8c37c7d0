// The DOM's implementation object. The library creates documents itself, so
// every operation here answers "no".
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace svg {

class Document;
class DocumentType;

class DOMImplementation {
public:
    bool hasFeature(const std::string& /*feature*/, const std::string& /*version*/) const { return false; }
    std::shared_ptr<DocumentType> createDocumentType(const std::string& /*qualifiedName*/,
                                                     const std::string& /*publicId*/,
                                                     const std::string& /*systemId*/) const {
        return nullptr;
    }
    std::shared_ptr<Document> createDocument(const std::optional<std::string>& /*namespaceURI*/,
                                             const std::string& /*qualifiedName*/,
                                             const std::shared_ptr<DocumentType>& /*doctype*/) const {
        return nullptr;
    }
};

}  // namespace svg

// Attr construction.
#include "svg/dom/Attr.h"

namespace svg {

Attr::Attr(std::string name, std::string value) : Node(DOMNodeType::Attribute, std::move(name), std::move(value)) {}

Attr::Attr(std::optional<std::string> namespaceURI, std::string qualifiedName, std::string value)
    : Node(DOMNodeType::Attribute, std::move(qualifiedName), std::move(value)) {
    applyNamespace(std::move(namespaceURI));
}

}  // namespace svg

// An attribute node: its name and value are the node's name and value.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "svg/dom/Node.h"

namespace svg {

class Element;

class Attr : public Node {
public:
    // Without namespace step: no local name.
    Attr(std::string name, std::string value);
    // With the namespace step.
    Attr(std::optional<std::string> namespaceURI, std::string qualifiedName, std::string value);

    const std::string& name() const { return nodeName(); }
    std::string value() const { return nodeValue().value_or(""); }
    void setValue(std::string value) { setNodeValue(std::move(value)); }
    // Never set by the library.
    bool specified() const { return specified_; }
    void setSpecified(bool specified) { specified_ = specified; }
    std::shared_ptr<Element> ownerElement() const { return ownerElement_.lock(); }
    void setOwnerElement(const std::shared_ptr<Element>& element) { ownerElement_ = element; }

    std::string className() const override { return "Attr"; }

private:
    bool specified_ = false;
    std::weak_ptr<Element> ownerElement_;
};

using AttrPtr = std::shared_ptr<Attr>;

}  // namespace svg

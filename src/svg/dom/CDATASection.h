// A CDATA section node ("#cdata-section"). The parser itself merges CDATA
// into ordinary text; this node exists for documents built by hand.
#pragma once

#include <string>

#include "svg/dom/Text.h"

namespace svg {

class CDATASection : public Text {
public:
    explicit CDATASection(std::string value) : Text(DOMNodeType::CDATASection, "#cdata-section", std::move(value)) {}

    std::string className() const override { return "CDATASection"; }
};

}  // namespace svg

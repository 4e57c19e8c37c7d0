// The DOM's node type numbers, which the SVG document tree keeps.
#pragma once

#include <cstdint>

namespace svg {

enum class DOMNodeType : int32_t {
    Element = 1,
    Attribute = 2,
    Text = 3,
    CDATASection = 4,
    EntityReference = 5,
    Entity = 6,
    ProcessingInstruction = 7,
    Comment = 8,
    Document = 9,
    DocumentType = 10,
    DocumentFragment = 11,
    Notation = 12,
};

}  // namespace svg

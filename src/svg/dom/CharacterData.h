// The base of text, CDATA and comment nodes. Their text lives in the node's
// value; `data` and `length` are declared for the DOM and never filled, and
// the editing operations are inert.
#pragma once

#include <optional>
#include <string>

#include "svg/dom/Node.h"

namespace svg {

class CharacterData : public Node {
public:
    // Nothing sets it: the text is the node value. Answered without a field,
    // as a plan holds a text node between every two elements.
    const std::optional<std::string>& data() const {
        static const std::optional<std::string> none;
        return none;
    }
    unsigned long length() const { return 0; }

    std::optional<std::string> substringData(unsigned long /*offset*/, unsigned long /*count*/) const {
        return std::nullopt;
    }
    void appendData(const std::string& /*arg*/) {}
    void insertData(unsigned long /*offset*/, const std::string& /*arg*/) {}
    void deleteData(unsigned long /*offset*/, unsigned long /*count*/) {}
    void replaceData(unsigned long /*offset*/, unsigned long /*count*/, const std::string& /*arg*/) {}

    std::string className() const override { return "CharacterData"; }

protected:
    CharacterData(DOMNodeType type, std::string name, std::string value)
        : Node(type, std::move(name), std::move(value)) {}
};

}  // namespace svg

// A text node ("#text"); the parser flushes character data into these.
#pragma once

#include <memory>
#include <string>

#include "svg/dom/CharacterData.h"

namespace svg {

class Text : public CharacterData {
public:
    explicit Text(std::string value) : CharacterData(DOMNodeType::Text, "#text", std::move(value)) {}

    std::shared_ptr<Text> splitText(unsigned long /*offset*/) { return nullptr; }  // inert

    std::string className() const override { return "Text"; }

protected:
    Text(DOMNodeType type, std::string name, std::string value)
        : CharacterData(type, std::move(name), std::move(value)) {}
};

}  // namespace svg

// A comment node ("#comment").
#pragma once

#include <string>

#include "svg/dom/CharacterData.h"

namespace svg {

class Comment : public CharacterData {
public:
    explicit Comment(std::string value) : CharacterData(DOMNodeType::Comment, "#comment", std::move(value)) {}

    std::string className() const override { return "Comment"; }
};

}  // namespace svg

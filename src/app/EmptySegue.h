// A segue that goes nowhere: a storyboard trigger whose work the source does
// itself in prepareForSegue.
#pragma once

#include "uikit/UIStoryboardSegue.h"

class EmptySegue : public uikit::UIStoryboardSegue {
public:
    using uikit::UIStoryboardSegue::UIStoryboardSegue;
    void perform() override {}
    std::string className() const override { return "EmptySegue"; }
};

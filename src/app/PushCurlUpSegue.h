// The replace segue whose old screen curls up.
#pragma once

#include "app/CustomReplaceCurlSegue.h"

class PushCurlUpSegue : public CustomReplaceCurlSegue {
public:
    PushCurlUpSegue(std::string identifier, uikit::UIViewControllerPtr source, uikit::UIViewControllerPtr destination);
    std::string className() const override { return "PushCurlUpSegue"; }
};

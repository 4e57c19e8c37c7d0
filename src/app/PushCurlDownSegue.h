// The replace segue whose old screen curls down.
#pragma once

#include "app/CustomReplaceCurlSegue.h"

class PushCurlDownSegue : public CustomReplaceCurlSegue {
public:
    PushCurlDownSegue(std::string identifier, uikit::UIViewControllerPtr source,
                      uikit::UIViewControllerPtr destination);
    std::string className() const override { return "PushCurlDownSegue"; }
};

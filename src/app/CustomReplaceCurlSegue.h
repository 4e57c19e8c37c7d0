// A segue that replaces the source screen by the destination behind a
// screenshot of the source, then, 0.1 s later, removes the screenshot in a
// 1.0 s view transition with `animationType` as its options (a curl uncovers
// the new screen). The pad keeps the split view's menu button on the
// destination and swaps the top of the stack; the phone pops and pushes.
// Main thread only.
#pragma once

#include <memory>
#include <string>

#include "uikit/UIStoryboardSegue.h"
#include "uikit/UIViewAnimation.h"

class CustomReplaceCurlSegue : public uikit::UIStoryboardSegue {
public:
    CustomReplaceCurlSegue(std::string identifier, uikit::UIViewControllerPtr source,
                           uikit::UIViewControllerPtr destination);

    // None by default.
    uikit::UIViewAnimationOptions animationType() const { return animationType_; }
    void setAnimationType(uikit::UIViewAnimationOptions options) { animationType_ = options; }

    void perform() override;
    std::string className() const override { return "CustomReplaceCurlSegue"; }

private:
    uikit::UIViewAnimationOptions animationType_ = uikit::UIViewAnimationOptionTransitionNone;
};

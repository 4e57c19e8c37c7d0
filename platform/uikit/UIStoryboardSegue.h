// A segue: the move from a source controller to a destination, named by its
// identifier. perform does the move; subclasses (the storyboard's kinds and
// the application's custom segue classes) override it. A segue built in code
// runs the handler it was given.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "foundation/Object.h"
#include "uikit/UIViewController.h"

namespace uikit {

class UIStoryboardSegue : public foundation::Object {
public:
    using PerformHandler = std::function<void()>;

    UIStoryboardSegue(std::string identifier, UIViewControllerPtr source, UIViewControllerPtr destination);
    // A segue whose perform runs the handler.
    static std::shared_ptr<UIStoryboardSegue> segueWithIdentifier(std::string identifier, UIViewControllerPtr source,
                                                                  UIViewControllerPtr destination,
                                                                  PerformHandler performHandler);

    const std::string& identifier() const { return identifier_; }
    const UIViewControllerPtr& sourceViewController() const { return source_; }
    const UIViewControllerPtr& destinationViewController() const { return destination_; }

    // The base runs the handler given in code, else does nothing.
    virtual void perform();

    std::string className() const override { return "UIStoryboardSegue"; }

private:
    std::string identifier_;
    UIViewControllerPtr source_;
    UIViewControllerPtr destination_;
    PerformHandler performHandler_;
};

using UIStoryboardSeguePtr = std::shared_ptr<UIStoryboardSegue>;

}  // namespace uikit

// What can take the keyboard's input: views and controllers. The application
// has at most one first responder at a time; a responder takes the role only
// when it says it can (canBecomeFirstResponder) and the present one lets go
// (canResignFirstResponder). Subclasses react in didBecomeFirstResponder /
// didResignFirstResponder (a text field shows and hides the keyboard there).
// The responder chain runs from a view to its controller (when it is that
// controller's view) or else its superview, and from a controller to its
// view's superview. Main thread only.
#pragma once

#include <memory>
#include <string>

#include "foundation/Object.h"

namespace uikit {

class UIResponder;
using UIResponderPtr = std::shared_ptr<UIResponder>;

class UIResponder : public foundation::Object {
public:
    ~UIResponder() override;

    virtual UIResponderPtr nextResponder() const { return nullptr; }

    // Sent to what an interface file (storyboard scene, nib) made, once it
    // was made and connected.
    virtual void awakeFromNib() {}

    virtual bool canBecomeFirstResponder() const { return false; }
    virtual bool canResignFirstResponder() const { return true; }
    // True when the receiver is (or already was) the first responder. The
    // receiver must be owned by a shared_ptr.
    virtual bool becomeFirstResponder();
    // True when the receiver is no longer the first responder (also when it
    // never was).
    virtual bool resignFirstResponder();
    bool isFirstResponder() const;
    // Lets go of the role even when canResignFirstResponder says no (a
    // forced end of editing).
    void forceResignFirstResponder();

    // The application's first responder, or null.
    static UIResponderPtr currentFirstResponder();

    std::string className() const override { return "UIResponder"; }

protected:
    virtual void didBecomeFirstResponder() {}
    virtual void didResignFirstResponder() {}
};

}  // namespace uikit

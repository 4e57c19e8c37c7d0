// A tap: fired with a number of taps, it recognises when that many are
// required (one unless set).
#pragma once

#include "uikit/UIGestureRecognizer.h"

namespace uikit {

class UITapGestureRecognizer : public UIGestureRecognizer {
public:
    using UIGestureRecognizer::UIGestureRecognizer;

    unsigned numberOfTapsRequired() const { return numberOfTapsRequired_; }
    void setNumberOfTapsRequired(unsigned taps) { numberOfTapsRequired_ = taps; }

    // The simulated taps at a point of the view.
    bool fireAtPoint(graphics::Point point, unsigned taps);
    bool fireAtPoint(graphics::Point point) { return fireAtPoint(point, 1); }

    std::string className() const override { return "UITapGestureRecognizer"; }

protected:
    bool accepts() const override { return taps_ == numberOfTapsRequired_; }

private:
    unsigned numberOfTapsRequired_ = 1;
    unsigned taps_ = 1;
};

}  // namespace uikit

// A swipe in one or more directions (a mask, right by default): fired in a
// direction, it recognises when its mask holds that direction; the target
// reads the direction it was fired in from direction().
#pragma once

#include "uikit/UIGestureRecognizer.h"

namespace uikit {

using UISwipeGestureRecognizerDirection = unsigned;
inline constexpr UISwipeGestureRecognizerDirection UISwipeGestureRecognizerDirectionRight = 1 << 0;
inline constexpr UISwipeGestureRecognizerDirection UISwipeGestureRecognizerDirectionLeft = 1 << 1;
inline constexpr UISwipeGestureRecognizerDirection UISwipeGestureRecognizerDirectionUp = 1 << 2;
inline constexpr UISwipeGestureRecognizerDirection UISwipeGestureRecognizerDirectionDown = 1 << 3;

class UISwipeGestureRecognizer : public UIGestureRecognizer {
public:
    using UIGestureRecognizer::UIGestureRecognizer;

    // The directions it recognises; while its targets run, the one it was
    // fired in.
    UISwipeGestureRecognizerDirection direction() const { return fired_ ? fired_ : direction_; }
    void setDirection(UISwipeGestureRecognizerDirection direction) { direction_ = direction; }

    // The simulated swipe in a direction, starting at a point of the view.
    // Fired through the base class, a swipe goes the way it recognises.
    bool fireAtPoint(graphics::Point point, UISwipeGestureRecognizerDirection direction);
    using UIGestureRecognizer::fireAtPoint;

    std::string className() const override { return "UISwipeGestureRecognizer"; }

protected:
    bool accepts() const override { return fired_ == 0 || (direction_ & fired_) != 0; }

private:
    UISwipeGestureRecognizerDirection direction_ = UISwipeGestureRecognizerDirectionRight;
    // Set while a directed firing runs.
    UISwipeGestureRecognizerDirection fired_ = 0;
};

}  // namespace uikit

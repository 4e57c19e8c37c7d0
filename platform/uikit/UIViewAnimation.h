// What the view animations record. The animations block runs at once, so the
// model values are final as soon as the call returns; the record says what
// would have moved on screen, and the completion runs with finished YES when
// the clock passes delay + duration. A view's transform and alpha changed in
// the block also keep where they started, so a screenshot taken while the
// animation runs draws them part way (UIViewPresentation).
#pragma once

#include <memory>
#include <vector>

namespace uikit {

class UIView;

using UIViewAnimationOptions = unsigned long;
inline constexpr UIViewAnimationOptions UIViewAnimationOptionLayoutSubviews = 1 << 0;
inline constexpr UIViewAnimationOptions UIViewAnimationOptionAllowUserInteraction = 1 << 1;
inline constexpr UIViewAnimationOptions UIViewAnimationOptionBeginFromCurrentState = 1 << 2;
inline constexpr UIViewAnimationOptions UIViewAnimationOptionRepeat = 1 << 3;
inline constexpr UIViewAnimationOptions UIViewAnimationOptionAutoreverse = 1 << 4;
inline constexpr UIViewAnimationOptions UIViewAnimationOptionCurveEaseInOut = 0 << 16;
inline constexpr UIViewAnimationOptions UIViewAnimationOptionCurveEaseIn = 1 << 16;
inline constexpr UIViewAnimationOptions UIViewAnimationOptionCurveEaseOut = 2 << 16;
inline constexpr UIViewAnimationOptions UIViewAnimationOptionCurveLinear = 3 << 16;
inline constexpr UIViewAnimationOptions UIViewAnimationOptionTransitionNone = 0 << 20;
inline constexpr UIViewAnimationOptions UIViewAnimationOptionTransitionFlipFromLeft = 1 << 20;
inline constexpr UIViewAnimationOptions UIViewAnimationOptionTransitionFlipFromRight = 2 << 20;
inline constexpr UIViewAnimationOptions UIViewAnimationOptionTransitionCurlUp = 3 << 20;
inline constexpr UIViewAnimationOptions UIViewAnimationOptionTransitionCurlDown = 4 << 20;
inline constexpr UIViewAnimationOptions UIViewAnimationOptionTransitionCrossDissolve = 5 << 20;
inline constexpr UIViewAnimationOptions UIViewAnimationOptionTransitionFlipFromTop = 6 << 20;
inline constexpr UIViewAnimationOptions UIViewAnimationOptionTransitionFlipFromBottom = 7 << 20;

enum class UIViewAnimationKind { Animation, Transition };

struct UIViewAnimationRecord {
    UIViewAnimationKind kind = UIViewAnimationKind::Animation;
    double duration = 0;
    double delay = 0;
    UIViewAnimationOptions options = 0;
    // The view of a transition; none for a plain animation.
    std::weak_ptr<UIView> view;
    // Set once the completion has run.
    bool finished = false;
};

// A view property an animation moves on screen.
enum class UIViewAnimatedProperty { Transform, Alpha };

// Inside an animations block: keeps the property's value before the change
// as where its animation starts (once per view and property). Called by the
// view's setters before they set.
void recordAnimatedChange(UIView& view, UIViewAnimatedProperty property);

// For its lifetime, every view with an animation under way at the clock's
// now shows its transform and alpha part way between the start and the
// model value (by the animation's curve); the model values come back when
// it ends. The renderer draws inside one. Main thread only.
class UIViewPresentation {
public:
    UIViewPresentation();
    ~UIViewPresentation();
    UIViewPresentation(const UIViewPresentation&) = delete;
    UIViewPresentation& operator=(const UIViewPresentation&) = delete;

private:
    struct Saved;
    std::vector<Saved> saved_;
};

}  // namespace uikit

// A gesture recogniser attached to a view: targets run when it recognises.
// There are no touches here; tests and the app mode fire a recogniser at a
// point of its view (fireAtPoint), which a disabled recogniser, or one on no
// view, ignores. The view keeps its recognisers; a recogniser knows its view
// weakly. Main thread only.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "foundation/Object.h"
#include "graphics/Geometry.h"

namespace uikit {

class UIView;
class UIGestureRecognizer;

enum class UIGestureRecognizerState { Possible, Began, Changed, Ended, Cancelled, Failed, Recognized = Ended };

class UIGestureRecognizer : public foundation::Object {
public:
    using Action = std::function<void(UIGestureRecognizer& recognizer)>;

    UIGestureRecognizer() = default;
    explicit UIGestureRecognizer(Action action) { addTarget(std::move(action)); }

    void addTarget(Action action) { targets_.push_back(std::move(action)); }
    void removeAllTargets() { targets_.clear(); }

    std::shared_ptr<UIView> view() const { return view_.lock(); }
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }
    bool cancelsTouchesInView() const { return cancelsTouchesInView_; }
    void setCancelsTouchesInView(bool value) { cancelsTouchesInView_ = value; }
    UIGestureRecognizerState state() const { return state_; }

    // Where the gesture happened, in the coordinates of `view` (of the
    // window when null).
    graphics::Point locationInView(const UIView* view) const;

    // The simulated gesture at a point of the recogniser's view. False, and no
    // target runs, when disabled or on no view.
    bool fireAtPoint(graphics::Point point);

    std::string className() const override { return "UIGestureRecognizer"; }

protected:
    // A subclass checks the gesture against what it asks for.
    virtual bool accepts() const { return true; }

private:
    friend class UIView;
    void setView(const std::shared_ptr<UIView>& view) { view_ = view; }

    std::vector<Action> targets_;
    std::weak_ptr<UIView> view_;
    bool enabled_ = true;
    bool cancelsTouchesInView_ = true;
    UIGestureRecognizerState state_ = UIGestureRecognizerState::Possible;
    graphics::Point location_;
};

using UIGestureRecognizerPtr = std::shared_ptr<UIGestureRecognizer>;

}  // namespace uikit

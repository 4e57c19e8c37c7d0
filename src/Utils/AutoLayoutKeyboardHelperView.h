// A spacer at the bottom of a screen whose height constraint follows the
// keyboard: the keyboard's height (in the root view, less the covered tab bar
// on the phone) while it shows, 0 once it hides, so the views laid out above
// it move up with the keyboard. Made with init() or from an interface file it
// listens to the keyboard; made with a frame alone it is a plain view. It
// stops listening when destroyed. Main thread only.
#pragma once

#include <memory>

#include "uikit/UIView.h"

namespace foundation {
struct Notification;
}
namespace uikit {
class NSLayoutConstraint;
}

class AutoLayoutKeyboardHelperView : public uikit::UIView {
public:
    static constexpr double kRestingHeight = 0;

    // The base view alone: no subscription.
    explicit AutoLayoutKeyboardHelperView(const graphics::Rect& frame = {});
    ~AutoLayoutKeyboardHelperView() override;

    // A helper listening to the keyboard.
    static std::shared_ptr<AutoLayoutKeyboardHelperView> init();
    void awakeFromNib() override;

    const std::shared_ptr<uikit::NSLayoutConstraint>& heightConstraint() const { return heightConstraint_; }
    void setHeightConstraint(std::shared_ptr<uikit::NSLayoutConstraint> constraint) {
        heightConstraint_ = std::move(constraint);
    }
    // The last keyboard animation duration.
    double duration() const { return duration_; }

    void keyboardWillShow(const foundation::Notification& notification);
    void keyboardWillHide(const foundation::Notification& notification);

    std::string className() const override { return "AutoLayoutKeyboardHelperView"; }

private:
    void subscribe();
    void animateSuperviewLayout();

    std::shared_ptr<uikit::NSLayoutConstraint> heightConstraint_;
    double duration_ = 0;
};

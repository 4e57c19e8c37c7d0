#include "Utils/AutoLayoutKeyboardHelperView.h"

#include "Utils/Utils.h"
#include "foundation/NotificationCenter.h"
#include "uikit/NSLayoutConstraint.h"
#include "uikit/UIKeyboard.h"

AutoLayoutKeyboardHelperView::AutoLayoutKeyboardHelperView(const graphics::Rect& frame) : uikit::UIView(frame) {}

AutoLayoutKeyboardHelperView::~AutoLayoutKeyboardHelperView() {
    foundation::NotificationCenter::defaultCenter().removeObserver(this);
}

std::shared_ptr<AutoLayoutKeyboardHelperView> AutoLayoutKeyboardHelperView::init() {
    auto view = std::make_shared<AutoLayoutKeyboardHelperView>();
    view->subscribe();
    return view;
}

void AutoLayoutKeyboardHelperView::awakeFromNib() {
    uikit::UIView::awakeFromNib();
    subscribe();
}

void AutoLayoutKeyboardHelperView::subscribe() {
    setTranslatesAutoresizingMaskIntoConstraints(false);
    auto& center = foundation::NotificationCenter::defaultCenter();
    // A second set-up must not double the calls.
    center.removeObserver(this);
    center.addObserver(
        this, [this](const foundation::Notification& n) { keyboardWillShow(n); },
        uikit::UIKeyboardWillShowNotification);
    center.addObserver(
        this, [this](const foundation::Notification& n) { keyboardWillHide(n); },
        uikit::UIKeyboardWillHideNotification);
}

void AutoLayoutKeyboardHelperView::keyboardWillShow(const foundation::Notification& notification) {
    // The platform hands the duration over as a single-precision number.
    duration_ = static_cast<float>(notification.userInfo[uikit::UIKeyboardAnimationDurationUserInfoKey].doubleValue());
    if (heightConstraint_) {
        heightConstraint_->setConstant(Utils::getKeyboardHeightFromKeyboardNotification(notification, *this));
    }
    animateSuperviewLayout();
}

void AutoLayoutKeyboardHelperView::keyboardWillHide(const foundation::Notification&) {
    if (heightConstraint_) heightConstraint_->setConstant(kRestingHeight);
    if (auto parent = superview()) parent->setNeedsUpdateConstraints();
    animateSuperviewLayout();
}

void AutoLayoutKeyboardHelperView::animateSuperviewLayout() {
    std::weak_ptr<uikit::UIView> parent = superview();
    uikit::UIView::animateWithDuration(duration_, [parent] {
        if (auto view = parent.lock()) view->layoutIfNeeded();
    });
}

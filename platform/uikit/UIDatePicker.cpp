#include "uikit/UIDatePicker.h"

namespace uikit {

UIDatePicker::UIDatePicker(const graphics::Rect& frame) : UIControl(frame), date_(foundation::Date::now()) {}

void UIDatePicker::setDatePickerMode(UIDatePickerMode mode) {
    mode_ = mode;
    setNeedsDisplay();
}

foundation::Date UIDatePicker::clamped(foundation::Date date) const {
    if (minimumDate_ && date < *minimumDate_)
        return *minimumDate_;
    if (maximumDate_ && date > *maximumDate_)
        return *maximumDate_;
    return date;
}

void UIDatePicker::setDate(foundation::Date date, bool animated) {
    date_ = clamped(date);
    lastChangeAnimated_ = animated;
    setNeedsDisplay();
}

void UIDatePicker::setMinimumDate(std::optional<foundation::Date> date) {
    minimumDate_ = date;
    date_ = clamped(date_);
}

void UIDatePicker::setMaximumDate(std::optional<foundation::Date> date) {
    maximumDate_ = date;
    date_ = clamped(date_);
}

bool UIDatePicker::chooseDate(foundation::Date date) {
    if (!acceptsTouches()) return false;
    setDate(date, true);
    sendActionsForControlEvents(UIControlEventValueChanged);
    return true;
}

}  // namespace uikit

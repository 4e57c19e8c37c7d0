#include "uikit/UIDatePicker.h"


#include "foundation/DateFormatter.h"
#include "foundation/Locale.h"
#include "graphics/DrawingContext.h"
#include "graphics/MutablePath.h"
#include "uikit/NSStringDrawing.h"
#include "uikit/UIFont.h"

namespace uikit {

namespace {

const char* modeName(UIDatePickerMode mode) {
    switch (mode) {
        case UIDatePickerMode::Time: return "time";
        case UIDatePickerMode::Date: return "date";
        case UIDatePickerMode::DateAndTime: return "date-and-time";
        case UIDatePickerMode::CountDownTimer: return "countdown";
    }
    return "date-and-time";
}

}  // namespace

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

std::string UIDatePicker::displayedValue() const {
    if (mode_ == UIDatePickerMode::CountDownTimer) {
        // The time of day read as a duration, as the wheels show hours and minutes.
        foundation::DateFormatter clock;
        clock.setLocale(foundation::Locale("en_US"));
        clock.setTimeZone(timeZone_.value_or(foundation::TimeZone::local()));
        clock.setDateFormat("H' hours 'm' min'");
        return clock.stringFromDate(date_);
    }
    foundation::DateFormatter formatter;
    formatter.setLocale(foundation::Locale("en_US"));
    formatter.setTimeZone(timeZone_.value_or(foundation::TimeZone::local()));
    formatter.setDateFormat(mode_ == UIDatePickerMode::Time   ? "h:mm a"
                            : mode_ == UIDatePickerMode::Date ? "MMMM d, yyyy"
                                                              : "EEE MMM d  h:mm a");
    return formatter.stringFromDate(date_);
}

std::string UIDatePicker::screenDumpDetail() const {
    return std::string("mode=") + modeName(mode_) + " value=\"" + displayedValue() + "\"";
}

void UIDatePicker::drawRect(const graphics::Rect& rect) {
    auto* context = UIGraphicsGetCurrentContext();
    if (!context) return;
    // The wheels' light ground, the selection band's two lines around the
    // middle and the chosen value on the band.
    constexpr double kRowHeight = 32;
    graphics::MutablePath ground;
    ground.addRect(rect);
    context->fillPath(ground, graphics::Color::gray(0.97));
    const double middle = rect.origin.y + rect.size.height / 2;
    for (double y : {middle - kRowHeight / 2, middle + kRowHeight / 2}) {
        graphics::MutablePath line;
        line.addRect({rect.origin.x, y - 0.25, rect.size.width, 0.5});
        context->fillPath(line, graphics::Color::gray(0.75));
    }
    auto lines = NSStringDrawing::layOut(displayedValue(), UIFont::systemFontOfSize(21), rect.size.width, 1);
    const double height = NSStringDrawing::sizeOfLines(lines).height;
    NSStringDrawing::drawLines(*context, lines, {rect.origin.x, middle - height / 2, rect.size.width, height},
                               NSTextAlignment::Center,
                               isEnabled() ? graphics::Color::black() : graphics::Color::gray(0.6));
}

}  // namespace uikit

// A date picker: a mode (time, date, both, countdown), a date kept within the
// optional minimum and maximum, and the time zone it shows the date in. A
// person's choice (chooseDate, for tests and the app mode) sets the date and
// sends value-changed; setting the date in code sends nothing. It shows the
// chosen value in its mode's form on the selection band of its zone.
#pragma once

#include <memory>
#include <optional>

#include "foundation/Date.h"
#include "foundation/TimeZone.h"
#include "uikit/UIControl.h"

namespace uikit {

enum class UIDatePickerMode { Time = 0, Date = 1, DateAndTime = 2, CountDownTimer = 3 };

class UIDatePicker : public UIControl {
public:
    static constexpr double kHeight = 216;

    // The date is the clock's now when the picker is made.
    explicit UIDatePicker(const graphics::Rect& frame = {});

    UIDatePickerMode datePickerMode() const { return mode_; }
    void setDatePickerMode(UIDatePickerMode mode);

    foundation::Date date() const { return date_; }
    // Clamped to the minimum and maximum.
    void setDate(foundation::Date date) { setDate(date, false); }
    void setDate(foundation::Date date, bool animated);
    bool lastChangeAnimated() const { return lastChangeAnimated_; }
    const std::optional<foundation::Date>& minimumDate() const { return minimumDate_; }
    void setMinimumDate(std::optional<foundation::Date> date);
    const std::optional<foundation::Date>& maximumDate() const { return maximumDate_; }
    void setMaximumDate(std::optional<foundation::Date> date);
    // The system's unless set.
    const std::optional<foundation::TimeZone>& timeZone() const { return timeZone_; }
    void setTimeZone(std::optional<foundation::TimeZone> zone) { timeZone_ = std::move(zone); }

    // A person's choice; false when the picker takes no touches.
    bool chooseDate(foundation::Date date);

    graphics::Size sizeThatFits(graphics::Size size) const override { return {size.width, kHeight}; }

    // The chosen value as the wheels show it ("Mon Jun 15  9:30 AM").
    std::string displayedValue() const;
    std::string screenDumpDetail() const override;
    void drawRect(const graphics::Rect& rect) override;

    std::string className() const override { return "UIDatePicker"; }

private:
    foundation::Date clamped(foundation::Date date) const;

    UIDatePickerMode mode_ = UIDatePickerMode::DateAndTime;
    foundation::Date date_;
    bool lastChangeAnimated_ = false;
    std::optional<foundation::Date> minimumDate_;
    std::optional<foundation::Date> maximumDate_;
    std::optional<foundation::TimeZone> timeZone_;
};

using UIDatePickerPtr = std::shared_ptr<UIDatePicker>;

}  // namespace uikit

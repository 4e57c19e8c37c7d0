#include "programme/ChangePersonalEntryDateViewController.h"

#include "Utils/DateHelper.h"
#include <cstdio>

#include "foundation/Calendar.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UITextField.h"
#include "uikit/UIView.h"

namespace {

constexpr const char* kDoneButtonOutlet = "doneButton";
constexpr const char* kDateCancelButtonOutlet = "cancelButton";

int minutesOfDay(const foundation::Calendar& calendar, foundation::Date date) {
    const auto fields = calendar.components(date);
    return fields.hour * 60 + fields.minute;
}

constexpr double kFieldLeft = 15;
constexpr double kFieldWidth = 200;
constexpr double kFieldHeight = 31;

std::shared_ptr<uikit::UITextField> makeField(double y, const char* outlet, const char* placeholder) {
    auto field = std::make_shared<uikit::UITextField>(graphics::Rect{kFieldLeft, y, kFieldWidth, kFieldHeight});
    field->setOutletName(std::string(outlet));
    field->setPlaceholder(std::string(placeholder));
    field->setBorderStyle(uikit::UITextBorderStyle::RoundedRect);
    return field;
}

std::string twoDigits(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

std::string dayText(const foundation::Calendar& calendar, foundation::Date date) {
    const auto fields = calendar.components(date);
    return std::to_string(fields.year) + "-" + twoDigits(fields.month) + "-" + twoDigits(fields.day);
}

std::string timeText(const foundation::Calendar& calendar, foundation::Date date) {
    const auto fields = calendar.components(date);
    return twoDigits(fields.hour) + ":" + twoDigits(fields.minute);
}

// "yyyy-MM-dd": midnight of that day; "HH:mm": that time on the day of
// `base`; nothing for a text of another shape or out of range.
std::optional<foundation::Date> parseDay(const foundation::Calendar& calendar, const std::string& text) {
    foundation::DateComponents fields;
    char rest = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &fields.year, &fields.month, &fields.day, &rest) != 3) return std::nullopt;
    if (fields.month < 1 || fields.month > 12 || fields.day < 1 || fields.day > 31) return std::nullopt;
    return calendar.dateFromComponents(fields);
}

std::optional<foundation::Date> parseTime(const foundation::Calendar& calendar, const std::string& text,
                                          foundation::Date base) {
    int hour = 0, minute = 0;
    char rest = 0;
    if (std::sscanf(text.c_str(), "%2d:%2d%c", &hour, &minute, &rest) != 2) return std::nullopt;
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59) return std::nullopt;
    auto fields = calendar.components(base);
    fields.hour = hour;
    fields.minute = minute;
    fields.second = 0;
    return calendar.dateFromComponents(fields);
}

uikit::UIStoryboardSegueDefinition unwindSegue(const char* identifier, const char* action, const char* outlet) {
    return uikit::UIStoryboardSegueDefinition::unwind(identifier, action,
                                                      {uikit::UIStoryboardSegueTrigger::Kind::BarButtonItem, outlet});
}

}  // namespace

void ChangePersonalEntryDateViewController::addScene(uikit::UIStoryboard& storyboard) {
    storyboard.addScene(
        kStoryboardIdentifier,
        [](uikit::UIStoryboard&) { return std::make_shared<ChangePersonalEntryDateViewController>(); },
        [](uikit::UIViewController& owner, uikit::SceneOutlets& outlets) {
            auto& screen = static_cast<ChangePersonalEntryDateViewController&>(owner);
            auto done = uikit::UIBarButtonItem::withTitle(std::string("Done"), uikit::UIBarButtonItemStyle::Done);
            auto cancel = uikit::UIBarButtonItem::withTitle(std::string("Cancel"), uikit::UIBarButtonItemStyle::Plain);
            screen.doneButton_ = done;
            screen.cancelButton_ = cancel;
            screen.navigationItem()->setRightBarButtonItem(outlets.connect(kDoneButtonOutlet, done));
            screen.navigationItem()->setLeftBarButtonItem(outlets.connect(kDateCancelButtonOutlet, cancel));
            auto view = std::make_shared<uikit::UIView>(graphics::Rect{0, 0, 320, 480});
            view->setBackgroundColor(graphics::Color::white());
            auto day = makeField(80, kSelectedDateField, "yyyy-MM-dd");
            auto start = makeField(80 + 2 * kFieldHeight, kStartTimeField, "HH:mm");
            auto end = makeField(80 + 4 * kFieldHeight, kEndTimeField, "HH:mm");
            for (const auto& field : {day, start, end}) view->addSubview(field);
            screen.selectedDateField_ = day;
            screen.startTimeField_ = start;
            screen.endTimeField_ = end;
            screen.showValuesInFields();
            return view;
        });
    storyboard.addSegue(kStoryboardIdentifier, unwindSegue(kDoneSegue, kDoneUnwindAction, kDoneButtonOutlet));
    storyboard.addSegue(kStoryboardIdentifier, unwindSegue(kCancelSegue, kCancelUnwindAction, kDateCancelButtonOutlet));
}

void ChangePersonalEntryDateViewController::setSelectedDate(std::optional<foundation::Date> date) {
    recordCall(date ? "setSelectedDate: " + DateHelper::programmeTitleForDate(*date, true) : "setSelectedDate: nil");
    selectedDate_ = date;
    showValuesInFields();
}

void ChangePersonalEntryDateViewController::setStartTime(std::optional<foundation::Date> time) {
    recordCall(time ? "setStartTime: " + DateHelper::programmeTimeForDate(*time) : "setStartTime: nil");
    startTime_ = time;
    showValuesInFields();
}

void ChangePersonalEntryDateViewController::setEndTime(std::optional<foundation::Date> time) {
    recordCall(time ? "setEndTime: " + DateHelper::programmeTimeForDate(*time) : "setEndTime: nil");
    endTime_ = time;
    showValuesInFields();
}

void ChangePersonalEntryDateViewController::setDatesRange(std::vector<foundation::Date> range) {
    std::string days;
    for (const auto& day : range) days += (days.empty() ? "" : " - ") + DateHelper::programmeTitleForDate(day, true);
    recordCall("setDatesRange: " + (days.empty() ? std::string("none") : days));
    datesRange_ = std::move(range);
}

bool ChangePersonalEntryDateViewController::startIsAfterEnd(foundation::Date start, foundation::Date end) {
    const foundation::Calendar calendar(DateHelper::currentMeetingTimeZone());
    return minutesOfDay(calendar, start) > minutesOfDay(calendar, end);
}

void ChangePersonalEntryDateViewController::showValuesInFields() {
    const foundation::Calendar calendar(DateHelper::currentMeetingTimeZone());
    const auto show = [](const std::weak_ptr<uikit::UITextField>& weak, std::optional<std::string> text) {
        if (auto field = weak.lock()) field->setText(std::move(text));
    };
    show(selectedDateField_, selectedDate_ ? std::optional(dayText(calendar, *selectedDate_)) : std::nullopt);
    show(startTimeField_, startTime_ ? std::optional(timeText(calendar, *startTime_)) : std::nullopt);
    show(endTimeField_, endTime_ ? std::optional(timeText(calendar, *endTime_)) : std::nullopt);
}

void ChangePersonalEntryDateViewController::applyFieldTexts() {
    const foundation::Calendar calendar(DateHelper::currentMeetingTimeZone());
    // A field still showing its value leaves that value as it is (seconds and all).
    const auto edited = [](const std::weak_ptr<uikit::UITextField>& weak, const std::optional<std::string>& shown) {
        auto field = weak.lock();
        const auto text = field ? field->text().value_or("") : std::string();
        return text == shown.value_or("") ? std::string() : text;
    };
    const auto dayShown = selectedDate_ ? std::optional(dayText(calendar, *selectedDate_)) : std::nullopt;
    const auto startShown = startTime_ ? std::optional(timeText(calendar, *startTime_)) : std::nullopt;
    const auto endShown = endTime_ ? std::optional(timeText(calendar, *endTime_)) : std::nullopt;
    const auto day = parseDay(calendar, edited(selectedDateField_, dayShown));
    const foundation::Date base = day ? *day : selectedDate_.value_or(foundation::Date::now());
    const auto start = parseTime(calendar, edited(startTimeField_, startShown), base);
    const auto end = parseTime(calendar, edited(endTimeField_, endShown), base);
    if (day) setSelectedDate(day);
    if (start) setStartTime(start);
    if (end) setEndTime(end);
}

void ChangePersonalEntryDateViewController::onDoneExecuted() {
    uikit::UIStoryboard::performSegue(*this, kDoneSegue, doneButton(), true);
}

void ChangePersonalEntryDateViewController::onCancelExecuted() {
    uikit::UIStoryboard::performSegue(*this, kCancelSegue, cancelButton(), true);
}

bool ChangePersonalEntryDateViewController::shouldPerformSegueWithIdentifier(const std::string& identifier,
                                                                             const foundation::ObjectPtr& sender) {
    if (identifier != kDoneSegue) return BaseViewController::shouldPerformSegueWithIdentifier(identifier, sender);
    applyFieldTexts();
    if (startTime_ && endTime_ && startIsAfterEnd(*startTime_, *endTime_)) {
        auto alert = std::make_shared<uikit::UIAlertView>(std::string(kErrorTitle), std::string(kStartAfterEndMessage));
        alert->addButtonWithTitle("OK");
        alert->show();
        return false;
    }
    return true;
}

std::vector<std::pair<std::string, std::string>> ChangePersonalEntryDateViewController::screenDescriptionItems() const {
    auto items = stubDescriptionItems(className());
    if (selectedDate_) items.emplace_back("selectedDate", DateHelper::programmeTitleForDate(*selectedDate_, true));
    if (startTime_) items.emplace_back("startTime", DateHelper::programmeTimeForDate(*startTime_));
    if (endTime_) items.emplace_back("endTime", DateHelper::programmeTimeForDate(*endTime_));
    return items;
}

#include "programme/ChangePersonalEntryDateViewController.h"

#include "Utils/DateHelper.h"
#include "foundation/Calendar.h"
#include "Utils/Utils.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UIDatePicker.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UITableViewCell.h"
#include "uikit/UIView.h"

namespace {

constexpr const char* kPeDateDoneOutlet = "doneButton";
constexpr const char* kPeDateCancelOutlet = "cancelButton";
constexpr double kPeDateWidth = 320;
constexpr double kPeDateHeight = 480;
constexpr double kPeDateRowHeight = 44;
constexpr double kPeDateTableHeight = 3 * kPeDateRowHeight + 40;

int peDateMinutesOfDay(const foundation::Calendar& calendar, foundation::Date date) {
    const auto fields = calendar.components(date);
    return fields.hour * 60 + fields.minute;
}

uikit::UIStoryboardSegueDefinition peDateUnwind(const char* identifier, const char* action, const char* outlet) {
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
            screen.navigationItem()->setRightBarButtonItem(outlets.connect(kPeDateDoneOutlet, done));
            screen.navigationItem()->setLeftBarButtonItem(outlets.connect(kPeDateCancelOutlet, cancel));

            auto view = std::make_shared<uikit::UIView>(graphics::Rect{0, 0, kPeDateWidth, kPeDateHeight});
            view->setBackgroundColor(graphics::Color::white());
            auto table = outlets.connect(
                "datesTableView", std::make_shared<uikit::UITableView>(
                                      graphics::Rect{0, 0, kPeDateWidth, kPeDateTableHeight}, uikit::UITableViewStyle::Grouped));
            table->setRowHeight(kPeDateRowHeight);
            table->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
            auto picker = outlets.connect("datePicker", std::make_shared<uikit::UIDatePicker>(graphics::Rect{
                                                             0, kPeDateTableHeight, kPeDateWidth, uikit::UIDatePicker::kHeight}));
            picker->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
            view->addSubview(table);
            view->addSubview(picker);
            screen.datesTableView_ = table;
            screen.datePicker_ = picker;
            return view;
        });
    storyboard.addPrototypeCell(kStoryboardIdentifier, kCellIdentifier, [] {
        return std::make_shared<uikit::UITableViewCell>(uikit::UITableViewCellStyle::Value1, kCellIdentifier);
    });
    storyboard.addSegue(kStoryboardIdentifier, peDateUnwind(kDoneSegue, kDoneUnwindAction, kPeDateDoneOutlet));
    storyboard.addSegue(kStoryboardIdentifier, peDateUnwind(kCancelSegue, kCancelUnwindAction, kPeDateCancelOutlet));
}

void ChangePersonalEntryDateViewController::setSelectedDate(std::optional<foundation::Date> date) {
    selectedDate_ = date;
    reloadRows();
}

void ChangePersonalEntryDateViewController::setStartTime(std::optional<foundation::Date> time) {
    startTime_ = time;
    reloadRows();
}

void ChangePersonalEntryDateViewController::setEndTime(std::optional<foundation::Date> time) {
    endTime_ = time;
    reloadRows();
}

bool ChangePersonalEntryDateViewController::startIsAfterEnd(foundation::Date start, foundation::Date end) {
    const foundation::Calendar calendar(DateHelper::currentMeetingTimeZone());
    return peDateMinutesOfDay(calendar, start) > peDateMinutesOfDay(calendar, end);
}

std::optional<foundation::Date>& ChangePersonalEntryDateViewController::valueOfRow(int64_t row) {
    if (row == kStartTimeRow) return startTime_;
    if (row == kEndTimeRow) return endTime_;
    return selectedDate_;
}

void ChangePersonalEntryDateViewController::viewDidLoad() {
    BaseViewController::viewDidLoad();
    // Laid out below the bars, not under them.
    Utils::changeEdgesForController(*this, uikit::UIRectEdgeNone);
    auto self = std::static_pointer_cast<ChangePersonalEntryDateViewController>(shared_from_this());
    if (datesTableView_) {
        datesTableView_->setDataSource(self);
        datesTableView_->setDelegate(self);
        datesTableView_->reloadData();
        datesTableView_->selectRowAtIndexPath(uikit::NSIndexPath{0, kDateRow}, false,
                                              uikit::UITableViewScrollPosition::None);
    }
    if (!datePicker_) return;
    datePicker_->setTimeZone(DateHelper::currentMeetingTimeZone());
    // Bounds first, so that the value is not clamped by a stale range.
    datePicker_->setMinimumDate(datesRange_.empty() ? std::nullopt : std::optional(datesRange_.front()));
    datePicker_->setMaximumDate(datesRange_.empty() ? std::nullopt : std::optional(datesRange_.back()));
    showRowInPicker(kDateRow);
    const std::weak_ptr<ChangePersonalEntryDateViewController> weak = self;
    datePicker_->addTarget(
        [weak](uikit::UIControl&) {
            if (auto screen = weak.lock()) screen->valueChangedInPicker();
        },
        uikit::UIControlEventValueChanged);
}

void ChangePersonalEntryDateViewController::showRowInPicker(int64_t row) {
    if (!datePicker_) return;
    datePicker_->setDatePickerMode(row == kDateRow ? uikit::UIDatePickerMode::Date : uikit::UIDatePickerMode::Time);
    if (const auto& value = valueOfRow(row)) datePicker_->setDate(*value);
}

void ChangePersonalEntryDateViewController::valueChangedInPicker() {
    if (!datesTableView_ || !datePicker_) return;
    const auto selected = datesTableView_->indexPathForSelectedRow();
    if (!selected) return;
    valueOfRow(selected->row) = datePicker_->date();
    datesTableView_->reloadData();
    datesTableView_->selectRowAtIndexPath(selected, true, uikit::UITableViewScrollPosition::None);
}

void ChangePersonalEntryDateViewController::reloadRows() {
    if (!datesTableView_ || !isViewLoaded()) return;
    const auto selected = datesTableView_->indexPathForSelectedRow();
    datesTableView_->reloadData();
    if (selected) datesTableView_->selectRowAtIndexPath(selected, false, uikit::UITableViewScrollPosition::None);
}

int64_t ChangePersonalEntryDateViewController::tableViewNumberOfRowsInSection(uikit::UITableView&, int64_t) {
    return kRowCount;
}

uikit::UITableViewCellPtr ChangePersonalEntryDateViewController::tableViewCellForRowAtIndexPath(
    uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) {
    auto cell = tableView.dequeueReusableCellWithIdentifier(kCellIdentifier);
    if (!cell) cell = std::make_shared<uikit::UITableViewCell>(uikit::UITableViewCellStyle::Value1, kCellIdentifier);
    static constexpr const char* kTitles[kRowCount] = {"Date", "Start time", "End time"};
    const auto row = indexPath.row >= 0 && indexPath.row < kRowCount ? indexPath.row : kDateRow;
    cell->textLabel()->setText(std::string(kTitles[row]));
    const auto& value = valueOfRow(row);
    std::optional<std::string> detail;
    if (value)
        detail = row == kDateRow ? DateHelper::programmeTitleForDate(*value, true)
                                 : DateHelper::programmeTimeForDate(*value);
    if (cell->detailTextLabel()) cell->detailTextLabel()->setText(detail);
    return cell;
}

void ChangePersonalEntryDateViewController::tableViewDidSelectRowAtIndexPath(uikit::UITableView&,
                                                                             const uikit::NSIndexPath& indexPath) {
    showRowInPicker(indexPath.row);
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
    if (startTime_ && endTime_ && startIsAfterEnd(*startTime_, *endTime_)) {
        auto alert = std::make_shared<uikit::UIAlertView>(std::string(kErrorTitle), std::string(kStartAfterEndMessage));
        alert->addButtonWithTitle("OK");
        alert->show();
        return false;
    }
    return true;
}

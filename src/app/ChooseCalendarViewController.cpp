#include "app/ChooseCalendarViewController.h"

#include "app/ChooseCalendarControllerDelegate.h"
#include "eventkit/EKSource.h"
#include "uikit/UIFont.h"
#include "uikit/UILabel.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UITableViewCell.h"

namespace {

constexpr double kTitleFontSize = 17;

}  // namespace

void ChooseCalendarViewController::addScene(uikit::UIStoryboard& storyboard) {
    storyboard.addScene(
        kStoryboardIdentifier, [](uikit::UIStoryboard&) { return std::make_shared<ChooseCalendarViewController>(); },
        [](uikit::UIViewController& owner, uikit::SceneOutlets& outlets) -> std::shared_ptr<uikit::UIView> {
            auto table = outlets.connect("tableView", std::make_shared<uikit::UITableView>());
            static_cast<ChooseCalendarViewController&>(owner).tableView_ = table;
            return table;
        });
    storyboard.addPrototypeCell(kStoryboardIdentifier, kCellIdentifier, [] {
        return std::make_shared<uikit::UITableViewCell>(uikit::UITableViewCellStyle::Default, kCellIdentifier);
    });
    storyboard.addSegue(kStoryboardIdentifier, uikit::UIStoryboardSegueDefinition::unwind(kUnwindSegue, kUnwindAction));
}

void ChooseCalendarViewController::setCalendarSourcesData(std::vector<SourceCalendarsPtr> sources) {
    std::string titles;
    for (const auto& source : sources) {
        if (!titles.empty()) titles += ", ";
        titles += source && source->source() ? source->source()->title() : std::string("(null)");
    }
    recordCall("setCalendarSourcesData: " + titles);
    calendarSourcesData_ = std::move(sources);
    if (tableView_) tableView_->reloadData();
}

void ChooseCalendarViewController::setDelegate(std::weak_ptr<ChooseCalendarControllerDelegate> delegate) {
    auto held = delegate.lock();
    auto* object = dynamic_cast<foundation::Object*>(held.get());
    recordCall("setDelegate: " + (object ? object->className() : std::string(held ? "set" : "nil")));
    delegate_ = std::move(delegate);
}

void ChooseCalendarViewController::viewDidLoad() {
    BaseViewController::viewDidLoad();
    if (!tableView_) return;
    auto self = std::static_pointer_cast<ChooseCalendarViewController>(shared_from_this());
    tableView_->setDataSource(self);
    tableView_->setDelegate(self);
}

int64_t ChooseCalendarViewController::numberOfSectionsInTableView(uikit::UITableView&) {
    return static_cast<int64_t>(calendarSourcesData_.size());
}

int64_t ChooseCalendarViewController::tableViewNumberOfRowsInSection(uikit::UITableView&, int64_t section) {
    const auto& source = calendarSourcesData_.at(static_cast<size_t>(section));
    return source ? static_cast<int64_t>(source->supportedCalendars().size()) : 0;
}

std::optional<std::string> ChooseCalendarViewController::tableViewTitleForHeaderInSection(uikit::UITableView&,
                                                                                          int64_t section) {
    const auto& source = calendarSourcesData_.at(static_cast<size_t>(section));
    if (!source || !source->source()) return std::nullopt;
    return source->source()->title();
}

uikit::UITableViewCellPtr ChooseCalendarViewController::tableViewCellForRowAtIndexPath(
    uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) {
    auto cell = tableView.dequeueReusableCellWithIdentifier(kCellIdentifier);
    if (!cell) cell = std::make_shared<uikit::UITableViewCell>(uikit::UITableViewCellStyle::Default, kCellIdentifier);
    const auto& calendar = calendarSourcesData_.at(static_cast<size_t>(indexPath.section))
                               ->supportedCalendars()
                               .at(static_cast<size_t>(indexPath.row));
    cell->textLabel()->setText(calendar ? std::optional<std::string>(calendar->title()) : std::nullopt);
    cell->textLabel()->setFont(uikit::UIFont::systemFontOfSize(kTitleFontSize));
    return cell;
}

void ChooseCalendarViewController::tableViewDidSelectRowAtIndexPath(uikit::UITableView&,
                                                                    const uikit::NSIndexPath& indexPath) {
    selectedCalendar_ = calendarSourcesData_.at(static_cast<size_t>(indexPath.section))
                            ->supportedCalendars()
                            .at(static_cast<size_t>(indexPath.row));
    recordCall("selectedCalendar: " + (selectedCalendar_ ? selectedCalendar_->title() : std::string("nil")));
    performSegueWithIdentifier(kUnwindSegue, shared_from_this());
}

std::vector<std::pair<std::string, std::string>> ChooseCalendarViewController::screenDescriptionItems() const {
    return stubDescriptionItems(className());
}

#include "app/ChooseCalendarViewController.h"

#include "app/ChooseCalendarControllerDelegate.h"
#include "eventkit/EKSource.h"
#include "Utils/Utils.h"
#include "uikit/UIFont.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationController.h"
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
}

void ChooseCalendarViewController::setCalendarSourcesData(std::vector<SourceCalendarsPtr> sources) {
    calendarSourcesData_ = std::move(sources);
    if (tableView_) tableView_->reloadData();
}

void ChooseCalendarViewController::setDelegate(std::weak_ptr<ChooseCalendarControllerDelegate> delegate) {
    delegate_ = std::move(delegate);
}

void ChooseCalendarViewController::viewDidLoad() {
    BaseViewController::viewDidLoad();
    // Laid out below the bars, not under them.
    Utils::changeEdgesForController(*this, uikit::UIRectEdgeNone);
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

std::optional<double> ChooseCalendarViewController::tableViewHeightForRowAtIndexPath(uikit::UITableView&,
                                                                                    const uikit::NSIndexPath&) {
    return kRowHeight;
}

void ChooseCalendarViewController::tableViewDidSelectRowAtIndexPath(uikit::UITableView&,
                                                                    const uikit::NSIndexPath& indexPath) {
    const auto& source = calendarSourcesData_.at(static_cast<size_t>(indexPath.section));
    if (!source || indexPath.row < 0 || static_cast<size_t>(indexPath.row) >= source->supportedCalendars().size()) return;
    selectedCalendar_ = source->supportedCalendars()[static_cast<size_t>(indexPath.row)];
    // The pop may release the last strong reference but the caller's.
    auto self = std::static_pointer_cast<ChooseCalendarViewController>(shared_from_this());
    if (auto navigation = navigationController()) navigation->popViewControllerAnimated(false);
    if (auto delegate = delegate_.lock()) delegate->onSelectCalendarToSync(*self);
}

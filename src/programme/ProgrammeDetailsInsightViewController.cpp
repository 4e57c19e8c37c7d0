#include "programme/ProgrammeDetailsInsightViewController.h"

#include "Utils/Utils.h"
#include "coredata/ManagedObject.h"
#include "coredata/Predicate.h"
#include "lists/DetailsSwipeScene.h"
#include "lists/FilterFetching.h"
#include "model/ModelReading.h"
#include "model/QVACoreDataBaseSession.h"
#include "model/QVACoreDataSession.h"
#include "model/QVASessionInsight.h"
#include "programme/QVASessionHeaderView.h"
#include "programme/SessionPageLayout.h"
#include "store/CoreDataStack.h"
#include "uikit/UIFont.h"
#include "uikit/UILabel.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UITableView.h"

void ProgrammeDetailsInsightViewController::addScene(uikit::UIStoryboard& storyboard) {
    DetailsSwipeScene::addScene(storyboard, kStoryboardIdentifier,
                                [] { return std::make_shared<ProgrammeDetailsInsightViewController>(); });
}

void ProgrammeDetailsInsightViewController::loadView() {
    DetailsWithListBaseViewController::loadView();
    if (!isViewLoaded()) setView(std::make_shared<uikit::UIView>(graphics::Rect(0, 0, 320, 480)));
    const auto& root = view();
    root->setBackgroundColor(graphics::Color::white());
    auto table = std::make_shared<uikit::UITableView>(root->bounds());
    table->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);
    table->setOutletName(std::string("tableView"));
    table->setAllowsSelection(false);
    root->addSubview(table);
    setTableView(table);
}

void ProgrammeDetailsInsightViewController::viewDidLoad() {
    if (auto table = tableView()) {
        auto self = std::dynamic_pointer_cast<ProgrammeDetailsInsightViewController>(shared_from_this());
        table->setDataSource(self);
        table->setDelegate(self);
    }
    DetailsWithListBaseViewController::viewDidLoad();
}

void ProgrammeDetailsInsightViewController::trackAnalyticsEvent() {
    trackSessionPageEvent(kAnalyticsEvent, selectionPropertyId());
}

void ProgrammeDetailsInsightViewController::didRotateFromInterfaceOrientation(uikit::UIInterfaceOrientation orientation) {
    DetailsWithListBaseViewController::didRotateFromInterfaceOrientation(orientation);
    // The rows' heights follow the table's new width.
    rebuildRows();
    if (auto table = tableView()) table->reloadData();
}

void ProgrammeDetailsInsightViewController::viewDidLayoutSubviews() {
    DetailsWithListBaseViewController::viewDidLayoutSubviews();
    auto table = tableView();
    if (table && measuredWidth_ > 0 && table->frame().size.width != measuredWidth_) table->reloadData();
}

void ProgrammeDetailsInsightViewController::updateUIContentForObject(
    const std::shared_ptr<coredata::ManagedObject>& object) {
    auto session = std::dynamic_pointer_cast<QVACoreDataBaseSession>(object);
    auto table = tableView();
    if (!session || !table) return;
    SessionPageLayout::showSessionHeaderOnTable(*this, sessionHeaderView_, table, session);
    rebuildRows();
    table->reloadData();
}

void ProgrammeDetailsInsightViewController::rebuildRows() {
    if (!selectionPropertyId()) return;
    FilterFetching::Query query;
    query.entityName = QVACoreDataSession::kEntityName;
    query.predicate = coredata::Predicate::withFormat("itemId = %@", foundation::Value(*selectionPropertyId()));
    query.properties = {"insights"};
    const auto found = FilterFetching::fetchDictionaries(coreDataStack(), query);
    if (found.empty()) return;
    rows_ = ModelReading::FieldReader(found.front()).archivedObjects<QVASessionInsight>("insights");
}

std::optional<std::string> ProgrammeDetailsInsightViewController::insightText(int64_t row) const {
    if (row < 0 || static_cast<size_t>(row) >= rows_.size() || !rows_[static_cast<size_t>(row)]) return std::nullopt;
    return rows_[static_cast<size_t>(row)]->sessionInsightDescription();
}

int64_t ProgrammeDetailsInsightViewController::numberOfSectionsInTableView(uikit::UITableView&) { return 1; }

int64_t ProgrammeDetailsInsightViewController::tableViewNumberOfRowsInSection(uikit::UITableView&, int64_t) {
    return static_cast<int64_t>(rows_.size());
}

std::optional<double> ProgrammeDetailsInsightViewController::tableViewHeightForHeaderInSection(uikit::UITableView&,
                                                                                             int64_t) {
    return 0;
}

uikit::UITableViewCellPtr ProgrammeDetailsInsightViewController::tableViewCellForRowAtIndexPath(
    uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) {
    auto cell = tableView.dequeueReusableCellWithIdentifier(kInsightCellIdentifier);
    if (!cell) cell = std::make_shared<uikit::UITableViewCell>(uikit::UITableViewCellStyle::Default, kInsightCellIdentifier);
    cell->setSelectionStyle(uikit::UITableViewCellSelectionStyle::None);
    if (const auto& label = cell->textLabel()) {
        label->setFont(uikit::UIFont::fontWithName(kFontName, kFontSize));
        label->setNumberOfLines(0);
        label->setText(insightText(indexPath.row));
    }
    return cell;
}

std::optional<double> ProgrammeDetailsInsightViewController::tableViewHeightForRowAtIndexPath(
    uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) {
    measuredWidth_ = tableView.frame().size.width;
    return Utils::getMeasuredSizeOfLabelWithText(insightText(indexPath.row),
                                                 uikit::UIFont::fontWithName(kFontName, kFontSize),
                                                 tableView.frame().size.width)
               .height +
           kRowPadding;
}

void ProgrammeDetailsInsightViewController::tableViewDidSelectRowAtIndexPath(uikit::UITableView&,
                                                                            const uikit::NSIndexPath&) {}

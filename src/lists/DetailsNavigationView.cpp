#include "lists/DetailsNavigationView.h"

#include "foundation/Exception.h"
#include "foundation/StringUtils.h"
#include "lists/DetailsNavigationDataModel.h"
#include "lists/DetailsPushNavigationProtocol.h"
#include "uikit/UIColor.h"
#include "uikit/UIFont.h"
#include "uikit/UILabel.h"
#include "uikit/UITableViewCell.h"

DetailsNavigationView::DetailsNavigationView(const graphics::Rect& frame, uikit::UITableViewStyle style)
    : uikit::UITableView(frame, style) {}

DetailsNavigationView::~DetailsNavigationView() {
    setDataSource(nullptr);
    setDelegate(nullptr);
}

void DetailsNavigationView::connectToItself() {
    auto self = std::dynamic_pointer_cast<DetailsNavigationView>(shared_from_this());
    setDataSource(self);
    setDelegate(self);
}

void DetailsNavigationView::updateTableDataSourceArrayWithObject(const std::shared_ptr<DetailsNavigationDataModel>& row) {
    if (!theDataSourceArray_ || !row) return;
    auto& rows = *theDataSourceArray_;
    bool replaced = false;
    for (auto& existing : rows) {
        if (existing && existing->storyboardIdentifier == row->storyboardIdentifier) {
            existing = row;
            replaced = true;
            break;
        }
    }
    if (!replaced) rows.push_back(row);
    reloadData();
}

void DetailsNavigationView::setTabEnabled(bool enabled, const std::string& identifierMatch) {
    if (!theDataSourceArray_) return;
    for (const auto& row : *theDataSourceArray_) {
        if (!row || !row->storyboardIdentifier) continue;
        if (foundation::StringUtils::contains(*row->storyboardIdentifier, identifierMatch,
                                              foundation::StringUtils::CaseInsensitive)) {
            row->isNavigationEnabled = enabled;
            break;
        }
    }
    reloadData();
}

void DetailsNavigationView::setSessionAttendeesTabEnabled(bool enabled) { setTabEnabled(enabled, "attendee"); }
void DetailsNavigationView::setVideoTabEnabled(bool enabled) { setTabEnabled(enabled, "video"); }
void DetailsNavigationView::setFeedbackTabEnabled(bool enabled) { setTabEnabled(enabled, "feedback"); }
void DetailsNavigationView::setSessionRecommendationsTabEnabled(bool enabled) {
    setTabEnabled(enabled, "sessionRecommendations");
}
void DetailsNavigationView::setParticipantRecommendationsTabEnabled(bool enabled) {
    setTabEnabled(enabled, "participantRecommendations");
}

int64_t DetailsNavigationView::numberOfSectionsInTableView(uikit::UITableView&) { return 1; }

int64_t DetailsNavigationView::tableViewNumberOfRowsInSection(uikit::UITableView&, int64_t) {
    return theDataSourceArray_ ? static_cast<int64_t>(theDataSourceArray_->size()) : 0;
}

uikit::UITableViewCellPtr DetailsNavigationView::tableViewCellForRowAtIndexPath(uikit::UITableView&,
                                                                               const uikit::NSIndexPath& indexPath) {
    // A new cell for every row: the rows are few and each keeps its own state.
    auto cell = std::make_shared<uikit::UITableViewCell>(uikit::UITableViewCellStyle::Default, std::nullopt);
    const auto& row = theDataSourceArray_->at(static_cast<size_t>(indexPath.row));
    const bool enabled = row && row->isNavigationEnabled;
    cell->textLabel()->setText(row ? row->cellTitle : std::nullopt);
    cell->textLabel()->setFont(uikit::UIFont::systemFontOfSize(kTitleFontSize));
    cell->textLabel()->setTextColor(enabled ? uikit::UIColor::blackColor() : uikit::UIColor::grayColor());
    cell->setAccessoryType(uikit::UITableViewCellAccessoryType::DisclosureIndicator);
    cell->setUserInteractionEnabled(enabled);
    return cell;
}

std::optional<std::string> DetailsNavigationView::tableViewTitleForHeaderInSection(uikit::UITableView&, int64_t) {
    return std::nullopt;
}

std::optional<double> DetailsNavigationView::tableViewHeightForRowAtIndexPath(uikit::UITableView&,
                                                                             const uikit::NSIndexPath&) {
    return kRowHeight;
}

std::optional<double> DetailsNavigationView::tableViewHeightForHeaderInSection(uikit::UITableView&, int64_t) {
    return 0.0;
}

std::optional<double> DetailsNavigationView::tableViewHeightForFooterInSection(uikit::UITableView&, int64_t) {
    return 0.0;
}

void DetailsNavigationView::tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView,
                                                            const uikit::NSIndexPath& indexPath) {
    tableView.deselectRowAtIndexPath(indexPath, true);
    auto pusher = std::dynamic_pointer_cast<DetailsPushNavigationProtocol>(detailsNavigationDelegate());
    if (!pusher) foundation::raise("Selector not implemented", "Please implement pushNavigationWithDetailsDataModel");
    pusher->pushNavigationWithDetailsDataModel(theDataSourceArray_->at(static_cast<size_t>(indexPath.row)));
}

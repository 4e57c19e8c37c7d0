#include "people/PartnerDetailsViewController.h"

#include "Utils/Utils.h"
#include "analytics/AnalyticsUtils.h"
#include "lists/DetailsSwipeScene.h"
#include "lists/MultilineLabelCell.h"
#include "model/QVACoreDataPartner.h"
#include "people/QVAPartnerHeaderView.h"
#include "uikit/UIGestureRecognizer.h"
#include "uikit/UILabel.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UITableView.h"

namespace {

// One for the process: measuring needs a configured cell, not a shown one.
std::shared_ptr<MultilineLabelCell>& partnerProfileSizingCell() {
    static std::shared_ptr<MultilineLabelCell> cell;
    return cell;
}

void showPartnerProfile(MultilineLabelCell& cell, const std::optional<std::string>& profile) {
    if (const auto& label = cell.multilineLabel()) label->setText(profile);
}

}  // namespace

void PartnerDetailsViewController::addScene(uikit::UIStoryboard& storyboard) {
    DetailsSwipeScene::addScene(storyboard, kStoryboardIdentifier,
                                [] { return std::make_shared<PartnerDetailsViewController>(); });
}

PartnerDetailsViewController::PartnerDetailsViewController() = default;

PartnerDetailsViewController::~PartnerDetailsViewController() {
    if (!isViewLoaded()) return;
    const auto recognizers = view()->gestureRecognizers();
    for (const auto& recognizer : recognizers) view()->removeGestureRecognizer(recognizer);
}

std::shared_ptr<QVAPartnerHeaderView> PartnerDetailsViewController::partnerHeaderView() const {
    return std::dynamic_pointer_cast<QVAPartnerHeaderView>(detailHeaderView());
}

void PartnerDetailsViewController::loadView() {
    // From the storyboard: the scene's view with its swipe recognisers.
    DetailsWithListBaseViewController::loadView();
    auto root = isViewLoaded() ? view() : std::make_shared<uikit::UIView>(graphics::Rect(0, 0, 320, 480));
    root->setBackgroundColor(graphics::Color::white());
    auto table = std::make_shared<uikit::UITableView>(root->bounds());
    table->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);
    root->addSubview(table);
    setView(root);
    setTableView(table);
}

void PartnerDetailsViewController::viewDidLoad() {
    auto table = tableView();
    if (table) {
        auto self = std::dynamic_pointer_cast<PartnerDetailsViewController>(shared_from_this());
        table->setDataSource(self);
        table->setDelegate(self);
        Utils::registerCellNibs({QVARegistrableCell::of<MultilineLabelCell>()}, *table);
    }
    DetailsWithListBaseViewController::viewDidLoad();
    if (table) {
        table->setSeparatorStyle(uikit::UITableViewCellSeparatorStyle::None);
        table->reloadData();
    }
}

void PartnerDetailsViewController::updateUIContentForObject(const std::shared_ptr<coredata::ManagedObject>& object) {
    auto partner = std::dynamic_pointer_cast<QVACoreDataPartner>(object);
    auto table = tableView();
    if (!partner || !table) return;
    if (!detailHeaderView())
        setDetailHeaderView(QVADetailHeaderView::addHeaderToTableView(table, QVAPartnerHeaderView::getNibName(),
                                                                      QVAPartnerHeaderView::getHeaderHeight()));
    if (auto header = partnerHeaderView())
        header->configureWithBackgroundImageUrl(partner->logoUrl(), partner->thumbnailUrl(), partner->name(),
                                                partner->engagementType());
    partnerProfile_ = partner->profile();
    foundation::ValueDictionary data;
    data["Partner name"] = partner->name() ? foundation::Value(*partner->name()) : foundation::Value();
    data["Partner id"] = partner->itemId() ? foundation::Value(*partner->itemId()) : foundation::Value();
    AnalyticsUtils::trackEventWithNameAndData(kAnalyticsEvent, data);
    table->reloadData();
}

std::string PartnerDetailsViewController::cellIdentifier() { return MultilineLabelCell::cellIdentifier(); }

int64_t PartnerDetailsViewController::tableViewNumberOfRowsInSection(uikit::UITableView&, int64_t) { return 1; }

uikit::UITableViewCellPtr PartnerDetailsViewController::tableViewCellForRowAtIndexPath(uikit::UITableView& table,
                                                                                       const uikit::NSIndexPath&) {
    auto cell = std::dynamic_pointer_cast<MultilineLabelCell>(
        table.dequeueReusableCellWithIdentifier(MultilineLabelCell::cellIdentifier()));
    if (!cell) return std::make_shared<uikit::UITableViewCell>(uikit::UITableViewCellStyle::Default, cellIdentifier());
    showPartnerProfile(*cell, partnerProfile_);
    cell->setSelectionStyle(uikit::UITableViewCellSelectionStyle::None);
    cell->setUserInteractionEnabled(false);
    return cell;
}

std::optional<double> PartnerDetailsViewController::tableViewHeightForRowAtIndexPath(uikit::UITableView& table,
                                                                                     const uikit::NSIndexPath&) {
    auto& sizing = partnerProfileSizingCell();
    if (!sizing)
        sizing = std::dynamic_pointer_cast<MultilineLabelCell>(
            table.dequeueReusableCellWithIdentifier(MultilineLabelCell::cellIdentifier()));
    if (!sizing) return std::nullopt;
    showPartnerProfile(*sizing, partnerProfile_);
    return Utils::calculateHeightForConfiguredSizingCell(*sizing, table);
}

std::optional<double> PartnerDetailsViewController::tableViewHeightForHeaderInSection(uikit::UITableView&, int64_t) {
    return 0.0;
}

std::shared_ptr<uikit::UIView> PartnerDetailsViewController::tableViewViewForHeaderInSection(uikit::UITableView&,
                                                                                             int64_t) {
    return nullptr;
}

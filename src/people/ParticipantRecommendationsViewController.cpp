#include "people/ParticipantRecommendationsViewController.h"

#include "analytics/AnalyticsUtils.h"
#include "foundation/MainThreadChecker.h"
#include "model/QVACoreDataFollowedParticipant.h"
#include "model/QVACoreDataParticipantNote.h"
#include "model/QVAFollowedParticipant.h"
#include "model/QVAParticipant.h"
#include "people/ParticipantCell.h"
#include "people/ParticipantRowActions.h"
#include "people/ParticipantsListBaseDelegate.h"
#include "uikit/UINib.h"
#include "uikit/UIStoryboard.h"

ParticipantRecommendationsViewController::ParticipantRecommendationsViewController()
    : participantsDelegate_(std::make_shared<ParticipantsListBaseDelegate>()) {
    setVcTitle(std::string(kTitle));
    setTitle(std::string(kTitle));
    setListDelegate(participantsDelegate_);
}

void ParticipantRecommendationsViewController::addScene(uikit::UIStoryboard& storyboard) {
    storyboard.addScene(kStoryboardIdentifier,
                        [](uikit::UIStoryboard&) { return std::make_shared<ParticipantRecommendationsViewController>(); });
}

void ParticipantRecommendationsViewController::loadView() {
    auto root = std::make_shared<uikit::UIView>(graphics::Rect(0, 0, 320, 480));
    auto table = std::make_shared<uikit::UITableView>(root->bounds());
    table->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);
    root->addSubview(table);
    setView(root);
    setTableView(table);
}

void ParticipantRecommendationsViewController::viewDidLoad() {
    if (auto table = tableView()) {
        auto self = std::dynamic_pointer_cast<ParticipantRecommendationsViewController>(shared_from_this());
        table->setDataSource(self);
        table->setDelegate(self);
        table->registerNib(uikit::UINib::nibWithNibName(ParticipantCell::cellNibName()), ParticipantCell::cellIdentifier());
    }
    LiteListBaseViewController::viewDidLoad();
    foundation::ValueDictionary data;
    if (analyticsPayload_) data["Participant name"] = foundation::Value(*analyticsPayload_);
    if (selectionPropertyId_) data["Participant id"] = foundation::Value(*selectionPropertyId_);
    AnalyticsUtils::trackEventWithNameAndData(kAnalyticsEvent, data);
    participantsDelegate_->refreshAdditionalDataSourceForCoreDataStack(coreDataStack(), *this);
    setDataSourceArray(RowObjects(extraInfo_.begin(), extraInfo_.end()));
    if (auto table = tableView()) table->reloadData();
}

std::vector<std::string> ParticipantRecommendationsViewController::entitiesArrayToObserveForFilteringUIUpdates() {
    return {QVACoreDataParticipantNote::kEntityName, QVACoreDataFollowedParticipant::kEntityName};
}

void ParticipantRecommendationsViewController::updateUiContentBecauseItsNeeded() {
    foundation::requireMainThread("", kOffMainThreadUpdateException);
    participantsDelegate_->refreshAdditionalDataSourceForCoreDataStack(coreDataStack(), *this);
    if (auto table = tableView()) table->reloadData();
}

std::string ParticipantRecommendationsViewController::cellIdentifier() { return ParticipantCell::cellIdentifier(); }

std::optional<std::string> ParticipantRecommendationsViewController::tableViewGetTitleForHeaderInSection(
    uikit::UITableView&, int64_t section) {
    if (section == 0) return std::string(kSectionTitle);
    return std::nullopt;
}

std::shared_ptr<QVAParticipant> ParticipantRecommendationsViewController::participantAtRow(int64_t row) const {
    const auto& rows = dataSourceArray();
    if (row < 0 || static_cast<size_t>(row) >= rows.size()) return nullptr;
    return std::dynamic_pointer_cast<QVAParticipant>(rows[static_cast<size_t>(row)]);
}

uikit::UITableViewCellPtr ParticipantRecommendationsViewController::tableViewCellForRowAtIndexPath(
    uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) {
    auto cell = tableView.dequeueReusableCellWithIdentifier(cellIdentifier());
    auto participantCell = std::dynamic_pointer_cast<ParticipantCell>(cell);
    auto participant = participantAtRow(indexPath.row);
    if (participantCell && participant) {
        participantCell->configureWithParticipant(*participant,
                                                  participantsDelegate_->participantHasPersonalNotes(participant->itemId()),
                                                  participantsDelegate_->participantIsFavorited(participant->itemId()));
        ParticipantRowActions::wireStarToList(
            *participantCell, std::dynamic_pointer_cast<ParticipantRecommendationsViewController>(shared_from_this()));
    }
    return cell;
}

std::optional<double> ParticipantRecommendationsViewController::tableViewHeightForRowAtIndexPath(uikit::UITableView&,
                                                                                                 const uikit::NSIndexPath&) {
    return kRowHeight;
}

void ParticipantRecommendationsViewController::tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView,
                                                                                const uikit::NSIndexPath& indexPath) {
    tableView.deselectRowAtIndexPath(indexPath, true);
    auto participant = participantAtRow(indexPath.row);
    if (!participant) return;
    ParticipantRowActions::openParticipantDetails(*this, indexPath, participant->itemId(), dataSourceArray().size() > 1);
}

void ParticipantRecommendationsViewController::checkButtonTapped(uikit::UIControl& star) {
    ParticipantRowActions::followFromStar(
        star, tableView(), [this](const uikit::NSIndexPath& indexPath) -> std::shared_ptr<QVAFollowedParticipant> {
            auto participant = participantAtRow(indexPath.row);
            return participant ? ParticipantRowActions::followedParticipantFrom(*participant) : nullptr;
        });
}

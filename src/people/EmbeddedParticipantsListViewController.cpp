#include "people/EmbeddedParticipantsListViewController.h"

#include "Utils/Utils.h"
#include "coredata/Predicate.h"
#include "foundation/MainThreadChecker.h"
#include "lists/IdIndexPair.h"
#include "lists/ListsDataSourceProtocol.h"
#include "model/QVACoreDataParticipant.h"
#include "people/ParticipantCell.h"
#include "people/ParticipantRowActions.h"
#include "uikit/UINib.h"

EmbeddedParticipantsListViewController::EmbeddedParticipantsListViewController() {
    setTitle(std::string(kSectionTitle));
}

void EmbeddedParticipantsListViewController::loadView() {
    auto root = std::make_shared<uikit::UIView>(graphics::Rect(0, 0, 320, 480));
    auto table = std::make_shared<uikit::UITableView>(root->bounds());
    table->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);
    root->addSubview(table);
    setView(root);
    setTableView(table);
}

void EmbeddedParticipantsListViewController::viewDidLoad() {
    ListBaseViewController::viewDidLoad();
    prepareParticipantsTable();
}

void EmbeddedParticipantsListViewController::prepareParticipantsTable() {
    if (auto table = tableView()) {
        auto self = std::dynamic_pointer_cast<EmbeddedParticipantsListViewController>(shared_from_this());
        table->setDataSource(self);
        table->setDelegate(self);
        table->setBackgroundView(nullptr);
        table->setBackgroundColor(graphics::Color::clear());
        table->registerNib(uikit::UINib::nibWithNibName(ParticipantCell::cellNibName()), ParticipantCell::cellIdentifier());
    }
    if (auto delegate = listDelegate(); delegate && delegate->implementsRefreshAdditionalDataSource())
        delegate->refreshAdditionalDataSourceForCoreDataStack(coreDataStack(), *this);
    refreshFetchedResultsControllersAndTables();
}

std::shared_ptr<const coredata::Predicate> EmbeddedParticipantsListViewController::fetchPredicate() {
    return coredata::Predicate::withFormat("organizationId=%@", selectionPropertyId_);
}

std::vector<std::string> EmbeddedParticipantsListViewController::entitiesArrayToObserveForFilteringUIUpdates() {
    auto delegate = listDelegate();
    if (!delegate) return {};
    return delegate->entitiesArrayToObserveForFilteringUIUpdates().value_or(std::vector<std::string>{});
}

void EmbeddedParticipantsListViewController::updateUiContentBecauseItsNeeded() {
    foundation::requireMainThread("", kOffMainThreadUpdateException);
    if (auto delegate = listDelegate(); delegate && delegate->implementsRefreshAdditionalDataSource())
        delegate->refreshAdditionalDataSourceForCoreDataStack(coreDataStack(), *this);
    refreshFetchedResultsControllersAndTables();
}

std::optional<std::string> EmbeddedParticipantsListViewController::tableViewGetTitleForHeaderInSection(uikit::UITableView&,
                                                                                                       int64_t section) {
    if (section == 0) return std::string(kSectionTitle);
    return std::nullopt;
}

uikit::UITableViewCellPtr EmbeddedParticipantsListViewController::tableViewCellForRowAtIndexPath(
    uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) {
    auto cell = ListBaseViewController::tableViewCellForRowAtIndexPath(tableView, indexPath);
    if (auto participantCell = std::dynamic_pointer_cast<ParticipantCell>(cell)) {
        ParticipantRowActions::wireStarToList(
            *participantCell, std::dynamic_pointer_cast<EmbeddedParticipantsListViewController>(shared_from_this()));
    }
    return cell;
}

std::optional<double> EmbeddedParticipantsListViewController::tableViewHeightForRowAtIndexPath(uikit::UITableView&,
                                                                                               const uikit::NSIndexPath&) {
    return kRowHeight;
}

void EmbeddedParticipantsListViewController::tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView,
                                                                              const uikit::NSIndexPath& indexPath) {
    tableView.deselectRowAtIndexPath(indexPath, true);
    auto* controller = fetchedResultsControllerForTableView(tableView);
    auto delegate = listDelegate();
    if (!controller || !delegate) return;
    auto participantId = delegate->getObjectIdForIndexPath(indexPath, *controller);
    if (!participantId) return;
    ParticipantRowActions::openParticipantDetails(*this, indexPath, participantId,
                                                  controller->fetchedObjects().size() > 1);
}

void EmbeddedParticipantsListViewController::checkButtonTapped(uikit::UIControl& star) {
    auto table = tableView();
    ParticipantRowActions::followFromStar(
        star, table, [this, table](const uikit::NSIndexPath& indexPath) -> std::shared_ptr<QVAFollowedParticipant> {
            auto* controller = fetchedResultsControllerForTableView(*table);
            if (!controller || !Utils::doesIndexPath(indexPath, *controller)) return nullptr;
            auto participant =
                controller->objectAtIndexPath({static_cast<size_t>(indexPath.section), static_cast<size_t>(indexPath.row)})
                    .objectAs<QVACoreDataParticipant>();
            return participant ? ParticipantRowActions::followedParticipantFrom(*participant) : nullptr;
        });
}

std::shared_ptr<IdIndexPair> EmbeddedParticipantsListViewController::getNextIdIndexPathPairAndMoveSelectionInDirection(
    unsigned direction, const std::optional<std::string>& currentDetailId, const uikit::NSIndexPath& indexPath) {
    auto pair = ListBaseViewController::getNextIdIndexPathPairAndMoveSelectionInDirection(direction, currentDetailId,
                                                                                          indexPath);
    if (pair) pair->setEntityName(std::string(QVACoreDataParticipant::kEntityName));
    return pair;
}

#include "programme/SessionRecommendationsViewController.h"

#include "analytics/AnalyticsUtils.h"
#include "coredata/ManagedObject.h"
#include "coredata/Predicate.h"
#include "lists/DetailsSwipeScene.h"
#include "model/QVACoreDataAgendaRole.h"
#include "model/QVACoreDataBaseSession.h"
#include "model/QVACoreDataSession.h"
#include "model/QVACoreDataSessionNote.h"
#include "model/QVASession.h"
#include "programme/ListSessionsBaseDelegate.h"
#include "programme/ListSessionsBaseViewController.h"
#include "programme/QVASessionHeaderView.h"
#include "programme/SessionPageLayout.h"
#include "programme/SubactivityCell.h"
#include "store/CoreDataStack.h"
#include "uikit/UINib.h"
#include "uikit/UISearchDisplayController.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UIStoryboardSegue.h"

SessionRecommendationsViewController::SessionRecommendationsViewController()
    : sessionsDelegate_(std::make_shared<ListSessionsBaseDelegate>()) {
    setVcTitle(std::string(kTitle));
    setTitle(std::string(kTitle));
    setListDelegate(sessionsDelegate_);
}

void SessionRecommendationsViewController::addScene(uikit::UIStoryboard& storyboard) {
    DetailsSwipeScene::addScene(storyboard, kStoryboardIdentifier,
                                [] { return std::make_shared<SessionRecommendationsViewController>(); });
    uikit::UIStoryboardSegueDefinition details;
    details.identifier = kDetailsSegue;
    details.kind = uikit::UIStoryboardSegueKind::Push;
    details.destination = kDetailsScene;
    storyboard.addSegue(kStoryboardIdentifier, details);
}

void SessionRecommendationsViewController::loadView() {
    // From the storyboard: the scene's view with its swipe recognisers.
    DetailsWithListBaseViewController::loadView();
    auto root = isViewLoaded() ? view() : std::make_shared<uikit::UIView>(graphics::Rect(0, 0, 320, 480));
    auto table = std::make_shared<uikit::UITableView>(root->bounds());
    table->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);
    root->addSubview(table);
    setView(root);
    setTableView(table);
}

void SessionRecommendationsViewController::viewDidLoad() {
    if (auto table = tableView()) {
        auto self = std::dynamic_pointer_cast<SessionRecommendationsViewController>(shared_from_this());
        table->setDataSource(self);
        table->setDelegate(self);
    }
    DetailsWithListBaseViewController::viewDidLoad();
    if (auto table = tableView())
        table->registerNib(uikit::UINib::nibWithNibName(SubactivityCell::cellNibName()), SubactivityCell::cellIdentifier());
    trackAnalyticsEvent();
    sessionsDelegate_->refreshAdditionalDataSourceForCoreDataStack(coreDataStack(), *this);
    setDataSourceArray(RowObjects(extraInfo_.begin(), extraInfo_.end()));
    if (auto table = tableView()) table->reloadData();
}

void SessionRecommendationsViewController::trackAnalyticsEvent() {
    foundation::ValueDictionary data;
    if (analyticsPayload_) data["Session name"] = foundation::Value(*analyticsPayload_);
    if (selectionPropertyId()) data["Session id"] = foundation::Value(*selectionPropertyId());
    AnalyticsUtils::trackEventWithNameAndData(kAnalyticsEvent, data);
}

void SessionRecommendationsViewController::updateUIContentForObject(
    const std::shared_ptr<coredata::ManagedObject>& object) {
    auto session = std::dynamic_pointer_cast<QVACoreDataBaseSession>(object);
    auto table = tableView();
    if (!session || !table) return;
    SessionPageLayout::showSessionHeaderOnTable(*this, sessionHeaderView_, table, session);
    auto stack = coreDataStack();
    sessionsDelegate_->refreshAdditionalDataSourceForCoreDataStack(stack, *this);
    table->reloadData();
}

std::vector<std::string> SessionRecommendationsViewController::entitiesArrayToObserveForFilteringUIUpdates() {
    return {QVACoreDataAgendaRole::kEntityName, QVACoreDataSessionNote::kEntityName};
}

std::shared_ptr<const coredata::Predicate> SessionRecommendationsViewController::filterPredicateForObservedEntityType(
    const std::string& entityName) {
    if (entityName != this->entityName() &&
        (entityName == QVACoreDataAgendaRole::kEntityName || entityName == QVACoreDataSessionNote::kEntityName))
        return coredata::Predicate::truePredicate();
    return DetailsWithListBaseViewController::filterPredicateForObservedEntityType(entityName);
}

std::string SessionRecommendationsViewController::cellIdentifier() { return SubactivityCell::cellIdentifier(); }

std::optional<std::string> SessionRecommendationsViewController::tableViewGetTitleForHeaderInSection(uikit::UITableView&,
                                                                                                     int64_t section) {
    if (section == 0) return std::string(kSectionTitle);
    return std::nullopt;
}

std::shared_ptr<QVASession> SessionRecommendationsViewController::sessionAtRow(int64_t row) const {
    const auto& rows = dataSourceArray();
    if (row < 0 || static_cast<size_t>(row) >= rows.size()) return nullptr;
    return std::dynamic_pointer_cast<QVASession>(rows[static_cast<size_t>(row)]);
}

uikit::UITableViewCellPtr SessionRecommendationsViewController::tableViewCellForRowAtIndexPath(
    uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) {
    auto cell = tableView.dequeueReusableCellWithIdentifier(cellIdentifier());
    auto sessionCell = std::dynamic_pointer_cast<SubactivityCell>(cell);
    auto session = sessionAtRow(indexPath.row);
    if (sessionCell && session) sessionsDelegate_->modelObject(*session, *sessionCell, true, *this);
    return cell;
}

std::optional<double> SessionRecommendationsViewController::tableViewHeightForRowAtIndexPath(
    uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) {
    // The sizing cell every session list of the process shares.
    auto table = this->tableView();
    if (!table) return std::nullopt;
    auto prototype = std::dynamic_pointer_cast<SubactivityCell>(
        ListSessionsBaseViewController::sharedSizingCell(*table, sessionsDelegate_->cellIdentifier()));
    if (!prototype) return std::nullopt;
    auto session = sessionAtRow(indexPath.row);
    if (!session) return std::nullopt;
    sessionsDelegate_->modelObject(*session, *prototype, true, *this);
    return prototype->getCellHeightInTableView(tableView);
}

void SessionRecommendationsViewController::tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView,
                                                                            const uikit::NSIndexPath& indexPath) {
    tableView.deselectRowAtIndexPath(indexPath, true);
    performSegueWithIdentifier(kDetailsSegue, tableView.cellForRowAtIndexPath(indexPath));
}

void SessionRecommendationsViewController::prepareForSegue(uikit::UIStoryboardSegue& segue,
                                                           const foundation::ObjectPtr& sender) {
    if (segue.identifier() != kDetailsSegue) {
        DetailsWithListBaseViewController::prepareForSegue(segue, sender);
        return;
    }
    auto details = std::dynamic_pointer_cast<DetailsWithListBaseViewController>(segue.destinationViewController());
    auto cell = std::dynamic_pointer_cast<uikit::UITableViewCell>(sender);
    auto table = tableView();
    if (!details || !cell || !table) return;
    const auto indexPath = table->indexPathForCell(*cell);
    if (!indexPath) return;
    auto session = sessionAtRow(indexPath->row);
    if (!session) return;
    details->setInputs({session->itemId(), std::string(QVACoreDataSession::kEntityName),
                        std::dynamic_pointer_cast<SwipeParentControllerProtocol>(shared_from_this()), *indexPath,
                        dataSourceArray().size() > 1});
}

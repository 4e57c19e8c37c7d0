// The home screen's actions: the occupancy of the shown sessions, the
// acknowledgement of a notification, the navigation bar's buttons, opening a
// detail from a row and stepping between details, and serving the global
// search's results table.
#include <set>

#include "Utils/DateHelper.h"
#include "Utils/StringUtility.h"
#include "Utils/UIBlockAlertView.h"
#include "Utils/UIBlockButton.h"
#include "Utils/Utils.h"
#include "analytics/AnalyticsUtils.h"
#include "api/QVAApiManager.h"
#include "app/AppDataClearing.h"
#include "app/LoadingViewController.h"
#include "app/WebViewController.h"
#include "coredata/FetchedResultsController.h"
#include "coredata/ManagedObject.h"
#include "dispatch/Group.h"
#include "dispatch/Queue.h"
#include "foundation/Format.h"
#include "foundation/Log.h"
#include "foundation/NotificationCenter.h"
#include "lists/CustomSectionHeaderTableView.h"
#include "lists/DetailsScreenSupport.h"
#include "lists/GlobalSearchManager.h"
#include "lists/IdIndexPair.h"
#include "lists/RowRing.h"
#include "lists/SearchAdditionalDataSources.h"
#include "lists/SearchEntity.h"
#include "maps/InteractiveMapsServices.h"
#include "model/QVACoreDataAgendaRole.h"
#include "model/QVACoreDataParticipant.h"
#include "model/QVACoreDataSession.h"
#include "model/QVAEvent.h"
#include "model/QVANotification.h"
#include "model/QVAParticipant.h"
#include "model/QVASessionOccupancy.h"
#include "model/QVAUserAccount.h"
#include "people/ParticipantDetailsViewController.h"
#include "programme/ProgrammeDetailsViewController.h"
#include "programme/SpotlightSectionDataModel.h"
#include "programme/SpotlightSessionModel.h"
#include "programme/SpotlightSessionTableViewCell.h"
#include "programme/SpotlightViewController.h"
#include "settings/ApplicationSettingsStore.h"
#include "model/EntityClass.h"
#include "uikit/NSLayoutConstraint.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UIColor.h"
#include "uikit/UIControl.h"
#include "uikit/UIImage.h"
#include "uikit/UIKeyboard.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationController.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UISearchBar.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UIStoryboardSegue.h"
#include "uikit/UITableViewCell.h"

namespace {

// The live status rule's bounds on the occupancy percent.
constexpr int32_t kOpenBelowPercent = 80;
constexpr int32_t kFullPercent = 100;

std::optional<std::string> currentEventId() {
    auto event = ApplicationSettingsStore::sharedApplicationSettingsStore().currentEvent();
    return event ? event->itemId() : std::nullopt;
}

std::optional<std::string> currentAccountToken() {
    auto account = ApplicationSettingsStore::sharedApplicationSettingsStore().currentAccount();
    return account ? account->authenticationCode() : std::nullopt;
}

// The id a detail shows for a home row: an agenda entry's own id for the
// user's entries, else the session's; a participant's id.
std::optional<std::string> detailIdOfRow(const foundation::ObjectPtr& row) {
    if (auto session = std::dynamic_pointer_cast<SpotlightSessionModel>(row))
        return session->sessionType() != SpotlightSessionModel::kOfficialSession ? session->agendaItemId()
                                                                                : session->itemId();
    if (auto participant = std::dynamic_pointer_cast<QVAParticipant>(row)) return participant->itemId();
    return std::nullopt;
}

std::string sessionEntityNameOf(const SpotlightSessionModel& session) {
    return session.sessionType() != SpotlightSessionModel::kOfficialSession ? QVACoreDataAgendaRole::kEntityName
                                                                            : QVACoreDataSession::kEntityName;
}

// The id a detail shows for a stored search result.
std::optional<std::string> detailIdOfStoredObject(const coredata::ManagedObject& object) {
    if (const auto* agendaRole = dynamic_cast<const QVACoreDataAgendaRole*>(&object)) return agendaRole->agendaItemId();
    auto cls = EntityClass::named(object.entity().name());
    if (!cls || !cls->comparisonPropertyName) return std::nullopt;
    auto value = object.valueForKey(*cls->comparisonPropertyName);
    if (value.isNull()) return std::nullopt;
    return value.description();
}

// The row a step reaches in a section of `count` rows, wrapping both ways.
std::optional<uikit::NSIndexPath> steppedRow(const uikit::NSIndexPath& from, size_t count, unsigned direction) {
    return RowRing({static_cast<int64_t>(count)}, from.section).step(direction, from);
}

}  // namespace

// ---- Occupancy -----------------------------------------------------------------

SpotlightViewController::Strings SpotlightViewController::getSessionIds(const std::vector<foundation::ObjectPtr>& rows) {
    Strings ids;
    for (const auto& row : rows) {
        auto session = std::dynamic_pointer_cast<SpotlightSessionModel>(row);
        if (!session || session->sessionType() == SpotlightSessionModel::kPersonalEntry) continue;
        if (session->itemId()) ids.push_back(*session->itemId());
    }
    return ids;
}

void SpotlightViewController::loadSessionsOccupancy() {
    std::set<std::string> sessionIds;
    for (int64_t section : kOccupancySections)
        if (auto model = sectionModelForSection(section))
            for (auto& id : getSessionIds(model->modelItems())) sessionIds.insert(std::move(id));
    if (sessionIds.empty()) return;

    const auto eventId = currentEventId();
    const auto token = currentAccountToken();
    auto group = dispatch::Group::create();
    std::weak_ptr<SpotlightViewController> weak = self();
    for (const auto& sessionId : sessionIds) {
        group->enter();
        QVAApiManager::sharedApiManager().getSessionOccupancyForSubactivityId(
            sessionId, eventId, token, [weak, group, sessionId](const foundation::ErrorPtr& error, const foundation::Value& result) {
                if (auto home = weak.lock()) {
                    if (error) {
                        Utils::handleError(error, kOccupancyErrorTitle, std::nullopt, false);
                    } else if (auto occupancy = result.objectAs<QVASessionOccupancy>()) {
                        home->statusForSessionsDictionary_[sessionId] = occupancy;
                        home->updateOccupancyForSession(sessionId, occupancy);
                    }
                } else if (error) {
                    Utils::handleError(error, kOccupancyErrorTitle, std::nullopt, false);
                }
                group->leave();
            });
    }
    group->notify(dispatch::Queue::main(), [weak] {
        foundation::Log("%@", kOccupancyReadyLog);
        if (auto home = weak.lock())
            if (home->homeTableView_) home->homeTableView_->reloadData();
    });
}

void SpotlightViewController::updateOccupancyForSession(const std::string& sessionId,
                                                        const std::shared_ptr<QVASessionOccupancy>& occupancy) {
    for (int64_t section : kOccupancySections) updateSession(sessionId, occupancy, sectionModelForSection(section));
}

void SpotlightViewController::updateSession(const std::string& sessionId,
                                            const std::shared_ptr<QVASessionOccupancy>& occupancy,
                                            const SectionModelPtr& rows) {
    if (!rows) return;
    for (const auto& row : rows->modelItems()) {
        auto session = std::dynamic_pointer_cast<SpotlightSessionModel>(row);
        if (session && session->itemId() == sessionId) {
            session->setSessionOccupancy(occupancy);
            return;
        }
    }
}

void SpotlightViewController::configureLiveStatusTextForCell(SpotlightSessionTableViewCell& cell,
                                                             const SpotlightSessionModel& model) {
    const auto& occupancy = model.sessionOccupancy();
    if (!occupancy) return;
    auto message = cell.liveStatusMessageLabel();
    auto hint = cell.liveStatusHintLabel();
    const int32_t percent = occupancy->occupancyPercent();
    const bool shown = percent >= 0 && percent <= kFullPercent;
    if (message) message->setHidden(!shown);
    if (hint) hint->setHidden(!shown);
    if (!shown || !message) return;
    if (percent < kOpenBelowPercent) {
        message->setTextColor(uikit::UIColor::colorWithRed(0, 1, 0, 1));
        message->setText(std::string("Open"));
    } else if (percent < kFullPercent) {
        message->setTextColor(uikit::UIColor::colorWithRed(1, 165.0 / 255.0, 0, 1));
        const int32_t remaining = occupancy->remainingCapacity();
        message->setText(remaining == 1 ? std::string("1 seat remaining")
                                         : foundation::Format("%d seats remaining", remaining));
    } else {
        message->setTextColor(uikit::UIColor::redColor());
        message->setText(std::string("Full"));
    }
}

// ---- Acknowledgement -----------------------------------------------------------

std::function<void(uikit::UIControl&)> SpotlightViewController::acknowledgementBlockForNotification(
    const std::shared_ptr<QVANotification>& notification) {
    std::weak_ptr<SpotlightViewController> weak = self();
    return [weak, notification](uikit::UIControl&) {
        auto home = weak.lock();
        if (home && notification) home->acknowledgeNotification(*notification);
    };
}

// Nothing is removed here: the service deletes the stored notification on
// success, and that save rebuilds the screen.
void SpotlightViewController::acknowledgeNotification(const QVANotification& notification) {
    std::weak_ptr<SpotlightViewController> weak = self();
    QVAApiManager::sharedApiManager().acknowloedgeNotification(
        notification.itemId(), authenticationCode(), currentEventId(),
        [weak](const foundation::ErrorPtr& error, const foundation::Value&) {
            if (!error) return;
            if (auto home = weak.lock()) home->handleError(error, "", std::string(kAcknowledgeErrorMessage));
        });
}

// ---- Navigation bar ------------------------------------------------------------

bool SpotlightViewController::canUseInteractiveMapsNow() const {
    auto& maps = InteractiveMapsServices::instance();
    return maps.hasInteractiveMapsForAuthCode(authenticationCode(), currentEventId()) && maps.canAccessInteractiveMaps();
}

void SpotlightViewController::onNetworkStatusChanged(bool) { configureNavigationBar(canUseInteractiveMapsNow()); }

void SpotlightViewController::configureNavigationBar(bool mapsReady) {
    std::vector<uikit::UIBarButtonItemPtr> items;
    std::weak_ptr<SpotlightViewController> weak = self();
    auto& maps = InteractiveMapsServices::instance();
    const auto token = authenticationCode();
    const auto eventId = currentEventId();
    if (maps.hasInteractiveMapsForAuthCode(token, eventId) && maps.isIndoorPositioningEnabledForAuthCode(token, eventId)) {
        if (mapsReady) {
            items.push_back(uikit::UIBarButtonItem::withImage(
                uikit::UIImage::imageNamed(kWhereAmIImageName), uikit::UIBarButtonItemStyle::Bordered,
                [weak](uikit::UIBarButtonItem& sender) {
                    if (auto home = weak.lock()) home->whereAmIButtonPressed(sender.shared_from_this());
                }));
        } else {
            addInteractiveMapsLoadingNotifications();
        }
    }

    auto event = ApplicationSettingsStore::sharedApplicationSettingsStore().currentEvent();
    if (event && !StringUtility::isNilOrEmpty(event->feedbackFormUrl()) && event->startDate()) {
        auto firstDay = DateHelper::programmeDateFromSavedString(*event->startDate());
        if (firstDay && DateHelper::dateToActivityLocalTime(foundation::Date::now()) > *firstDay) {
            auto feedback = uikit::UIBarButtonItem::withImage(
                uikit::UIImage::imageNamed(kFeedbackImageName), uikit::UIBarButtonItemStyle::Bordered,
                [weak](uikit::UIBarButtonItem& sender) {
                    if (auto home = weak.lock()) home->showLastPushedEventFeedback(sender.shared_from_this());
                });
            feedback->setEnabled(Utils::isInternetReachable());
            items.push_back(std::move(feedback));
        }
    }

    if (ApplicationSettingsStore::sharedApplicationSettingsStore().isCurrentUserADelegate()) {
        auto switchBack = uikit::UIBarButtonItem::withImage(
            uikit::UIImage::imageNamed(kSwitchUserImageName), uikit::UIBarButtonItemStyle::Bordered,
            [weak](uikit::UIBarButtonItem& sender) {
                if (auto home = weak.lock()) home->onSwitchBackExecuted(sender.shared_from_this());
            });
        switchBack->setEnabled(Utils::isInternetReachable());
        items.push_back(std::move(switchBack));
    }
    navigationItem()->setRightBarButtonItems(std::move(items));
}

void SpotlightViewController::showLastPushedEventFeedback(const foundation::ObjectPtr& sender) {
    auto storyboard = uikit::UIStoryboard::storyboardWithName(Utils::storyboardName());
    auto web = std::dynamic_pointer_cast<WebViewController>(
        storyboard->instantiateViewControllerWithIdentifier(*WebViewController::storyboardIdentifier()));
    if (!web) return;
    auto event = ApplicationSettingsStore::sharedApplicationSettingsStore().currentEvent();
    web->setTitle(std::string(kEventFeedbackTitle));
    web->setSiteUrl(event ? event->feedbackFormUrl() : std::nullopt);
    std::weak_ptr<uikit::UINavigationController> navigation = navigationController();
    auto segue = uikit::UIStoryboardSegue::segueWithIdentifier(kEventFeedbackSegue, self(), web, [navigation, web] {
        if (auto stack = navigation.lock()) stack->pushViewController(web, true);
    });
    prepareForSegue(*segue, sender);
    segue->perform();
}

void SpotlightViewController::onSwitchBackExecuted(const foundation::ObjectPtr&) {
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    auto account = settings.currentAccount();
    auto baseUser = settings.baseUserWhenSwitchToDelegate();
    auto alert = UIBlockAlertView::initWithTitle(
        foundation::Format(kSwitchBackAlertTitleFormat, foundation::Value(account ? account->fullName() : std::nullopt),
                           foundation::Value(baseUser ? baseUser->fullName() : std::nullopt)),
        std::nullopt);
    std::weak_ptr<SpotlightViewController> weak = self();
    alert->addButtonWithTitle("OK", [weak](uikit::UIAlertView&) {
        if (auto home = weak.lock()) home->switchBackToBaseUser();
    });
    alert->addButtonWithTitle("Cancel", UIBlockAlertView::ActionBlock());
    alert->show();
}

// The whole application is cleared the way logout clears it, so the agenda
// mirrored into the device calendar leaves with the account that made it.
void SpotlightViewController::switchBackToBaseUser() {
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    auto baseUser = settings.baseUserWhenSwitchToDelegate();
    AppDataClearing::clearAppDataAndSettings();
    settings.setSettingsShowTutorial(false);
    AnalyticsUtils::trackEventWithNameAndData(
        kChangeUserEvent, {{"Target participant full name", foundation::Value(baseUser ? baseUser->fullName() : std::nullopt)},
                           {"Target participant id", foundation::Value(baseUser ? baseUser->itemId() : std::nullopt)}});
    LoadingViewController::presentAsModalFromController(self(), baseUser, nullptr, std::nullopt);
}

// ---- Opening details -----------------------------------------------------------

void SpotlightViewController::tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView,
                                                               const uikit::NSIndexPath& indexPath) {
    if (isSearchResultsTable(tableView)) {
        if (searchBar_) searchBar_->resignFirstResponder();
        const auto& entities = globalSearchManager_->searchEntitiesArray();
        if (indexPath.section < 0 || static_cast<size_t>(indexPath.section) >= entities.size()) return;
        entities[static_cast<size_t>(indexPath.section)]->navigateToDetailsFromController(self(), indexPath);
        return;
    }
    auto cell = tableView.cellForRowAtIndexPath(indexPath);
    const auto identifier = cell ? cell->reuseIdentifier() : std::nullopt;
    if (!identifier) return;
    if (*identifier == kMoreCellIdentifier) {
        auto model = sectionModelForSection(indexPath.section);
        if (model && model->hasMoreAction() && model->moreActionBlock()) model->moreActionBlock()();
        return;
    }
    // The rows' segues, built here when the screen's scene does not declare them.
    const bool sessionRow = *identifier == kSessionCellIdentifier;
    if (!sessionRow && *identifier != kParticipantCellIdentifier) return;
    if (auto scenes = storyboard())
        for (const auto& declared : scenes->seguesOfScene(storyboardSceneIdentifier()))
            if (declared.trigger.kind == uikit::UIStoryboardSegueTrigger::Kind::TableCell &&
                declared.trigger.name == *identifier)
                return;
    uikit::UIViewControllerPtr details =
        sessionRow ? uikit::UIViewControllerPtr(instantiateViewController<ProgrammeDetailsViewController>())
                   : uikit::UIViewControllerPtr(instantiateViewController<ParticipantDetailsViewController>());
    if (!details) return;
    std::weak_ptr<uikit::UINavigationController> navigation = navigationController();
    auto segue = uikit::UIStoryboardSegue::segueWithIdentifier(
        sessionRow ? kSessionDetailsSegue : kParticipantDetailsSegue, self(), details, [navigation, details] {
            if (auto stack = navigation.lock()) stack->pushViewController(details, true);
        });
    prepareForSegue(*segue, cell);
    segue->perform();
}

void SpotlightViewController::prepareForSegue(uikit::UIStoryboardSegue& segue, const foundation::ObjectPtr& sender) {
    BaseViewController::prepareForSegue(segue, sender);
    const bool sessionSegue = segue.identifier() == kSessionDetailsSegue;
    if (!sessionSegue && segue.identifier() != kParticipantDetailsSegue) return;
    auto cell = std::dynamic_pointer_cast<uikit::UITableViewCell>(sender);
    auto details = std::dynamic_pointer_cast<DetailsScreenSupport>(segue.destinationViewController());
    if (!cell || !details || !homeTableView_) return;
    auto indexPath = homeTableView_->indexPathForCell(*cell);
    if (!indexPath) return;
    auto model = sectionModelForSection(indexPath->section);
    if (!model || indexPath->row < 0 || static_cast<size_t>(indexPath->row) >= model->modelItems().size()) return;
    const auto& row = model->modelItems()[static_cast<size_t>(indexPath->row)];

    DetailsScreenInputs inputs{std::nullopt, std::nullopt,
                               std::dynamic_pointer_cast<SwipeParentControllerProtocol>(self()), *indexPath,
                               model->modelItems().size() >= 2};
    if (sessionSegue) {
        auto session = std::dynamic_pointer_cast<SpotlightSessionModel>(row);
        if (!session) return;
        inputs.selectionPropertyId = detailIdOfRow(row);
        inputs.entityName = sessionEntityNameOf(*session);
    } else {
        auto participant = std::dynamic_pointer_cast<QVAParticipant>(row);
        if (!participant) return;
        inputs.selectionPropertyId = participant->itemId();
        inputs.entityName = std::string(QVACoreDataParticipant::kEntityName);
    }
    details->setInputs(std::move(inputs));
    if (sessionSegue) {
        auto session = std::static_pointer_cast<SpotlightSessionModel>(row);
        AnalyticsUtils::trackEventWithNameAndData(kViewSessionEvent, {{"Session name", foundation::Value(session->title())},
                                                                      {"Session id", foundation::Value(session->itemId())}});
    }
}

// ---- Swiping between details ---------------------------------------------------

std::shared_ptr<IdIndexPair> SpotlightViewController::getNextIdIndexPathPairAndMoveSelectionInDirection(
    unsigned direction, const std::optional<std::string>& currentDetailId, const uikit::NSIndexPath& indexPath) {
    const auto& search = searchDisplayController();
    if (search && search->isActive()) return nextIdIndexPairFromSearchResults(direction, currentDetailId, indexPath);
    return nextIdIndexPairFromHomeTable(direction, currentDetailId, indexPath);
}

std::shared_ptr<IdIndexPair> SpotlightViewController::nextIdIndexPairFromHomeTable(
    unsigned direction, const std::optional<std::string>& currentDetailId, const uikit::NSIndexPath& indexPath) {
    auto model = sectionModelForSection(indexPath.section);
    if (!model || indexPath.row < 0) return nullptr;
    const auto& rows = model->modelItems();
    const auto row = static_cast<size_t>(indexPath.row);
    if (row >= rows.size() || detailIdOfRow(rows[row]) != currentDetailId) return nullptr;

    const auto nextPath = steppedRow(indexPath, rows.size(), direction);
    if (!nextPath) return nullptr;
    const auto next = static_cast<size_t>(nextPath->row);
    if (homeTableView_) homeTableView_->selectRowAtIndexPath(*nextPath, false, uikit::UITableViewScrollPosition::Middle);
    auto pair = std::make_shared<IdIndexPair>(*nextPath, detailIdOfRow(rows[next]), std::nullopt);
    if (auto session = std::dynamic_pointer_cast<SpotlightSessionModel>(rows[next]))
        pair->setEntityName(sessionEntityNameOf(*session));
    return pair;
}

std::shared_ptr<IdIndexPair> SpotlightViewController::nextIdIndexPairFromSearchResults(
    unsigned direction, const std::optional<std::string>& currentDetailId, const uikit::NSIndexPath& indexPath) {
    if (!globalSearchManager_ || indexPath.section < 0 || indexPath.row < 0) return nullptr;
    const auto& entities = globalSearchManager_->searchEntitiesArray();
    if (static_cast<size_t>(indexPath.section) >= entities.size()) return nullptr;
    const auto& controller = entities[static_cast<size_t>(indexPath.section)]->searchFetchedResultsController();
    if (!controller || !Utils::doesIndexPath(uikit::NSIndexPath::indexPathForRow(indexPath.row, 0), *controller)) return nullptr;
    auto object = controller->objectAtIndexPath({0, static_cast<size_t>(indexPath.row)}).objectAs<coredata::ManagedObject>();
    if (!object || detailIdOfStoredObject(*object) != currentDetailId) return nullptr;

    const size_t count = controller->sections().empty() ? 0 : controller->sections().front().numberOfObjects();
    const auto nextPath = steppedRow(indexPath, count, direction);
    if (!nextPath) return nullptr;
    auto nextObject =
        controller->objectAtIndexPath({0, static_cast<size_t>(nextPath->row)}).objectAs<coredata::ManagedObject>();
    if (!nextObject) return nullptr;
    const auto& search = searchDisplayController();
    if (search && search->isSearchResultsTableViewLoaded())
        search->searchResultsTableView()->selectRowAtIndexPath(*nextPath, false, uikit::UITableViewScrollPosition::Middle);
    return std::make_shared<IdIndexPair>(*nextPath, detailIdOfStoredObject(*nextObject), nextObject->entity().name());
}

// ---- The search hand-over ------------------------------------------------------

void SpotlightViewController::setUpSearchHandOver() {
    const auto& search = searchDisplayController();
    if (!search) return;
    auto screen = self();
    search->answerWith(screen);
}

bool SpotlightViewController::isSearchResultsTable(const uikit::UITableView& tableView) const {
    return &tableView != homeTableView_.get();
}

int64_t SpotlightViewController::searchResultsNumberOfSections(uikit::UITableView&) {
    return globalSearchManager_ ? static_cast<int64_t>(globalSearchManager_->searchEntitiesArray().size()) : 0;
}

int64_t SpotlightViewController::searchResultsNumberOfRowsInSection(uikit::UITableView&, int64_t section) {
    if (!globalSearchManager_ || section < 0) return 0;
    const auto& entities = globalSearchManager_->searchEntitiesArray();
    if (static_cast<size_t>(section) >= entities.size()) return 0;
    return static_cast<int64_t>(entities[static_cast<size_t>(section)]->searchResultsCount());
}

uikit::UITableViewCellPtr SpotlightViewController::searchResultsCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                                                     const uikit::NSIndexPath& indexPath) {
    const auto& entity = globalSearchManager_->searchEntitiesArray().at(static_cast<size_t>(indexPath.section));
    auto cell = tableView.dequeueReusableCellWithIdentifier(entity->cellIdentifier());
    entity->configureCell(*cell, indexPath, self(), tableView, additionalDataSources());
    return cell;
}

std::optional<double> SpotlightViewController::searchResultsHeightForRowAtIndexPath(uikit::UITableView& tableView,
                                                                                   const uikit::NSIndexPath& indexPath) {
    const auto& entity = globalSearchManager_->searchEntitiesArray().at(static_cast<size_t>(indexPath.section));
    return entity->heightForRowAtIndexPath(indexPath, tableView, self(), additionalDataSources());
}

std::optional<std::string> SpotlightViewController::searchResultsTitleForHeaderInSection(uikit::UITableView&,
                                                                                        int64_t section) {
    if (!globalSearchManager_ || section < 0) return std::nullopt;
    const auto& entities = globalSearchManager_->searchEntitiesArray();
    if (static_cast<size_t>(section) >= entities.size()) return std::nullopt;
    return entities[static_cast<size_t>(section)]->title();
}

std::optional<double> SpotlightViewController::searchResultsHeightForHeaderInSection(uikit::UITableView& tableView,
                                                                                    int64_t section) {
    return searchResultsNumberOfRowsInSection(tableView, section) > 0 ? kSectionHeaderHeight : 0.0;
}

std::shared_ptr<uikit::UIView> SpotlightViewController::searchResultsViewForHeaderInSection(uikit::UITableView& tableView,
                                                                                           int64_t section) {
    auto header = CustomSectionHeaderTableView::initWithFrame(
        graphics::Rect(0, 0, tableView.frame().size.width, kSectionHeaderHeight));
    header->setTitle(searchResultsTitleForHeaderInSection(tableView, section));
    return header;
}

bool SpotlightViewController::searchDisplayControllerShouldReloadTableForSearchString(
    uikit::UISearchDisplayController&, const std::optional<std::string>& searchString) {
    if (globalSearchManager_) globalSearchManager_->searchForString(searchString.value_or(""));
    return true;
}

void SpotlightViewController::searchDisplayControllerDidEndSearch(uikit::UISearchDisplayController& controller) {
    if (globalSearchManager_) globalSearchManager_->cancelSearch();
    if (controller.isSearchResultsTableViewLoaded())
        controller.searchResultsTableView()->setContentOffset(graphics::Point(0, 0));
    keyboardWillHide();
}

void SpotlightViewController::searchDisplayControllerDidLoadSearchResultsTableView(
    uikit::UISearchDisplayController& controller, uikit::UITableView&) {
    if (globalSearchManager_) globalSearchManager_->setSearchTableView(controller.searchResultsTableView());
}

void SpotlightViewController::searchDisplayControllerWillShowSearchResultsTableView(uikit::UISearchDisplayController&,
                                                                                   uikit::UITableView&) {
    std::weak_ptr<SpotlightViewController> weak = self();
    auto& center = foundation::NotificationCenter::defaultCenter();
    center.removeObserver(this, uikit::UIKeyboardWillHideNotification);
    center.addObserver(
        this,
        [weak](const foundation::Notification&) {
            if (auto home = weak.lock()) home->keyboardWillHide();
        },
        uikit::UIKeyboardWillHideNotification);
}

void SpotlightViewController::searchDisplayControllerDidHideSearchResultsTableView(uikit::UISearchDisplayController&,
                                                                                  uikit::UITableView&) {
    foundation::NotificationCenter::defaultCenter().removeObserver(this, uikit::UIKeyboardWillHideNotification);
}

void SpotlightViewController::keyboardWillHide() {
    const auto& search = searchDisplayController();
    if (!search || !search->isSearchResultsTableViewLoaded()) return;
    const auto& table = search->searchResultsTableView();
    table->setContentInset(uikit::UIEdgeInsetsZero);
    table->setScrollIndicatorInsets(uikit::UIEdgeInsetsZero);
}

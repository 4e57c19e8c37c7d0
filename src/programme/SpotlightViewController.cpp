#include "programme/SpotlightViewController.h"

#include <algorithm>
#include <set>
#include <unordered_set>

#include "Utils/DateHelper.h"
#include "Utils/StringUtility.h"
#include "Utils/Utils.h"
#include "analytics/AnalyticsUtils.h"
#include "app/EventsTabBarController.h"
#include "coredata/Constants.h"
#include "coredata/FetchRequest.h"
#include "coredata/ManagedObject.h"
#include "coredata/ManagedObjectContext.h"
#include "coredata/Predicate.h"
#include "coredata/SortDescriptor.h"
#include "dispatch/Queue.h"
#include "foundation/Log.h"
#include "foundation/MainThreadChecker.h"
#include "foundation/NotificationCenter.h"
#include "lists/FilterFetching.h"
#include "lists/GlobalSearchManager.h"
#include "lists/IdIndexPair.h"
#include "lists/LiteListBaseViewController.h"
#include "lists/SearchAdditionalDataSources.h"
#include "model/QVACoreDataBaseSession.h"
#include "model/QVACoreDataFollowedParticipant.h"
#include "model/QVACoreDataNotification.h"
#include "model/QVACoreDataParticipant.h"
#include "model/QVACoreDataParticipantNote.h"
#include "model/QVACoreDataRoom.h"
#include "model/QVACoreDataSessionNote.h"
#include "model/QVACoreDataVenue.h"
#include "model/QVANotification.h"
#include "model/QVAParticipant.h"
#include "model/QVASessionOccupancy.h"
#include "programme/SpotlightSectionDataModel.h"
#include "programme/SpotlightSessionModel.h"
#include "settings/ApplicationSettingsStore.h"
#include "store/CoreDataStack.h"
#include "store/EntityClass.h"
#include "store/FetchRequestUtils.h"
#include "store/StorageManager.h"
#include "uikit/UIColor.h"
#include "uikit/UILabel.h"
#include "uikit/UIScreen.h"
#include "uikit/UISearchBar.h"
#include "uikit/UITableViewCell.h"

using coredata::Predicate;
using coredata::PredicatePtr;
using foundation::Value;

namespace {

// Now, as the stored session times write it: a service text in the meeting's offset.
std::string nowAsServiceText() { return DateHelper::dateStringToActivityLocalTime(foundation::Date::now()); }

std::vector<foundation::ObjectPtr> asObjects(const SpotlightViewController::SessionModels& models) {
    return {models.begin(), models.end()};
}

template <class Model>
Value::Array asValues(const std::vector<std::shared_ptr<Model>>& models) {
    Value::Array values;
    values.reserve(models.size());
    for (const auto& model : models) values.emplace_back(foundation::ObjectPtr(model));
    return values;
}

std::shared_ptr<SpotlightSectionDataModel> sectionWithItems(std::vector<foundation::ObjectPtr> items) {
    auto section = std::make_shared<SpotlightSectionDataModel>();
    section->setModelItems(std::move(items));
    return section;
}

}  // namespace

SpotlightViewController::SpotlightViewController() = default;

SpotlightViewController::~SpotlightViewController() {
    foundation::Log("%@", kDeallocLog);
    foundation::NotificationCenter::defaultCenter().removeObserver(this);
    if (const auto& search = searchDisplayController()) {
        search->setDelegate(nullptr);
        search->setSearchResultsDelegate(nullptr);
        search->setSearchResultsDataSource(nullptr);
    }
}

std::shared_ptr<SpotlightViewController> SpotlightViewController::self() {
    return std::dynamic_pointer_cast<SpotlightViewController>(shared_from_this());
}

std::string SpotlightViewController::titleForSection(int64_t section) {
    switch (section) {
        case kNotificationsSection: return kNotificationsTitle;
        case kWhatsOnNowSection: return kWhatsOnNowTitle;
        case kComingUpSection: return kComingUpTitle;
        case kStarredParticipantsSessionsSection:
            return Utils::isIPad() ? kStarredParticipantsSessionsTitlePad : kStarredParticipantsSessionsTitlePhone;
        case kSessionsWithNotesSection: return kSessionsWithNotesTitle;
        case kParticipantsWithNotesSection: return kParticipantsWithNotesTitle;
        default: return "";
    }
}

// ---- View ----------------------------------------------------------------------

void SpotlightViewController::loadView() {
    BaseViewController::loadView();
    if (!isViewLoaded()) setView(std::make_shared<uikit::UIView>(uikit::UIScreen::mainScreen().bounds()));
    const graphics::Rect bounds = view()->bounds();
    searchBar_ = std::make_shared<uikit::UISearchBar>(graphics::Rect(0, 0, bounds.size.width, uikit::UISearchBar::kBarHeight));
    searchBar_->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
    view()->addSubview(searchBar_);
    homeTableView_ = std::make_shared<uikit::UITableView>(graphics::Rect(
        0, uikit::UISearchBar::kBarHeight, bounds.size.width, bounds.size.height - uikit::UISearchBar::kBarHeight));
    homeTableView_->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);
    for (const char* identifier :
         {kMoreCellIdentifier, kNotificationCellIdentifier, kParticipantCellIdentifier, kSessionCellIdentifier})
        homeTableView_->registerClass<uikit::UITableViewCell>(identifier);
    view()->addSubview(homeTableView_);
    uikit::UISearchDisplayController::create(searchBar_, std::static_pointer_cast<uikit::UIViewController>(shared_from_this()));
}

void SpotlightViewController::viewDidLoad() {
    BaseViewController::viewDidLoad();
    // The search bar sits below the navigation bar, over a white screen.
    Utils::changeEdgesForController(*this, uikit::UIRectEdgeNone);
    view()->setBackgroundColor(uikit::UIColor::whiteColor());
    homeTableView_->setBackgroundColor(uikit::UIColor::whiteColor());
    auto screen = self();
    homeTableView_->setDataSource(screen);
    homeTableView_->setDelegate(screen);

    statusForSessionsDictionary_.clear();
    AnalyticsUtils::trackEventWithName(kViewHomepageEvent);
    if (const auto& search = searchDisplayController()) {
        globalSearchManager_ = GlobalSearchManager::initWithCoreDataStack(coreDataStack(), search->searchResultsTableView());
        std::weak_ptr<SpotlightViewController> weak = screen;
        globalSearchManager_->setHomeController(weak);
        globalSearchManager_->setAdditionalDataSourcesProvider([weak] {
            auto home = weak.lock();
            return home ? home->additionalDataSources() : SearchAdditionalDataSources{};
        });
    }
    setUpNavigationBarForMaps();
    observeSavesOfCurrentStore();
    loadAdditionalDataSources();
    loadSpotlight();
}

// ---- Sections ------------------------------------------------------------------

SpotlightViewController::SectionModelPtr SpotlightViewController::sectionModelForSection(int64_t section) const {
    auto found = dataSourceDictionary_.find(titleForSection(section));
    return found == dataSourceDictionary_.end() ? nullptr : found->second;
}

void SpotlightViewController::storeSection(const std::string& title, SectionModelPtr model) {
    if (model) dataSourceDictionary_[title] = std::move(model);
    else dataSourceDictionary_.erase(title);
}

size_t SpotlightViewController::rowModelCount(int64_t section) const {
    auto model = sectionModelForSection(section);
    return model ? model->modelItems().size() : 0;
}

SpotlightViewController::SectionModelPtr SpotlightViewController::sessionsWithStarredParticipantsSectionModel() const {
    return sectionModelForSection(kStarredParticipantsSessionsSection);
}
void SpotlightViewController::setSessionsWithStarredParticipantsSectionModel(SectionModelPtr model) {
    storeSection(titleForSection(kStarredParticipantsSessionsSection), std::move(model));
}
SpotlightViewController::SectionModelPtr SpotlightViewController::sessionsWithNotesSectionModel() const {
    return sectionModelForSection(kSessionsWithNotesSection);
}
void SpotlightViewController::setSessionsWithNotesSectionModel(SectionModelPtr model) {
    storeSection(titleForSection(kSessionsWithNotesSection), std::move(model));
}
SpotlightViewController::SectionModelPtr SpotlightViewController::participantsWithNotesSectionModel() const {
    return sectionModelForSection(kParticipantsWithNotesSection);
}
void SpotlightViewController::setParticipantsWithNotesSectionModel(SectionModelPtr model) {
    storeSection(titleForSection(kParticipantsWithNotesSection), std::move(model));
}

bool SpotlightViewController::tableHasAtLeastSomethingToBeDisplayed() const {
    return std::any_of(dataSourceDictionary_.begin(), dataSourceDictionary_.end(),
                       [](const auto& entry) { return entry.second && !entry.second->modelItems().empty(); });
}

// ---- Loading -------------------------------------------------------------------

void SpotlightViewController::loadSpotlight() {
    dataSourceDictionary_ = DataSourceDictionary();
    auto event = ApplicationSettingsStore::sharedApplicationSettingsStore().currentEvent();
    std::optional<foundation::Date> lastDay;
    if (event && event->endDate()) lastDay = DateHelper::programmeDateFromSavedString(*event->endDate());
    const foundation::Date now = DateHelper::dateToActivityLocalTime(foundation::Date::now());
    // A meeting without a readable last day has not ended.
    const bool afterMeeting = lastDay && now >= lastDay->dateByAddingTimeInterval(kMeetingEndAfterLastDayStart);
    if (!afterMeeting) {
        foundation::Log("%@", kBeforeOrDuringMeetingLog);
        isCurrentMeetingInThePast_ = false;
        loadNotifications();
        loadWhatsOnNow();
        loadComingUp();
        loadSessionsWithStarredParticipants(false);
        limitNumberOfDisplayedItems(false);
        loadSessionsOccupancy();
    } else {
        foundation::Log("%@", kAfterMeetingLog);
        isCurrentMeetingInThePast_ = true;
        loadNotifications();
        loadSessionsWithStarredParticipants(true);
        loadSessionsWithNotes();
        loadParticipantsWithNotes();
        limitNumberOfDisplayedItems(true);
    }
}

void SpotlightViewController::loadAdditionalDataSources() {
    auto stack = coreDataStack();
    auto context = stack ? stack->managedObjectContextMainQueue() : nullptr;
    if (!context) {
        personalNoteIdsArray_.clear();
        agendaIDsArray_.clear();
        sessionsOfficialIdsArray_.clear();
        roomsModelArray_.clear();
        venuesModelArray_.clear();
        return;
    }
    personalNoteIdsArray_ = FetchRequestUtils::getNotEmptySubactivityNoteIdsArrayInContext(context);
    agendaIDsArray_ = FetchRequestUtils::getAgendaIdsArrayInContext(context);
    sessionsOfficialIdsArray_ = FetchRequestUtils::getSessionsOfficialIdsArrayInContext(context);
    roomsModelArray_ = asValues(FetchRequestUtils::getRoomsModelArrayInContext(context));
    venuesModelArray_ = asValues(FetchRequestUtils::getVenuesModelArrayInContext(context));
}

SearchAdditionalDataSources SpotlightViewController::additionalDataSources() const {
    return {roomsModelArray_, venuesModelArray_, agendaIDsArray_, personalNoteIdsArray_, sessionsOfficialIdsArray_};
}

void SpotlightViewController::loadNotifications() {
    std::vector<foundation::ObjectPtr> notifications;
    auto stack = coreDataStack();
    auto context = stack ? stack->managedObjectContextMainQueue() : nullptr;
    if (context) {
        auto& storage = StorageManager::sharedStorageManager();
        auto request = storage.fetchRequestForItemType(EntityClass::named(QVACoreDataNotification::kEntityName),
                                                       Predicate::withFormat("acknowledged = %@", false), context);
        request->setSortDescriptors({coredata::SortDescriptor("creation_date", false)});
        request->setResultType(coredata::FetchRequestResultType::Dictionary);
        for (const auto& row : storage.executeFetchRequestAndWait(request, context))
            if (auto notification = QVANotification::initWithCoreDataDictionary(row))
                notifications.push_back(std::move(notification));
    }
    storeSection(kNotificationsTitle, sectionWithItems(std::move(notifications)));
}

SpotlightViewController::SessionModels SpotlightViewController::fetchSessionModels(const PredicatePtr& predicate,
                                                                                   size_t maxRows) const {
    return mergedSessionModels(FilterFetching::fetchObjects(coreDataStack(), QVACoreDataBaseSession::kEntityName, predicate),
                               maxRows);
}

void SpotlightViewController::loadWhatsOnNow() {
    const std::string now = nowAsServiceText();
    auto rows = fetchSessionModels(Predicate::withFormat("startDatetime <= %@ AND endDatetime > %@", now, now));
    storeSection(kWhatsOnNowTitle, sectionWithItems(asObjects(rows)));
}

void SpotlightViewController::loadComingUp() {
    auto rows = fetchSessionModels(Predicate::withFormat("startDatetime > %@", nowAsServiceText()), kComingUpRows);
    storeSection(kComingUpTitle, sectionWithItems(asObjects(rows)));
}

void SpotlightViewController::loadSessionsWithStarredParticipants(bool afterMeeting) {
    auto stack = coreDataStack();
    auto followed = FilterFetching::texts(
        FilterFetching::fetchDictionaries(
            stack, {.entityName = QVACoreDataFollowedParticipant::kEntityName, .properties = {"itemId"}, .distinct = true}),
        "itemId");
    auto contributions = FilterFetching::fetchDictionaries(
        stack, {.entityName = QVACoreDataParticipant::kEntityName,
                .predicate = Predicate::withFormat("itemId in %@", followed),
                .properties = {"contributions"},
                .distinct = true});
    std::set<std::string> sessionIds;
    for (const auto& text : FilterFetching::texts(contributions, "contributions"))
        if (!StringUtility::isNilOrEmpty(std::string_view(text)))
            FilterFetching::addSessionIdsOfContributions(text, sessionIds);

    PredicatePtr predicate = Predicate::withFormat("itemId in %@", sessionIds);
    if (!afterMeeting)
        predicate = Predicate::andPredicate({predicate, Predicate::withFormat("endDatetime > %@", nowAsServiceText())});
    auto section = sectionWithItems(asObjects(fetchSessionModels(predicate)));

    const bool pad = Utils::isIPad();
    std::weak_ptr<SpotlightViewController> weak = self();
    section->setMoreActionWithText(
        std::string(pad ? kStarredParticipantsSessionsMorePad : kStarredParticipantsSessionsMorePhone), [weak] {
            auto home = weak.lock();
            auto tabBar = home ? home->eventsTabBarController() : nullptr;
            if (tabBar) tabBar->displayAndFilterSessionsWithStarredParticipants();
        });
    setSessionsWithStarredParticipantsSectionModel(std::move(section));
}

void SpotlightViewController::loadSessionsWithNotes() {
    auto stack = coreDataStack();
    auto context = stack ? stack->managedObjectContextMainQueue() : nullptr;
    Strings ids = context ? FetchRequestUtils::getNotEmptySubactivityNoteIdsArrayInContext(context) : Strings();
    auto section = sectionWithItems(asObjects(fetchSessionModels(Predicate::withFormat("itemId in %@", ids))));
    std::weak_ptr<SpotlightViewController> weak = self();
    section->setMoreActionWithText(std::string(kSessionsWithNotesMore), [weak] {
        auto home = weak.lock();
        auto tabBar = home ? home->eventsTabBarController() : nullptr;
        if (tabBar) tabBar->displayAndFilterSessionsWithNotes();
    });
    setSessionsWithNotesSectionModel(std::move(section));
}

void SpotlightViewController::loadParticipantsWithNotes() {
    auto stack = coreDataStack();
    auto context = stack ? stack->managedObjectContextMainQueue() : nullptr;
    Strings ids = context ? FetchRequestUtils::getNotEmptyParticipantsNoteIdsArrayInContext(context) : Strings();
    std::vector<foundation::ObjectPtr> participants;
    for (const auto& row : FilterFetching::fetchDictionaries(
             stack, {.entityName = QVACoreDataParticipant::kEntityName, .predicate = Predicate::withFormat("itemId in %@", ids)}))
        if (auto participant = QVAParticipant::initWithCoreDataDictionary(row)) participants.push_back(std::move(participant));
    auto section = sectionWithItems(std::move(participants));
    std::weak_ptr<SpotlightViewController> weak = self();
    section->setMoreActionWithText(std::string(kParticipantsWithNotesMore), [weak] {
        auto home = weak.lock();
        auto tabBar = home ? home->eventsTabBarController() : nullptr;
        if (tabBar) tabBar->displayAndFilterParticipantsWithNotes();
    });
    setParticipantsWithNotesSectionModel(std::move(section));
}

SpotlightViewController::SessionModels SpotlightViewController::getSessionsModelFromCoreDataSessionsArray(
    const Value::Array& sessions) const {
    return mergedSessionModels(sessions, sessions.size());
}

// The rows are deduplicated and sorted as stored objects, whose sort keys are
// the texts the models copy, so that only the rows kept become models: a
// section showing the first few of every future session builds those alone.
SpotlightViewController::SessionModels SpotlightViewController::mergedSessionModels(const Value::Array& sessions,
                                                                                    size_t maxRows) const {
    std::vector<std::shared_ptr<QVACoreDataBaseSession>> rows;
    rows.reserve(sessions.size());
    for (const auto& value : sessions)
        if (auto row = value.objectAs<QVACoreDataBaseSession>()) rows.push_back(std::move(row));
    // Agenda entries' class names sort before the official session's, so the
    // first row of each session id is the user's own entry when there is one.
    std::stable_sort(rows.begin(), rows.end(),
                     [](const auto& a, const auto& b) { return a->entity().name() < b->entity().name(); });

    Value::Array merged;
    merged.reserve(rows.size());
    std::unordered_set<std::string> taken;
    for (const auto& row : rows) {
        auto itemId = row->itemId();
        if (itemId && !taken.insert(*itemId).second) continue;
        merged.emplace_back(foundation::ObjectPtr(row));
    }
    coredata::sortUsingDescriptors(merged, FetchRequestUtils::getSimpleSessionsListSortDescriptos());

    SessionModels models;
    models.reserve(std::min(maxRows, merged.size()));
    for (const auto& value : merged) {
        if (models.size() >= maxRows) break;
        if (auto row = value.objectAs<QVACoreDataBaseSession>())
            models.push_back(
                SpotlightSessionModel::getSpotlightSessionModelFromBaseSession(*row, venuesModelArray_, roomsModelArray_));
    }
    return models;
}

void SpotlightViewController::limitNumberOfDisplayedItems(bool afterMeeting) {
    if (!afterMeeting) {
        limitSectionModel(sessionsWithStarredParticipantsSectionModel(), kStarredSessionsCapBeforeAndDuring);
        return;
    }
    const SectionModelPtr sections[] = {sessionsWithStarredParticipantsSectionModel(), sessionsWithNotesSectionModel(),
                                        participantsWithNotesSectionModel()};
    const auto nonEmpty = std::count_if(std::begin(sections), std::end(sections),
                                        [](const auto& section) { return section && !section->modelItems().empty(); });
    const size_t cap = nonEmpty == 3 ? 2 : nonEmpty == 2 ? 3 : 5;
    for (const auto& section : sections) limitSectionModel(section, cap);
}

void SpotlightViewController::limitSectionModel(const SectionModelPtr& section, size_t maxItemsNumber) {
    if (!section || section->modelItems().empty()) return;
    auto items = section->modelItems();
    section->setNumberOfAvailableItems(items.size());
    if (items.size() > maxItemsNumber) items.resize(maxItemsNumber);
    section->setModelItems(std::move(items));
}

// ---- Reloading -----------------------------------------------------------------

std::vector<std::string> SpotlightViewController::entitiesArrayToObserveForFilteringUIUpdates() {
    return {QVACoreDataBaseSession::kEntityName,     QVACoreDataRoom::kEntityName,
            QVACoreDataVenue::kEntityName,           QVACoreDataParticipantNote::kEntityName,
            QVACoreDataSessionNote::kEntityName,     QVACoreDataFollowedParticipant::kEntityName,
            QVACoreDataNotification::kEntityName};
}

// Only a main-queue context that is there now, and only its own saves: with
// no store open an absent sender would stand for every sender, and a worker's
// save would then reach the screen off the main thread.
void SpotlightViewController::observeSavesOfCurrentStore() {
    auto stack = coreDataStack();
    coredata::ContextPtr context = stack ? stack->managedObjectContextMainQueue() : nullptr;
    if (!context || observedContext_) return;
    observedContext_ = context.get();
    std::weak_ptr<SpotlightViewController> weak = self();
    foundation::NotificationCenter::defaultCenter().addObserver(
        this,
        [weak](const foundation::Notification& notification) {
            if (auto home = weak.lock()) home->contextDidSave(notification);
        },
        coredata::kManagedObjectContextDidSaveNotification, Value(context));
}

void SpotlightViewController::contextDidSave(const foundation::Notification& notification) {
    foundation::requireMainThread("the store's saves reach the home screen on the main thread only",
                                  kOffMainThreadSaveException);
    if (!observedContext_ || notification.object.object().get() != observedContext_) return;
    if (!LiteListBaseViewController::savedObjectsMatch(notification.userInfo, entitiesArrayToObserveForFilteringUIUpdates()))
        return;
    // After the notification has been delivered, once per matching save.
    auto home = self();
    dispatch::Queue::main()->async([home] { home->updateUiContentBecauseItsNeeded(); });
}

void SpotlightViewController::updateUiContentBecauseItsNeeded() {
    foundation::requireMainThread("", kOffMainThreadUpdateException);
    foundation::Log("%@", kRefreshLog);
    refreshDataAndTable();
}

void SpotlightViewController::refreshDataAndTable() {
    loadAdditionalDataSources();
    loadSpotlight();
    if (homeTableView_) homeTableView_->reloadData();
}

void SpotlightViewController::onApplicationWillEnterForeground() {
    foundation::Log("%@", kForegroundRefreshLog);
    refreshDataAndTable();
}

// ---- The home table ------------------------------------------------------------

int64_t SpotlightViewController::numberOfSectionsInTableView(uikit::UITableView&) { return kNumberOfSections; }

int64_t SpotlightViewController::tableViewNumberOfRowsInSection(uikit::UITableView&, int64_t section) {
    auto model = sectionModelForSection(section);
    if (!model) return 0;
    const auto rows = static_cast<int64_t>(model->modelItems().size());
    return rows + (rows > 0 && model->hasMoreAction() ? 1 : 0);
}

uikit::UITableViewCellPtr SpotlightViewController::tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                                                 const uikit::NSIndexPath& indexPath) {
    return homeCellForRowAtIndexPath(tableView, indexPath);
}

uikit::UITableViewCellPtr SpotlightViewController::homeCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                                            const uikit::NSIndexPath& indexPath) {
    auto model = sectionModelForSection(indexPath.section);
    const auto& items = model ? model->modelItems() : std::vector<foundation::ObjectPtr>{};
    const auto row = static_cast<size_t>(indexPath.row);
    if (row >= items.size()) {
        auto cell = tableView.dequeueReusableCellWithIdentifier(kMoreCellIdentifier);
        cell->textLabel()->setText(model ? model->moreActionText() : std::nullopt);
        return cell;
    }
    const auto& item = items[row];
    if (auto session = std::dynamic_pointer_cast<SpotlightSessionModel>(item)) {
        auto cell = tableView.dequeueReusableCellWithIdentifier(kSessionCellIdentifier);
        cell->textLabel()->setText(session->title());
        return cell;
    }
    if (auto notification = std::dynamic_pointer_cast<QVANotification>(item)) {
        auto cell = tableView.dequeueReusableCellWithIdentifier(kNotificationCellIdentifier);
        cell->textLabel()->setText(notification->message());
        return cell;
    }
    auto cell = tableView.dequeueReusableCellWithIdentifier(kParticipantCellIdentifier);
    auto participant = std::dynamic_pointer_cast<QVAParticipant>(item);
    cell->textLabel()->setText(participant ? participant->fullName() : std::nullopt);
    return cell;
}

std::optional<std::string> SpotlightViewController::tableViewTitleForHeaderInSection(uikit::UITableView& tableView,
                                                                                     int64_t section) {
    return tableViewGetTitleForHeaderInSection(tableView, section);
}

std::optional<std::string> SpotlightViewController::tableViewGetTitleForHeaderInSection(uikit::UITableView&,
                                                                                        int64_t section) {
    return titleForSection(section);
}

std::optional<double> SpotlightViewController::tableViewHeightForHeaderInSection(uikit::UITableView&, int64_t section) {
    return rowModelCount(section) > 0 ? kSectionHeaderHeight : 0.0;
}

std::shared_ptr<IdIndexPair> SpotlightViewController::getNextIdIndexPathPairAndMoveSelectionInDirection(
    unsigned, const std::optional<std::string>&, const uikit::NSIndexPath&) {
    return nullptr;
}

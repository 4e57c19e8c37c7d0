#include "programme/SpotlightViewController.h"

#include <algorithm>
#include <set>
#include <unordered_set>

#include "Utils/DateHelper.h"
#include "foundation/Calendar.h"
#include "foundation/DateFormatter.h"
#include "foundation/Format.h"
#include "foundation/Locale.h"
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
#include "lists/CustomSectionHeaderTableView.h"
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
#include "model/QVAEvent.h"
#include "model/QVANotification.h"
#include "model/QVAUserAccount.h"
#include "model/QVAParticipant.h"
#include "model/QVASessionOccupancy.h"
#include "people/ParticipantCell.h"
#include "programme/SpotlightNotificationCellTableViewCell.h"
#include "programme/SpotlightSectionDataModel.h"
#include "programme/SpotlightSessionModel.h"
#include "programme/SpotlightSessionTableViewCell.h"
#include "programme/SpotlightTitleView.h"
#include "settings/ApplicationSettingsStore.h"
#include "store/CoreDataStack.h"
#include "model/EntityClass.h"
#include "store/FetchRequestUtils.h"
#include "store/StorageManager.h"
#include "location/CLLocationManager.h"
#include "maps/InteractiveMapsServices.h"
#include "Utils/UIBlockButton.h"
#include "uikit/NSAttributedString.h"
#include "uikit/NSLayoutConstraint.h"
#include "uikit/UIColor.h"
#include "uikit/UIFont.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
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
    positioningTearDown();
    foundation::NotificationCenter::defaultCenter().removeObserver(this);
    if (const auto& search = searchDisplayController()) {
        search->forgetDelegates();
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
    // The pad shows the logo above the search bar; the phone's bar carries
    // the title instead, so its logo view takes no room.
    auto logo = std::make_shared<uikit::UIImageView>(graphics::Rect(0, 0, bounds.size.width, 0));
    logo->setContentMode(uikit::UIViewContentMode::Center);
    logo->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
    logo->setOutletName(std::string("orvaneHeaderImageView"));
    if (Utils::isIPad()) {
        auto image = uikit::UIImage::imageNamed(kPadLogoImage);
        if (image) logo->setFrame(graphics::Rect(0, 0, bounds.size.width, image->size().height));
    }
    view()->addSubview(logo);
    orvaneHeaderImageView_ = logo;
    const double top = logo->frame().size.height;
    searchBar_ = std::make_shared<uikit::UISearchBar>(graphics::Rect(0, top, bounds.size.width, uikit::UISearchBar::kBarHeight));
    searchBar_->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
    view()->addSubview(searchBar_);
    const double tableTop = top + uikit::UISearchBar::kBarHeight;
    homeTableView_ = std::make_shared<uikit::UITableView>(
        graphics::Rect(0, tableTop, bounds.size.width, std::max(0.0, bounds.size.height - tableTop)));
    homeTableView_->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);
    registerHomeCells();
    view()->addSubview(homeTableView_);
    uikit::UISearchDisplayController::create(searchBar_, std::static_pointer_cast<uikit::UIViewController>(shared_from_this()));
}

// The rows' cells as the scene's prototypes lay them out, each queued under
// the home table's identifier so that reuse and the cells' segues find it.
void SpotlightViewController::registerHomeCells() {
    homeTableView_->registerClass<uikit::UITableViewCell>(kMoreCellIdentifier);
    homeTableView_->registerClass(
        [](const std::string& identifier) -> uikit::UITableViewCellPtr {
            auto cell = std::dynamic_pointer_cast<uikit::UITableViewCell>(SpotlightNotificationCellTableViewCell::makePrototype());
            if (cell) cell->setReuseIdentifier(identifier);
            return cell;
        },
        kNotificationCellIdentifier);
    homeTableView_->registerClass(
        [](const std::string& identifier) -> uikit::UITableViewCellPtr {
            auto cell = std::dynamic_pointer_cast<uikit::UITableViewCell>(SpotlightSessionTableViewCell::makePrototype());
            if (cell) cell->setReuseIdentifier(identifier);
            return cell;
        },
        kSessionCellIdentifier);
    homeTableView_->registerClass(
        [](const std::string& identifier) -> uikit::UITableViewCellPtr {
            uikit::UITableViewCellPtr cell = ParticipantCell::loadFromNib();
            if (cell) cell->setReuseIdentifier(identifier);
            return cell;
        },
        kParticipantCellIdentifier);
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
        setUpSearchHandOver();
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
    auto& sources = additionalDataSources_;
    if (!context) {
        sources = SearchAdditionalDataSources{};
        return;
    }
    sources.noteIds = FetchRequestUtils::getNotEmptySubactivityNoteIdsArrayInContext(context);
    sources.agendaIds = FetchRequestUtils::getAgendaIdsArrayInContext(context);
    sources.officialIds = FetchRequestUtils::getSessionsOfficialIdsArrayInContext(context);
    sources.rooms = asValues(FetchRequestUtils::getRoomsModelArrayInContext(context));
    sources.venues = asValues(FetchRequestUtils::getVenuesModelArrayInContext(context));
    if (globalSearchManager_) globalSearchManager_->forgetRowHeights();
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
                SpotlightSessionModel::getSpotlightSessionModelFromBaseSession(*row, venuesModelArray(), roomsModelArray()));
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

void SpotlightViewController::observeSavesOfCurrentStore() {
    std::weak_ptr<SpotlightViewController> weak = self();
    saveObserver_.observe(coreDataStack(), [weak](const foundation::Notification& notification) {
        if (auto home = weak.lock()) home->contextDidSave(notification);
    });
}

void SpotlightViewController::contextDidSave(const foundation::Notification& notification) {
    StoreSaveObserver::updateOnceOnMatchingSave(
        notification, saveObserver_.context(), "the store's saves reach the home screen on the main thread only",
        [](const Value& userInfo) {
            return LiteListBaseViewController::savedObjectsMatch(userInfo, entitiesArrayToObserveForFilteringUIUpdates());
        },
        [home = self()] { home->updateUiContentBecauseItsNeeded(); });
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

int64_t SpotlightViewController::numberOfSectionsInTableView(uikit::UITableView& tableView) {
    if (isSearchResultsTable(tableView)) return searchResultsNumberOfSections(tableView);
    return kNumberOfSections;
}

int64_t SpotlightViewController::tableViewNumberOfRowsInSection(uikit::UITableView& tableView, int64_t section) {
    if (isSearchResultsTable(tableView)) return searchResultsNumberOfRowsInSection(tableView, section);
    auto model = sectionModelForSection(section);
    if (!model) return 0;
    const auto rows = static_cast<int64_t>(model->modelItems().size());
    return rows + (rows > 0 && model->hasMoreAction() ? 1 : 0);
}

uikit::UITableViewCellPtr SpotlightViewController::tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                                                 const uikit::NSIndexPath& indexPath) {
    if (isSearchResultsTable(tableView)) return searchResultsCellForRowAtIndexPath(tableView, indexPath);
    auto model = sectionModelForSection(indexPath.section);
    const size_t rows = model ? model->modelItems().size() : 0;
    if (static_cast<size_t>(indexPath.row) == rows && model && model->hasMoreAction()) {
        auto cell = tableView.dequeueReusableCellWithIdentifier(kMoreCellIdentifier, indexPath);
        cell->textLabel()->setText(model->moreActionText());
        cell->textLabel()->setFont(uikit::UIFont::systemFontOfSize(kMoreRowFontSize));
        return cell;
    }
    if (indexPath.section == kNotificationsSection) return getNotificationCellForIndexPath(indexPath, tableView);
    if (indexPath.section == kParticipantsWithNotesSection) return getParticipantCellForIndexPath(indexPath, tableView);
    return getSpotlightSessionCellForIndexPath(indexPath, tableView);
}

std::optional<std::string> SpotlightViewController::tableViewTitleForHeaderInSection(uikit::UITableView& tableView,
                                                                                     int64_t section) {
    if (isSearchResultsTable(tableView)) return searchResultsTitleForHeaderInSection(tableView, section);
    return tableViewGetTitleForHeaderInSection(tableView, section);
}

std::optional<std::string> SpotlightViewController::tableViewGetTitleForHeaderInSection(uikit::UITableView&,
                                                                                        int64_t section) {
    return titleForSection(section);
}

std::optional<double> SpotlightViewController::tableViewHeightForHeaderInSection(uikit::UITableView& tableView,
                                                                               int64_t section) {
    if (isSearchResultsTable(tableView)) return searchResultsHeightForHeaderInSection(tableView, section);
    return rowModelCount(section) > 0 ? kSectionHeaderHeight : 0.0;
}


// ---- Header ----------------------------------------------------------------------

namespace {

uikit::UIColor greyLevel(double level) {
    return uikit::UIColor::colorWithRed(level / 255.0, level / 255.0, level / 255.0, 1);
}

// The text for "%@": the platform prints a nil object as "(null)".
foundation::FormatArg textArg(const std::optional<std::string>& text) {
    return text ? foundation::FormatArg(*text) : foundation::FormatArg(Value());
}

// The text again, struck through over its whole length.
uikit::NSAttributedStringPtr struckThrough(const std::string& text) {
    static const uikit::TextAttributes attributes = [] {
        uikit::TextAttributes made;
        made.strikethroughStyle = uikit::NSUnderlineStyleSingle;
        return made;
    }();
    return uikit::NSAttributedString::make(text, attributes);
}

void setConstant(const std::shared_ptr<uikit::NSLayoutConstraint>& constraint, double value) {
    if (constraint) constraint->setConstant(value);
}

}  // namespace

int SpotlightViewController::heightForSpotlightHeader() {
    const double viewHeight = view()->bounds().size.height;
    double height = viewHeight - kPhoneHeaderChrome;
    if (Utils::isIPad()) {
        auto logo = orvaneHeaderImageView();
        height = viewHeight - kPadHeaderChrome - (logo ? logo->frame().size.height : 0) - kPadHeaderLogoMargin;
    }
    int truncated = static_cast<int>(height);
    if (tableHasAtLeastSomethingToBeDisplayed()) truncated /= 2;
    return truncated;
}

void SpotlightViewController::initSpotlightHeaderIfNotInited() {
    if (!homeTableView_) return;
    const int height = heightForSpotlightHeader();
    if (spotlightTableViewHeaderView_) {
        graphics::Rect frame = spotlightTableViewHeaderView_->frame();
        if (height == static_cast<int>(frame.size.height)) return;
        frame.size.height = height;
        spotlightTableViewHeaderView_->setFrame(frame);
        homeTableView_->setTableHeaderView(spotlightTableViewHeaderView_);
        return;
    }
    const double width = homeTableView_->bounds().size.width;
    auto header = std::make_shared<uikit::UIView>(graphics::Rect(0, 0, width, height));
    header->setOutletName(std::string("spotlightTableViewHeaderView"));
    spotlightTableViewHeaderView_ = header;

    auto background = std::make_shared<uikit::UIImageView>(header->frame());
    background->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);
    background->setContentMode(uikit::UIViewContentMode::ScaleAspectFill);
    background->setBackgroundColor(uikit::UIColor::lightGrayColor());
    background->setClipsToBounds(true);
    background->setImage(
        uikit::UIImage::imageNamed(Utils::isIPad() ? kPadHeaderBackgroundImage : kPhoneHeaderBackgroundImage));
    header->addSubview(background);

    initSpotlightTitleView();

    // Only a header made over rows gets the strip; an empty screen keeps its
    // header plain even after rows arrive.
    if (tableHasAtLeastSomethingToBeDisplayed()) {
        const double strip = Utils::isIPad() ? kPadHeaderStripHeight : kPhoneHeaderStripHeight;
        auto stripView = std::make_shared<uikit::UIView>(graphics::Rect(0, height - strip, width, strip));
        stripView->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleTopMargin);
        stripView->setBackgroundColor(greyLevel(kHeaderStripGrey));
        stripView->setHidden(false);
        stripView->setOutletName(std::string("spotlightHeaderStrip"));
        header->addSubview(stripView);
        spotlightHeaderStripView_ = stripView;
    }
    homeTableView_->setTableHeaderView(header);
}

void SpotlightViewController::initSpotlightTitleView() {
    if (!spotlightTableViewHeaderView_) return;
    const graphics::Rect bounds = spotlightTableViewHeaderView_->bounds();
    auto event = ApplicationSettingsStore::sharedApplicationSettingsStore().currentEvent();
    const graphics::Rect frame(kTitleViewInset, kTitleViewInset, bounds.size.width - 2 * kTitleViewInset,
                               bounds.size.height - 2 * kTitleViewInset);
    spotlightTitleView_ = SpotlightTitleView::initWithFrame(
        frame, event ? event->eventName() : std::nullopt, event ? event->eventDescription() : std::nullopt,
        event ? event->city() : std::nullopt, meetingDaysToDisplayInHeader(), quovanaNotificationMessage());
    spotlightTitleView_->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);
    spotlightTableViewHeaderView_->addSubview(spotlightTitleView_);
}

std::optional<std::string> SpotlightViewController::meetingDaysToDisplayInHeader() const {
    auto event = ApplicationSettingsStore::sharedApplicationSettingsStore().currentEvent();
    if (!event) return std::string();
    return meetingDaysToDisplayInHeader(event->startDate(), event->endDate());
}

// The days and the month's name are both read in the meeting zone, and the
// year is the calendar year: a week-based year or the device's zone would
// move a meeting's period across a month or a year boundary.
std::optional<std::string> SpotlightViewController::meetingDaysToDisplayInHeader(
    const std::optional<std::string>& startDate, const std::optional<std::string>& endDate) {
    auto start = startDate ? DateHelper::programmeDateFromSavedString(*startDate) : std::nullopt;
    auto end = endDate ? DateHelper::programmeDateFromSavedString(*endDate) : std::nullopt;
    if (!start || !end) return std::string();
    const foundation::TimeZone zone = DateHelper::currentMeetingTimeZone();
    const foundation::Calendar calendar(zone);
    const auto first = calendar.components(*start);
    const auto last = calendar.components(*end);
    if (first.year != last.year) return std::nullopt;

    foundation::DateFormatter formatter;
    formatter.setDateFormat(kPeriodFormat);
    formatter.setLocale(foundation::Locale(kPeriodLocale));
    formatter.setTimeZone(zone);
    const long firstDay = first.day;
    const long lastDay = last.day;
    if (first.month == last.month)
        return foundation::Format("%ld-%ld %@", firstDay, lastDay, formatter.stringFromDate(*start));
    return foundation::Format("%ld %@ %ld %@", firstDay, formatter.stringFromDate(*start), lastDay,
                              formatter.stringFromDate(*end));
}

void SpotlightViewController::setLogoImageForIdiom() {
    if (auto logo = orvaneHeaderImageView())
        logo->setImage(uikit::UIImage::imageNamed(Utils::isIPad() ? kPadLogoImage : kPhoneLogoImage));
}

void SpotlightViewController::viewWillAppear(bool animated) {
    BaseViewController::viewWillAppear(animated);
    setLogoImageForIdiom();
    initSpotlightHeaderIfNotInited();
    if (spotlightTitleView_) spotlightTitleView_->refreshLabels();
}

void SpotlightViewController::viewDidLayoutSubviews() {
    BaseViewController::viewDidLayoutSubviews();
    if (!spotlightTableViewHeaderView_ || !homeTableView_) return;
    graphics::Rect frame = spotlightTableViewHeaderView_->frame();
    frame.size.width = homeTableView_->bounds().size.width;
    spotlightTableViewHeaderView_->setFrame(frame);
    // Rebuilt rather than resized, so that its texts are laid out for the new size.
    if (spotlightTitleView_ && spotlightTitleView_->superview()) {
        spotlightTitleView_->removeFromSuperview();
        initSpotlightTitleView();
    }
}

void SpotlightViewController::willAnimateRotationToInterfaceOrientation(uikit::UIInterfaceOrientation orientation,
                                                                        double duration) {
    BaseViewController::willAnimateRotationToInterfaceOrientation(orientation, duration);
    if (spotlightTableViewHeaderView_ && homeTableView_) {
        graphics::Rect frame = spotlightTableViewHeaderView_->frame();
        frame.size.height = heightForSpotlightHeader();
        spotlightTableViewHeaderView_->setFrame(frame);
        homeTableView_->setTableHeaderView(spotlightTableViewHeaderView_);
    }
    setLogoImageForIdiom();
}

// ---- Section headers and row heights -------------------------------------------------

std::shared_ptr<uikit::UIView> SpotlightViewController::tableViewViewForHeaderInSection(uikit::UITableView& tableView,
                                                                                        int64_t section) {
    if (isSearchResultsTable(tableView)) return searchResultsViewForHeaderInSection(tableView, section);
    auto header = CustomSectionHeaderTableView::initWithFrame(
        graphics::Rect(0, 0, tableView.bounds().size.width, kSectionHeaderHeight), kSectionHeaderImage);
    header->setTitle(tableViewGetTitleForHeaderInSection(tableView, section), greyLevel(kSectionTitleGrey));
    if (section == kStarredParticipantsSessionsSection) header->setHintImage(kStarredSectionHintImage);
    else if (section == kSessionsWithNotesSection || section == kParticipantsWithNotesSection)
        header->setHintImage(kNotesSectionHintImage);
    return header;
}

std::optional<double> SpotlightViewController::tableViewHeightForRowAtIndexPath(uikit::UITableView& tableView,
                                                                               const uikit::NSIndexPath& indexPath) {
    if (isSearchResultsTable(tableView)) return searchResultsHeightForRowAtIndexPath(tableView, indexPath);
    auto model = sectionModelForSection(indexPath.section);
    const size_t rows = model ? model->modelItems().size() : 0;
    const auto row = static_cast<size_t>(indexPath.row);
    if (row == rows && model && model->hasMoreAction()) return kRowHeight;
    if (indexPath.section == kParticipantsWithNotesSection) return kRowHeight;
    const foundation::ObjectPtr item = row < rows ? model->modelItems()[row] : nullptr;
    if (indexPath.section == kNotificationsSection) {
        auto notification = std::dynamic_pointer_cast<QVANotification>(item);
        return static_cast<double>(SpotlightNotificationCellTableViewCell::heightForCellWithTitle(
            notification ? notification->message() : std::nullopt, cellsAvailableSizePattern()));
    }
    if (Utils::isIPad()) return kRowHeight;
    auto session = std::dynamic_pointer_cast<SpotlightSessionModel>(item);
    return session && session->sessionOccupancy() ? kPhoneSessionRowWithOccupancyHeight : kRowHeight;
}

// ---- Rows ------------------------------------------------------------------------

uikit::UITableViewCellPtr SpotlightViewController::getNotificationCellForIndexPath(const uikit::NSIndexPath& indexPath,
                                                                                  uikit::UITableView&) {
    auto model = sectionModelForSection(indexPath.section);
    auto cell = homeTableView_->dequeueReusableCellWithIdentifier(kNotificationCellIdentifier, indexPath);
    auto notificationCell = std::dynamic_pointer_cast<SpotlightNotificationCellTableViewCell>(cell);
    const auto row = static_cast<size_t>(indexPath.row);
    auto notification = model && row < model->modelItems().size()
                            ? std::dynamic_pointer_cast<QVANotification>(model->modelItems()[row])
                            : nullptr;
    if (!notificationCell || !notification) return cell;
    if (auto label = notificationCell->messageLabel()) label->setText(notification->message());
    if (auto button = notificationCell->acknowledgeBlockButton())
        button->handleControlEvent(uikit::UIControlEventTouchUpInside, acknowledgementBlockForNotification(notification));
    return cell;
}

uikit::UITableViewCellPtr SpotlightViewController::getParticipantCellForIndexPath(const uikit::NSIndexPath& indexPath,
                                                                                 uikit::UITableView&) {
    auto model = sectionModelForSection(indexPath.section);
    const auto row = static_cast<size_t>(indexPath.row);
    auto participant = model && row < model->modelItems().size()
                           ? std::dynamic_pointer_cast<QVAParticipant>(model->modelItems()[row])
                           : nullptr;
    if (!participant) return homeTableView_->dequeueReusableCellWithIdentifier(kParticipantCellIdentifier, indexPath);
    return getParticipantCellForParticipantModel(*participant);
}

uikit::UITableViewCellPtr SpotlightViewController::getParticipantCellForParticipantModel(const QVAParticipant& participant) {
    auto cell = homeTableView_->dequeueReusableCellWithIdentifier(kParticipantCellIdentifier);
    if (auto participantCell = std::dynamic_pointer_cast<ParticipantCell>(cell))
        participantCell->configureWithParticipant(participant, false, false);
    return cell;
}

uikit::UITableViewCellPtr SpotlightViewController::getSpotlightSessionCellForIndexPath(const uikit::NSIndexPath& indexPath,
                                                                                      uikit::UITableView&) {
    auto model = sectionModelForSection(indexPath.section);
    const auto row = static_cast<size_t>(indexPath.row);
    auto session = model && row < model->modelItems().size()
                       ? std::dynamic_pointer_cast<SpotlightSessionModel>(model->modelItems()[row])
                       : nullptr;
    if (!session) return homeTableView_->dequeueReusableCellWithIdentifier(kSessionCellIdentifier, indexPath);
    return getSpotlighSessionCellForSessionModel(*session);
}

uikit::UITableViewCellPtr SpotlightViewController::getSpotlighSessionCellForSessionModel(SpotlightSessionModel& model) {
    auto dequeued = homeTableView_->dequeueReusableCellWithIdentifier(kSessionCellIdentifier);
    auto cell = std::dynamic_pointer_cast<SpotlightSessionTableViewCell>(dequeued);
    if (!cell) return dequeued;
    const bool pad = Utils::isIPad();
    auto titleLabel = cell->titleLabel();
    auto timeLabel = cell->displayTimeLabel();
    auto locationLabel = cell->locationLabel();
    auto dateLabel = cell->dateLabel();

    if (timeLabel) timeLabel->setText(model.displayTime());
    if (titleLabel) titleLabel->setText(model.title());
    if (locationLabel) locationLabel->setText(model.locationName());

    const std::optional<std::string> day =
        model.startDatetime() ? DateHelper::programmeTitleForDateString(*model.startDatetime()) : std::nullopt;
    if (dateLabel) {
        if (pad) dateLabel->setText(day);
        else dateLabel->setText(foundation::Format("%@, %@", textArg(day), textArg(model.displayTime())));
    }

    if (model.isCancelled()) {
        const std::pair<std::shared_ptr<uikit::UILabel>, std::optional<std::string>> struck[] = {
            {titleLabel, model.title()}, {timeLabel, model.displayTime()}, {locationLabel, model.locationName()},
            {dateLabel, day}};
        for (const auto& [label, text] : struck)
            if (label && text) label->setAttributedText(struckThrough(*text));
    }
    // The phone's day line carries the time already, unless a cancellation
    // cut it back to the day: the time shows once either way.
    if (timeLabel) timeLabel->setHidden(!pad && !model.isCancelled());

    const std::string itemId = model.itemId().value_or("");
    auto typeImageView = cell->typeImageView();
    auto noteImageView = cell->noteImageView();
    if (typeImageView) typeImageView->setHidden(true);
    if (noteImageView) noteImageView->setHidden(true);
    const char* typeImage = nullptr;
    if (FetchRequestUtils::subactivityIsInAgendaWithId(itemId, agendaIDsArray())) typeImage = kInAgendaImage;
    if (FetchRequestUtils::subactivityIsAPrivateSessionWithId(itemId, sessionsOfficialIdsArray()))
        typeImage = kParallelSessionImage;
    if (model.sessionType() == SpotlightSessionModel::kPersonalEntry) typeImage = kPersonalEntryImage;
    if (typeImage) {
        if (typeImageView) {
            typeImageView->setImage(uikit::UIImage::imageNamed(typeImage));
            typeImageView->setHidden(false);
        }
        setConstant(cell->typeImageViewWidthContraint(), kIconWidth);
        setConstant(cell->typeImageToPinImageHSConstraint(), kIconSpacing);
    } else {
        setConstant(cell->typeImageViewWidthContraint(), 0);
        setConstant(cell->typeImageToPinImageHSConstraint(), 0);
    }

    if (FetchRequestUtils::subactivityHasPersonalNotes(itemId, personalNoteIdsArray())) {
        if (noteImageView) {
            noteImageView->setImage(uikit::UIImage::imageNamed(kNoteImage));
            noteImageView->setHidden(false);
        }
        setConstant(cell->noteImageViewWidthConstraint(), kIconWidth);
        setConstant(cell->typeImageTonoteImageHSConstraint(), kIconSpacing);
    } else {
        setConstant(cell->noteImageViewWidthConstraint(), 0);
        setConstant(cell->typeImageTonoteImageHSConstraint(), 0);
    }

    auto pin = cell->sessionNearMeImageView();
    if (pin) pin->setHidden(true);
    setConstant(cell->pinImageToContentHSConstraint(), 0);
    setConstant(cell->pinImageWidthConstraint(), 0);
    if (isSessionNearCurrentBeacon(model)) {
        if (pin) pin->setHidden(false);
        setConstant(cell->pinImageToContentHSConstraint(), kIconSpacing);
        setConstant(cell->pinImageWidthConstraint(), kIconWidth);
    }

    auto hint = cell->liveStatusHintLabel();
    auto message = cell->liveStatusMessageLabel();
    if (!model.sessionOccupancy()) {
        auto cached = statusForSessionsDictionary_.find(itemId);
        if (cached == statusForSessionsDictionary_.end() || !cached->second) {
            setConstant(cell->liveStatusHintLabelHeightConstraint(), 0);
            setConstant(cell->liveStatusMessageLabelHeightConstraint(), 0);
            if (hint) hint->setHidden(true);
            if (message) message->setHidden(true);
            return cell;
        }
        model.setSessionOccupancy(cached->second);
    }
    setConstant(cell->liveStatusHintLabelHeightConstraint(), kLiveStatusLabelHeight);
    setConstant(cell->liveStatusMessageLabelHeightConstraint(), kLiveStatusLabelHeight);
    if (hint) hint->setHidden(false);
    if (message) message->setHidden(false);
    configureLiveStatusTextForCell(*cell, model);
    return cell;
}

bool SpotlightViewController::isSessionNearCurrentBeacon(const SpotlightSessionModel& model) const {
    if (model.sessionType() == SpotlightSessionModel::kPersonalEntry) return false;
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    // The store is read last: the cheap switches settle most rows.
    if (!settings.currentEventHasIMapsLoadedInMemory() || !location::CLLocationManager::isRangingAvailable()) return false;
    auto& maps = InteractiveMapsServices::instance();
    const std::string beacon = maps.currentBeaconIdentifierGlobal();
    if (beacon.empty()) return false;
    auto account = settings.currentAccount();
    auto event = settings.currentEvent();
    const auto authCode = account ? account->authenticationCode() : std::nullopt;
    const auto eventId = event ? event->itemId() : std::nullopt;
    return maps.hasInteractiveMapsForAuthCode(authCode, eventId) &&
           maps.isIndoorPositioningEnabledForAuthCode(authCode, eventId) &&
           maps.isSessionWithLocationId(model.roomId(), beacon);
}

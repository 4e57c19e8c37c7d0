#include "programme/ProgrammeDetailsViewController.h"

#include <algorithm>

#include "Utils/QVARegistrableCell.h"
#include "Utils/UIBlockAlertView.h"
#include "Utils/Utils.h"
#include "Utils/DateHelper.h"
#include "analytics/AnalyticsUtils.h"
#include "api/QVAApiManager.h"
#include "coredata/FetchRequest.h"
#include "coredata/ManagedObject.h"
#include "coredata/Predicate.h"
#include "coredata/SortDescriptor.h"
#include "foundation/Format.h"
#include "foundation/Log.h"
#include "foundation/NotificationCenter.h"
#include "foundation/StringUtils.h"
#include "lists/DetailNavigationCell.h"
#include "lists/DetailsSwipeScene.h"
#include "lists/FavoriteButton.h"
#include "lists/IdIndexPair.h"
#include "lists/MultilineLabelCell.h"
#include "lists/RowRing.h"
#include "lists/SwipeParentControllerProtocol.h"
#include "maps/InteractiveMapsDetailsViewController.h"
#include "maps/LocationDetailsViewController.h"
#include "model/QVAContributor.h"
#include "model/QVACoreDataAgendaInvitation.h"
#include "model/QVACoreDataAgendaRole.h"
#include "model/QVACoreDataBaseSession.h"
#include "model/QVACoreDataParticipant.h"
#include "model/QVACoreDataPersonalEntry.h"
#include "model/QVACoreDataRoom.h"
#include "model/QVACoreDataVenue.h"
#include "model/QVAFollowedParticipant.h"
#include "model/QVAParticipant.h"
#include "people/ParticipantCell.h"
#include "people/ParticipantRowActions.h"
#include "programme/AddPersonalEntryViewController.h"
#include "programme/InvitationOptionsViewController.h"
#include "programme/InvitationStatusCell.h"
#include "programme/QVAPersonalNoteCell.h"
#include "programme/QVASessionStatusCell.h"
#include "programme/QVASessionHeaderView.h"
#include "settings/ApplicationSettingsStore.h"
#include "settings/UnsavedPersonalNote.h"
#include "store/CoreDataStack.h"
#include "model/EntityClass.h"
#include "store/FetchRequestUtils.h"
#include "store/StorageManager.h"
#include "uikit/StoryboardPopoverSegue.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UIButton.h"
#include "uikit/UIColor.h"
#include "uikit/UIFont.h"
#include "uikit/UIKeyboard.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationBar.h"
#include "uikit/UINavigationController.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UIStoryboardSegue.h"
#include "uikit/UITableView.h"
#include "uikit/UITapGestureRecognizer.h"

namespace {

using Text = std::optional<std::string>;

Text programmeDetailsText(const foundation::Value& value) {
    if (const auto* text = value.string(); text && !text->empty()) return *text;
    return std::nullopt;
}

bool programmeDetailsIsEmpty(const Text& text) { return !text || text->empty(); }

}  // namespace

void ProgrammeDetailsViewController::addScene(uikit::UIStoryboard& storyboard) {
    DetailsSwipeScene::addScene(
        storyboard, kStoryboardIdentifier, [] { return std::make_shared<ProgrammeDetailsViewController>(); },
        [](uikit::UIViewController& owner, uikit::SceneOutlets&) -> std::shared_ptr<uikit::UIView> {
            auto root = std::make_shared<uikit::UIView>(graphics::Rect(0, 0, 320, 480));
            root->setBackgroundColor(graphics::Color::white());
            if (auto* screen = dynamic_cast<ProgrammeDetailsViewController*>(&owner)) {
                screen->table_ = std::make_shared<uikit::UITableView>(root->bounds());
                screen->table_->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth |
                                                    uikit::UIViewAutoresizingFlexibleHeight);
                screen->table_->setOutletName(std::string("tableView"));
                root->addSubview(screen->table_);
                screen->setTableView(screen->table_);
            }
            return root;
        });
    uikit::UIStoryboardSegueDefinition location;
    location.identifier = kLocationSegue;
    location.kind = uikit::UIStoryboardSegueKind::Push;
    location.destination = LocationDetailsViewController::kStoryboardIdentifier;
    storyboard.addSegue(kStoryboardIdentifier, std::move(location));
    InvitationOptionsViewController::addScenes(storyboard, kStoryboardIdentifier);
}

ProgrammeDetailsViewController::ProgrammeDetailsViewController() {
    addUnwindAction(InvitationOptionsViewController::kSelectUnwindAction,
                    [this](uikit::UIStoryboardSegue& segue) { unwindOnSelectInvitationOption(segue); });
    addUnwindAction(InvitationOptionsViewController::kCancelUnwindAction,
                    [this](uikit::UIStoryboardSegue& segue) { unwindOnCancelInvitationOptions(segue); });
}

ProgrammeDetailsViewController::~ProgrammeDetailsViewController() {
    if (popoverForEditPersonalEntry_) popoverForEditPersonalEntry_->setDelegate(nullptr);
    if (observingKeyboard_) foundation::NotificationCenter::defaultCenter().removeObserver(&keyboardVisible_);
}

std::shared_ptr<ProgrammeDetailsViewController> ProgrammeDetailsViewController::self() {
    return std::dynamic_pointer_cast<ProgrammeDetailsViewController>(shared_from_this());
}

// --- Life cycle ---

void ProgrammeDetailsViewController::viewDidLoad() {
    auto me = self();
    if (!table_) table_ = tableView();
    if (!table_) {
        // Made outside the storyboard: the table over the whole view.
        table_ = std::make_shared<uikit::UITableView>(view()->bounds());
        table_->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);
        view()->addSubview(table_);
        setTableView(table_);
    }
    table_->setDataSource(me);
    table_->setDelegate(me);
    Utils::registerCellNibs({QVARegistrableCell::of<ParticipantCell>(), QVARegistrableCell::of<MultilineLabelCell>(),
                             QVARegistrableCell::of<DetailNavigationCell>(),
                             QVARegistrableCell::of<QVAPersonalNoteCell>(), QVARegistrableCell::of<InvitationStatusCell>()},
                            *table_);
    refreshAdditionalDataSourceForCoreDataStack();
    DetailsWithListBaseViewController::viewDidLoad();
    if (!tapOutside_) {
        std::weak_ptr<ProgrammeDetailsViewController> weak = me;
        tapOutside_ = std::make_shared<uikit::UITapGestureRecognizer>([weak](uikit::UIGestureRecognizer&) {
            if (auto screen = weak.lock()) screen->tapOnScreen();
        });
        tapOutside_->setCancelsTouchesInView(false);
        view()->addGestureRecognizer(tapOutside_);
    }
    trackAnalyticsEventForObject(currentObject());
}

void ProgrammeDetailsViewController::viewWillAppear(bool animated) {
    DetailsWithListBaseViewController::viewWillAppear(animated);
    if (!observingKeyboard_) {
        observingKeyboard_ = true;
        auto& center = foundation::NotificationCenter::defaultCenter();
        center.addObserver(
            &keyboardVisible_, [this](const foundation::Notification&) { keyboardVisible_ = true; },
            uikit::UIKeyboardDidShowNotification);
        center.addObserver(
            &keyboardVisible_, [this](const foundation::Notification&) { keyboardVisible_ = false; },
            uikit::UIKeyboardDidHideNotification);
    }
}

void ProgrammeDetailsViewController::viewDidAppear(bool animated) {
    DetailsWithListBaseViewController::viewDidAppear(animated);
    if (displayLoadingOverlayOnLoad_) {
        startProgress();
        displayLoadingOverlayOnLoad_ = false;
    }
}

void ProgrammeDetailsViewController::viewWillDisappear(bool animated) {
    if (observingKeyboard_) {
        foundation::NotificationCenter::defaultCenter().removeObserver(&keyboardVisible_);
        observingKeyboard_ = false;
    }
    DetailsWithListBaseViewController::viewWillDisappear(animated);
}

void ProgrammeDetailsViewController::onNetworkStatusChanged(bool online) {
    if (!online) {
        for (const auto& item : navigationItem()->rightBarButtonItems()) item->setEnabled(false);
        return;
    }
    if (isPersonalEntry_) {
        for (const auto& item : navigationItem()->rightBarButtonItems()) item->setEnabled(true);
        return;
    }
    getStatusMessageForObject(currentObject());
}

std::vector<std::string> ProgrammeDetailsViewController::entitiesArrayToObserveForFilteringUIUpdates() {
    if (!entityName()) return {};
    return {*entityName()};
}

void ProgrammeDetailsViewController::contextDidSave(const foundation::Notification& notification) {
    DetailsWithListBaseViewController::contextDidSave(notification);
    if (!savedObjectsMatch(notification.userInfo, {"QVACoreDataFollowedParticipant", "QVACoreDataParticipantNote"}))
        return;
    std::weak_ptr<ProgrammeDetailsViewController> weak = self();
    dispatch::Queue::main()->async([weak] {
        auto screen = weak.lock();
        if (!screen) return;
        screen->refreshAdditionalDataSourceForCoreDataStack();
        if (screen->table_) screen->table_->reloadData();
    });
}

// --- Content ---

void ProgrammeDetailsViewController::updateUIContentForObject(const std::shared_ptr<coredata::ManagedObject>& object) {
    if (!sessionHeaderView_ && table_) {
        sessionHeaderView_ = std::dynamic_pointer_cast<QVASessionHeaderView>(QVADetailHeaderView::addHeaderToTableView(
            table_, QVASessionHeaderView::getNibName(), QVASessionHeaderView::getHeaderHeight()));
        setDetailHeaderView(sessionHeaderView_);
        if (sessionHeaderView_ && sessionHeaderView_->locationButton()) {
            std::weak_ptr<ProgrammeDetailsViewController> weak = self();
            sessionHeaderView_->locationButton()->addTarget(
                [weak](uikit::UIControl&) {
                    if (auto screen = weak.lock()) screen->locationButtonTapped();
                },
                uikit::UIControlEventTouchUpInside);
        }
    }
    isPersonalEntry_ = object && object->isKindOfEntity(QVACoreDataPersonalEntry::kEntityName);
    if (isPersonalEntry_)
        showPersonalEntry(object);
    else if (object)
        showSession(object);
    if (table_) table_->reloadData();
}

void ProgrammeDetailsViewController::showPersonalEntry(const std::shared_ptr<coredata::ManagedObject>& object) {
    const Text title = programmeDetailsText(object->valueForKey("title"));
    Text dayAndTime;
    if (auto start = programmeDetailsText(object->valueForKey("startDatetime")))
        dayAndTime = DateHelper::programmeDayAndTimeForTimeInterval(
            *start, programmeDetailsText(object->valueForKey("displayTime")).value_or(""));
    if (sessionHeaderView_)
        sessionHeaderView_->configureWithSessionImageUrl(std::nullopt, title, dayAndTime, std::nullopt);
    contributorTypesArray_.clear();
    contributorsDataSource_.clear();
    navigationRows_.clear();
    setRightBarButtonsForPersonalEntryObject();
}

void ProgrammeDetailsViewController::showSession(const std::shared_ptr<coredata::ManagedObject>& object) {
    auto stack = coreDataStack();
    const auto context = stack ? stack->managedObjectContextMainQueue() : nullptr;
    // A session shows no "Edit": only personal entries are edited here.
    auto items = navigationItem()->rightBarButtonItems();
    items.erase(std::remove_if(items.begin(), items.end(),
                               [](const uikit::UIBarButtonItemPtr& item) {
                                   return item && item->title() == AddPersonalEntryViewController::kEditButtonTitle;
                               }),
                items.end());
    navigationItem()->setRightBarButtonItems(items);

    sessionRoomId_ = programmeDetailsText(object->valueForKey("roomId"));
    sessionContributorsString_ = programmeDetailsText(object->valueForKey("contributors"));
    preparatoryDiscussionString_.reset();
    const int64_t minutes = object->valueForKey("preparatoryDiscussionDurationInMinutes").integerValue();
    if (minutes >= 1) {
        if (auto start = DateHelper::dateFromServer(object->valueForKey("startDatetime"), true))
            preparatoryDiscussionString_ = foundation::Format(
                kPreparatoryFormat, DateHelper::programmeTimeForDate(start->dateByAddingTimeInterval(-double(minutes) * 60)));
    }
    sessionDescription_ = programmeDetailsText(object->valueForKey("sessionDescription"));
    agendaItemId_.reset();
    oldAgendaItemStatus_.reset();
    isInvitation_ = false;
    if (object->isKindOfEntity(QVACoreDataAgendaRole::kEntityName)) {
        agendaItemId_ = programmeDetailsText(object->valueForKey("agendaItemId"));
        oldAgendaItemStatus_ = programmeDetailsText(object->valueForKey("status"));
        isInvitation_ = object->isKindOfEntity(QVACoreDataAgendaInvitation::kEntityName);
    }
    sessionId_ = programmeDetailsText(object->valueForKey("itemId"));
    // A note the service has not taken shows instead of the stored one and
    // goes again once per opening (online; else with the next edit or the
    // next opening), unless the service refused it for good.
    sessionNote_.reset();
    if (context && FetchRequestUtils::hasEventNotesPermissionGrantedInContext(context) && sessionId_) {
        const UnsavedPersonalNote unsaved(UnsavedPersonalNote::kSessions, sessionId_);
        sessionNote_ = unsaved.text();
        if (!sessionNote_)
            sessionNote_ = FetchRequestUtils::getNoteForSessionId(*sessionId_, context);
        else if (unsaved.goesAgainIn(*noteOpening_) && Utils::isInternetReachable())
            sendNote(*sessionNote_);
    }

    const Text title = getSessionNameForObject(object);
    Text dayAndTime;
    if (auto start = programmeDetailsText(object->valueForKey("startDatetime")))
        dayAndTime = DateHelper::programmeDayAndTimeForTimeInterval(
            *start, programmeDetailsText(object->valueForKey("displayTime")).value_or(""));
    const Text location = context ? Utils::currentLocationForObject(foundation::Value(object), context) : std::nullopt;
    if (sessionHeaderView_) sessionHeaderView_->configureWithSessionImageUrl(std::nullopt, title, dayAndTime, location);

    refreshContributorsData();
    createNavigationDataSourceForObject(object);
    const int k = static_cast<int>(contributorTypesArray_.size());
    preparatorySection_ = 0;
    descriptionSection_ = 1;
    invitationSection_ = 2;
    statusSection_ = 3;
    contributorsSection_ = 4;
    noteSection_ = 4 + k;
    navigationSection_ = 5 + k;
    getStatusMessageForObject(object);
}

void ProgrammeDetailsViewController::refreshContributorsData() {
    contributorTypesArray_.clear();
    contributorsDataSource_.clear();
    if (programmeDetailsIsEmpty(sessionContributorsString_)) return;
    std::vector<std::shared_ptr<QVAContributor>> contributors;
    foundation::Value::Array ids;
    for (const auto& entry : foundation::StringUtils::split(*sessionContributorsString_, ";")) {
        const auto fields = foundation::StringUtils::split(entry, "|");
        if (fields.empty() || entry.empty()) continue;
        ids.emplace_back(fields.front());
        if (std::find(contributorTypesArray_.begin(), contributorTypesArray_.end(), fields.back()) ==
            contributorTypesArray_.end())
            contributorTypesArray_.push_back(fields.back());
        contributors.push_back(QVAContributor::initWithItemId(fields.front(), fields.back()));
    }
    std::sort(contributorTypesArray_.begin(), contributorTypesArray_.end(), [](const auto& a, const auto& b) {
        return foundation::StringUtils::localizedCaseInsensitiveCompare(a, b) < 0;
    });
    auto stack = coreDataStack();
    if (!stack) return;
    const auto& context = stack->managedObjectContextMainQueue();
    auto& storage = StorageManager::sharedStorageManager();
    auto request = storage.fetchRequestForItemType(
        EntityClass::of<QVACoreDataParticipant>(),
        coredata::Predicate::withFormat("itemId in %@", foundation::Value(std::move(ids))), context);
    if (!request) return;
    request->setResultType(coredata::FetchRequestResultType::Dictionary);
    request->setSortDescriptors(
        {coredata::SortDescriptor("lastName", true, coredata::SortComparator::LocalizedStandardCompare)});
    for (const auto& row : storage.executeFetchRequestAndWait(request, context)) {
        auto participant = QVAParticipant::initWithCoreDataDictionary(row);
        if (!participant || !participant->itemId()) continue;
        auto first = std::find_if(contributors.begin(), contributors.end(), [&](const auto& contributor) {
            return contributor->itemId() == participant->itemId();
        });
        if (first == contributors.end() || !(*first)->type()) continue;
        contributorsDataSource_[*(*first)->type()].push_back(participant);
    }
}

void ProgrammeDetailsViewController::refreshAdditionalDataSourceForCoreDataStack() {
    auto stack = coreDataStack();
    if (!stack) return;
    const auto& context = stack->managedObjectContextMainQueue();
    personalNoteIdsArray_ = FetchRequestUtils::getNotEmptyParticipantsNoteIdsArrayInContext(context);
    favoritedParticipantIdsArray_ = FetchRequestUtils::getFavoritedparticipantIdsArrayInContext(context);
}

void ProgrammeDetailsViewController::trackAnalyticsEventForObject(const std::shared_ptr<coredata::ManagedObject>& object) {
    if (!object) {
        showNoResultsLabelWithText(kNoDataText);
        return;
    }
    if (object->isKindOfEntity(QVACoreDataPersonalEntry::kEntityName)) {
        foundation::ValueDictionary data;
        data["Personal entry id"] = object->valueForKey("itemId");
        AnalyticsUtils::trackEventWithNameAndData("View personal entry", data);
        return;
    }
    foundation::ValueDictionary data;
    const foundation::Value title = object->valueForKey("title");
    if (!title.isNull() && !title.isNothing()) {
        data["Session name"] = title;
        data["Session id"] = object->valueForKey("itemId");
    }
    AnalyticsUtils::trackEventWithNameAndData("View session", data);
}

Text ProgrammeDetailsViewController::getSessionNameForObject(const std::shared_ptr<coredata::ManagedObject>& object) {
    if (object && object->isKindOfEntity(QVACoreDataBaseSession::kEntityName))
        sessionName_ = programmeDetailsText(object->valueForKey("title"));
    return sessionName_;
}

// --- Personal entries ---

void ProgrammeDetailsViewController::setRightBarButtonsForPersonalEntryObject() {
    auto stack = coreDataStack();
    const bool granted =
        stack && FetchRequestUtils::hasAgendaPersonalEntriesPermissionGrantedInContext(stack->managedObjectContextMainQueue());
    if (!granted) {
        navigationItem()->setRightBarButtonItems({});
        return;
    }
    const auto& existing = navigationItem()->rightBarButtonItems();
    const bool installed = existing.size() == 2 && existing.front()->title() == kRemoveTitle;
    if (!installed) {
        std::weak_ptr<ProgrammeDetailsViewController> weak = self();
        auto edit = AddPersonalEntryViewController::installOpeningButton(
            *this,
            [weak]() -> Text {
                auto screen = weak.lock();
                return screen ? screen->selectionPropertyId() : std::nullopt;
            },
            [weak] {
                if (auto screen = weak.lock()) screen->unwindPersonalEntry();
            });
        auto remove = uikit::UIBarButtonItem::withTitle(std::string(kRemoveTitle), uikit::UIBarButtonItemStyle::Bordered,
                                                        [weak](uikit::UIBarButtonItem&) {
                                                            if (auto screen = weak.lock()) screen->removePersonalEntry();
                                                        });
        remove->setTintColor(graphics::Color::rgb(1, 0, 0));
        navigationItem()->setRightBarButtonItems({remove, edit});
    }
    const bool online = Utils::isInternetReachable();
    for (const auto& item : navigationItem()->rightBarButtonItems()) item->setEnabled(online);
}

void ProgrammeDetailsViewController::removePersonalEntry() {
    auto alert = UIBlockAlertView::initWithTitle(std::nullopt, std::string(kRemoveQuestion));
    std::weak_ptr<ProgrammeDetailsViewController> weak = self();
    alert->addButtonWithTitle("Yes", [weak](uikit::UIAlertView&) {
        auto screen = weak.lock();
        if (!screen) return;
        screen->startProgress();
        const auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
        const Text token = settings.currentAuthToken();
        const Text eventId = settings.currentEventId();
        const Text entryId = screen->selectionPropertyId();
        QVAApiManager::sharedApiManager().removeFromAgendaPersonalEntryWithId(
            entryId, token, eventId, [weak, entryId, token, eventId](const foundation::ErrorPtr& error, const foundation::Value&) {
                if (error) {
                    if (auto screen = weak.lock()) {
                        screen->stopProgress();
                        screen->handleError(error, kRemoveFailedTitle, std::nullopt);
                    }
                    return;
                }
                StorageManager::sharedStorageManager().deleteItemsFromCoreDataForItemType(
                    EntityClass::of<QVACoreDataPersonalEntry>(), token, eventId,
                    coredata::Predicate::withFormat("itemId = %@", foundation::Value(entryId)), true,
                    dispatch::Queue::main(), [token, eventId](const foundation::ErrorPtr&, const foundation::Value&) {
                        AddPersonalEntryViewController::mirrorAgendaIfSynced(token, eventId);
                    });
                foundation::ValueDictionary data;
                data["Personal entry id"] = foundation::Value(entryId);
                AnalyticsUtils::trackEventWithNameAndData("Removed personal entry", data);
                if (auto screen = weak.lock()) {
                    screen->stopProgress();
                    screen->goBack();
                }
            });
    });
    alert->addButtonWithTitle("No", nullptr);
    alert->show();
}

void ProgrammeDetailsViewController::unwindPersonalEntry() {
    if (!popoverForEditPersonalEntry_) return;
    popoverForEditPersonalEntry_->dismissPopoverAnimated(false);
    popoverForEditPersonalEntry_->setDelegate(nullptr);
    popoverForEditPersonalEntry_.reset();
}

bool ProgrammeDetailsViewController::popoverControllerShouldDismissPopover(uikit::UIPopoverController&) {
    return false;
}

// --- Contributors ---

bool ProgrammeDetailsViewController::isContributorSection(int64_t section) const {
    return !isPersonalEntry_ && section >= contributorsSection_ && section < noteSection_;
}

const std::vector<std::shared_ptr<QVAParticipant>>* ProgrammeDetailsViewController::participantsOfSection(
    int64_t section) const {
    if (!isContributorSection(section)) return nullptr;
    const size_t index = static_cast<size_t>(section - contributorsSection_);
    if (index >= contributorTypesArray_.size()) return nullptr;
    auto found = contributorsDataSource_.find(contributorTypesArray_[index]);
    return found == contributorsDataSource_.end() ? nullptr : &found->second;
}

std::shared_ptr<QVAParticipant> ProgrammeDetailsViewController::participantAt(const uikit::NSIndexPath& indexPath) const {
    const auto* participants = participantsOfSection(indexPath.section);
    if (!participants || indexPath.row < 0 || static_cast<size_t>(indexPath.row) >= participants->size()) return nullptr;
    return (*participants)[static_cast<size_t>(indexPath.row)];
}

void ProgrammeDetailsViewController::openContributor(const uikit::NSIndexPath& indexPath) {
    auto participant = participantAt(indexPath);
    if (!participant) return;
    ParticipantRowActions::openParticipantDetails(*this, indexPath, participant->itemId(),
                                                  contributorsDataSource_.size() > 1);
}

void ProgrammeDetailsViewController::checkButtonTapped(uikit::UIControl& star) {
    if (!ParticipantRowActions::checkReachableOrAlert()) return;
    auto table = table_;
    if (!table) return;
    auto indexPath = ParticipantRowActions::indexPathOfStar(star, *table);
    if (!indexPath) return;
    auto participant = participantAt(*indexPath);
    if (!participant) return;
    auto* favorite = dynamic_cast<FavoriteButton*>(&star);
    ParticipantRowActions::toggleFavorite(
        QVAFollowedParticipant::initWithId(participant->itemId(), participant->firstName(), participant->lastName(),
                                           participant->fullName()),
        favorite && favorite->isFavorite());
}

std::shared_ptr<IdIndexPair> ProgrammeDetailsViewController::getNextIdIndexPathPairAndMoveSelectionInDirection(
    unsigned direction, const std::optional<std::string>& currentDetailId, const uikit::NSIndexPath& indexPath) {
    auto current = participantAt(indexPath);
    if (!current || !currentDetailId || current->itemId() != currentDetailId) return nullptr;
    // Every contributor row in table order, the step wrapping around; a lone
    // contributor has no other to go to.
    std::vector<int64_t> rowCounts;
    for (int64_t section = contributorsSection_; section < noteSection_; ++section) {
        const auto* participants = participantsOfSection(section);
        rowCounts.push_back(participants ? static_cast<int64_t>(participants->size()) : 0);
    }
    RowRing::Rules rules;
    rules.skipEmptySections = true;
    rules.fewestRowsToWrapNext = rules.fewestRowsToWrapPrevious = 2;
    auto step = RowRing(std::move(rowCounts), contributorsSection_, rules).step(direction, indexPath);
    if (!step) return nullptr;
    const auto targetPath = *step;
    if (table_) table_->selectRowAtIndexPath(targetPath, false, uikit::UITableViewScrollPosition::Middle);
    return std::make_shared<IdIndexPair>(targetPath, participantAt(targetPath)->itemId(),
                                         std::string(QVACoreDataParticipant::kEntityName));
}

// --- Location ---

bool ProgrammeDetailsViewController::currentVenueIsPrimaryAndHasInteractiveMapsForObject(
    const std::shared_ptr<coredata::ManagedObject>& object) {
    const Text roomId = object ? programmeDetailsText(object->valueForKey("roomId")) : std::nullopt;
    if (!roomId) return false;
    sessionRoomId_ = roomId;
    auto stack = coreDataStack();
    if (!stack) return true;
    const auto& context = stack->managedObjectContextMainQueue();
    auto& storage = StorageManager::sharedStorageManager();
    auto fetchOne = [&](const EntityClassPtr& entity, const std::string& id) -> foundation::Value {
        auto request = storage.fetchRequestForItemType(
            entity, coredata::Predicate::withFormat("itemId = %@", foundation::Value(id)), context);
        if (!request) return {};
        request->setResultType(coredata::FetchRequestResultType::Dictionary);
        auto rows = storage.executeFetchRequestAndWait(request, context);
        return rows.empty() ? foundation::Value() : rows.front();
    };
    const foundation::Value room = fetchOne(EntityClass::of<QVACoreDataRoom>(), *roomId);
    if (!room.isDictionary()) return true;
    const Text venueId = programmeDetailsText(room["venueId"]);
    if (!venueId) return false;
    const foundation::Value venue = fetchOne(EntityClass::of<QVACoreDataVenue>(), *venueId);
    if (!venue.isDictionary()) return false;
    const foundation::Value floorLevels = venue["floorLevels"];
    return venue["primary"].boolValue() && !floorLevels.isNull() && !floorLevels.isNothing();
}

void ProgrammeDetailsViewController::locationButtonTapped() {
    auto sender = sessionHeaderView_ ? sessionHeaderView_->locationButton() : nullptr;
    if (shouldPerformSegueWithIdentifier(kLocationSegue, sender)) performSegueWithIdentifier(kLocationSegue, sender);
}

void ProgrammeDetailsViewController::locationButtonPressed() {
    InteractiveMapsDetailsViewController::navigateFromController(self(), 0, sessionRoomId_, false, false);
}

// --- Segues ---

bool ProgrammeDetailsViewController::shouldPerformSegueWithIdentifier(const std::string& identifier,
                                                                     const foundation::ObjectPtr& sender) {
    if (identifier == kLocationSegue) {
        if (!currentVenueIsPrimaryAndHasInteractiveMapsForObject(currentObject())) return true;
        std::weak_ptr<ProgrammeDetailsViewController> weak = self();
        dispatch::Queue::main()->async([weak] {
            if (auto screen = weak.lock()) screen->locationButtonPressed();
        });
        return false;
    }
    if (identifier == kInvitationOptionsSegue) return shouldOpenInvitationOptions();
    // One editor at a time: its popover leaves the bar usable.
    if (identifier == kEditPersonalEntrySegue && popoverForEditPersonalEntry_ &&
        popoverForEditPersonalEntry_->isPopoverVisible())
        return false;
    return DetailsWithListBaseViewController::shouldPerformSegueWithIdentifier(identifier, sender);
}

void ProgrammeDetailsViewController::prepareForSegue(uikit::UIStoryboardSegue& segue,
                                                     const foundation::ObjectPtr& sender) {
    if (segue.identifier() == kLocationSegue) {
        if (auto details = std::dynamic_pointer_cast<DetailsScreenSupport>(segue.destinationViewController())) {
            details->setEntityName(std::string(QVACoreDataRoom::kEntityName));
            details->setSelectionPropertyId(sessionRoomId_);
        }
        return;
    }
    if (segue.identifier() == kInvitationOptionsSegue) {
        auto destination = segue.destinationViewController();
        if (auto navigation = std::dynamic_pointer_cast<uikit::UINavigationController>(destination))
            destination = navigation->topViewController();
        if (auto options = std::dynamic_pointer_cast<InvitationOptionsViewController>(destination))
            options->setInvitationObjectModel(invitationObjectModel_);
        return;
    }
    DetailsWithListBaseViewController::prepareForSegue(segue, sender);
    // A swipe stays within this opening of the page.
    if (segue.identifier() == DetailsSwipeScene::kSwipeSegue) {
        if (auto next = std::dynamic_pointer_cast<ProgrammeDetailsViewController>(segue.destinationViewController()))
            next->noteOpening_ = noteOpening_;
        return;
    }
    if (segue.identifier() != kEditPersonalEntrySegue) return;
    // The editor already has the entry's id; on the pad its popover is kept to close it later.
    auto popover = dynamic_cast<uikit::StoryboardPopoverSegue*>(&segue);
    if (popover && !(popoverForEditPersonalEntry_ && popoverForEditPersonalEntry_->isPopoverVisible())) {
        popoverForEditPersonalEntry_ = popover->popoverController();
        popoverForEditPersonalEntry_->setDelegate(self());
    }
}

// --- The note ---

std::shared_ptr<QVAPersonalNoteCell> ProgrammeDetailsViewController::visibleNoteCell() const {
    if (!table_ || isPersonalEntry_) return nullptr;
    return std::dynamic_pointer_cast<QVAPersonalNoteCell>(
        table_->cellForRowAtIndexPath(uikit::NSIndexPath::indexPathForRow(0, noteSection_)));
}

void ProgrammeDetailsViewController::tapOnScreen() {
    if (auto cell = visibleNoteCell()) cell->resignFirstResponderOnTextView();
}

void ProgrammeDetailsViewController::refreshNoteCellHeightWithText(const std::string& text) {
    sessionNote_ = text;
    remeasureRows();
}

void ProgrammeDetailsViewController::endEditingNote(const std::string& note) {
    foundation::ValueDictionary data;
    data["Session id"] = foundation::Value(sessionId_);
    data["Session name"] = foundation::Value(sessionName_);
    AnalyticsUtils::trackEventWithNameAndData("Add note to session", data);
    sessionNote_ = note;
    sendNote(note);
}

void ProgrammeDetailsViewController::sendNote(const std::string& note) {
    // Kept before it goes: a screen left before the answer (or after a
    // failure) must not lose the text.
    const UnsavedPersonalNote unsaved(UnsavedPersonalNote::kSessions, sessionId_);
    unsaved.keep(note);
    unsaved.sentIn(*noteOpening_);
    const auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    auto me = self();
    QVAApiManager::sharedApiManager().addNoteToSession(
        note, sessionId_, settings.currentEventId(), settings.currentAuthToken(),
        [me, unsaved, note](const foundation::ErrorPtr& error, const foundation::Value&) {
            if (!error) return unsaved.drop(note);
            Text message;
            if (UnsavedPersonalNote::isRefusalForGood(error)) {
                unsaved.refuse(note);
                message = UnsavedPersonalNote::kRefusedMessage;
            }
            me->handleError(error, kNoteFailedTitle, message);
        });
}

// --- Table ---

int64_t ProgrammeDetailsViewController::numberOfSectionsInTableView(uikit::UITableView&) {
    if (isPersonalEntry_ || !currentObject()) return 0;
    return static_cast<int64_t>(contributorTypesArray_.size()) + 6;
}

int64_t ProgrammeDetailsViewController::tableViewNumberOfRowsInSection(uikit::UITableView&, int64_t section) {
    if (isContributorSection(section)) {
        const auto* participants = participantsOfSection(section);
        return participants ? static_cast<int64_t>(participants->size()) : 0;
    }
    if (section == navigationSection_) return static_cast<int64_t>(navigationRows_.size());
    return 1;
}

uikit::UITableViewCellPtr ProgrammeDetailsViewController::hiddenCell(uikit::UITableView& tableView) {
    auto cell = tableView.dequeueReusableCellWithIdentifier(kHiddenCellIdentifier);
    if (!cell) cell = std::make_shared<uikit::UITableViewCell>(uikit::UITableViewCellStyle::Default, kHiddenCellIdentifier);
    cell->setSelectionStyle(uikit::UITableViewCellSelectionStyle::None);
    return cell;
}

uikit::UITableViewCellPtr ProgrammeDetailsViewController::tableViewCellForRowAtIndexPath(
    uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) {
    const int64_t section = indexPath.section;
    auto multiline = [&](const Text& text) -> uikit::UITableViewCellPtr {
        if (programmeDetailsIsEmpty(text)) return hiddenCell(tableView);
        auto cell = tableView.dequeueReusableCellWithIdentifier(MultilineLabelCell::cellIdentifier(), indexPath);
        if (auto labelCell = std::dynamic_pointer_cast<MultilineLabelCell>(cell)) {
            labelCell->multilineLabel()->setText(text);
            labelCell->setSelectionStyle(uikit::UITableViewCellSelectionStyle::None);
            labelCell->setUserInteractionEnabled(false);
        }
        return cell;
    };
    if (section == preparatorySection_) return multiline(preparatoryDiscussionString_);
    if (section == descriptionSection_) return multiline(sessionDescription_);
    if (isContributorSection(section)) {
        auto cell = tableView.dequeueReusableCellWithIdentifier(ParticipantCell::cellIdentifier(), indexPath);
        auto participantCell = std::dynamic_pointer_cast<ParticipantCell>(cell);
        auto participant = participantAt(indexPath);
        if (participantCell && participant) {
            const auto& id = participant->itemId();
            auto contains = [&](const std::vector<std::string>& ids) {
                return id && std::find(ids.begin(), ids.end(), *id) != ids.end();
            };
            participantCell->configureWithParticipant(*participant, contains(personalNoteIdsArray_),
                                                      contains(favoritedParticipantIdsArray_));
            std::weak_ptr<ProgrammeDetailsViewController> weak = self();
            ParticipantRowActions::wireStar(*participantCell, [weak](uikit::UIControl& star) {
                if (auto screen = weak.lock()) screen->checkButtonTapped(star);
            });
        }
        return cell;
    }
    if (section == noteSection_) {
        auto stack = coreDataStack();
        if (!stack || !FetchRequestUtils::hasEventNotesPermissionGrantedInContext(stack->managedObjectContextMainQueue()))
            return hiddenCell(tableView);
        auto cell = tableView.dequeueReusableCellWithIdentifier(QVAPersonalNoteCell::cellIdentifier(), indexPath);
        if (auto noteCell = std::dynamic_pointer_cast<QVAPersonalNoteCell>(cell)) {
            noteCell->setPersonalNotesDelegate(self());
            noteCell->configureWithNoteContent(sessionNote_);
        }
        return cell;
    }
    if (section == navigationSection_ && indexPath.row < static_cast<int64_t>(navigationRows_.size())) {
        auto cell = tableView.dequeueReusableCellWithIdentifier(DetailNavigationCell::cellIdentifier(), indexPath);
        if (auto navigationCell = std::dynamic_pointer_cast<DetailNavigationCell>(cell))
            navigationCell->configureWithDataModel(*navigationRows_[static_cast<size_t>(indexPath.row)]);
        return cell;
    }
    if (section == statusSection_) return statusCell(tableView);
    if (section == invitationSection_ && isInvitation_) return invitationCell(tableView);
    return hiddenCell(tableView);
}

uikit::UITableViewCellPtr ProgrammeDetailsViewController::sizingCell(const std::string& identifier) {
    // One sizing cell per class, kept for the process.
    static std::map<std::string, uikit::UITableViewCellPtr> sizingCells;
    auto& cell = sizingCells[identifier];
    if (!cell && table_) cell = table_->dequeueReusableCellWithIdentifier(identifier);
    return table_ ? cell : nullptr;
}

double ProgrammeDetailsViewController::sizingHeight(const std::string& identifier, const Text& text) {
    auto labelCell = std::dynamic_pointer_cast<MultilineLabelCell>(sizingCell(identifier));
    if (!labelCell) return 0;
    labelCell->multilineLabel()->setText(text);
    return Utils::calculateHeightForConfiguredSizingCell(*labelCell, *table_);
}

double ProgrammeDetailsViewController::invitationStatusHeight() {
    auto cell = std::dynamic_pointer_cast<InvitationStatusCell>(sizingCell(InvitationStatusCell::cellIdentifier()));
    if (!invitationObjectModel_ || !cell) return kPendingStatusHeight;
    cell->configureWithInvitationObject(invitationObjectModel_);
    return Utils::calculateHeightForConfiguredSizingCell(*cell, *table_);
}

std::optional<double> ProgrammeDetailsViewController::tableViewHeightForRowAtIndexPath(
    uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) {
    const int64_t section = indexPath.section;
    if (section == preparatorySection_)
        return programmeDetailsIsEmpty(preparatoryDiscussionString_)
                   ? 0
                   : sizingHeight(MultilineLabelCell::cellIdentifier(), preparatoryDiscussionString_);
    if (section == descriptionSection_)
        return programmeDetailsIsEmpty(sessionDescription_)
                   ? 0
                   : sizingHeight(MultilineLabelCell::cellIdentifier(), sessionDescription_);
    if (section == invitationSection_) return isInvitation_ ? invitationStatusHeight() : 0;
    if (section == statusSection_) return QVASessionStatusCell::heightForStatus(sessionStatusAttributedString_, tableView.frame().size.width);
    if (isContributorSection(section)) return kContributorRowHeight;
    if (section == noteSection_) {
        auto stack = coreDataStack();
        if (!stack || !FetchRequestUtils::hasEventNotesPermissionGrantedInContext(stack->managedObjectContextMainQueue()))
            return 0;
        if (programmeDetailsIsEmpty(sessionNote_)) return kEmptyNoteHeight;
        return Utils::getMeasuredSizeOfLabelWithText(sessionNote_, uikit::UIFont::fontWithName("HelveticaNeue-Light", 14),
                                                     tableView.frame().size.width)
                   .height +
               32;
    }
    return kNavigationRowHeight;
}

std::optional<std::string> ProgrammeDetailsViewController::tableViewGetTitleForHeaderInSection(uikit::UITableView&,
                                                                                              int64_t section) {
    if (isPersonalEntry_) return std::nullopt;
    if (section == invitationSection_) return isInvitation_ ? Text(kInvitationStatusTitle) : std::nullopt;
    if (section == statusSection_) return std::string(kSessionStatusTitle);
    if (isContributorSection(section)) {
        const size_t index = static_cast<size_t>(section - contributorsSection_);
        if (index < contributorTypesArray_.size()) return contributorTypesArray_[index];
    }
    return std::nullopt;
}

std::optional<double> ProgrammeDetailsViewController::tableViewHeightForHeaderInSection(uikit::UITableView& tableView,
                                                                                       int64_t section) {
    return programmeDetailsIsEmpty(tableViewGetTitleForHeaderInSection(tableView, section)) ? 0 : kTitledHeaderHeight;
}

std::shared_ptr<uikit::UIView> ProgrammeDetailsViewController::tableViewViewForHeaderInSection(
    uikit::UITableView& tableView, int64_t section) {
    const Text title = tableViewGetTitleForHeaderInSection(tableView, section);
    if (programmeDetailsIsEmpty(title)) return nullptr;
    const double width = view()->frame().size.width;
    auto header = std::make_shared<uikit::UIView>(graphics::Rect{0, 0, width, 20});
    header->setBackgroundColor(graphics::Color::white());
    auto separator = std::make_shared<uikit::UIView>(graphics::Rect{15, 0, width - 15, 0.5});
    separator->setBackgroundColor(tableView.separatorColor().value_or(graphics::Color::rgb(0.78, 0.78, 0.8)));
    header->addSubview(separator);
    auto label = std::make_shared<uikit::UILabel>(graphics::Rect{15, 5, width - 30, 20});
    label->setFont(uikit::UIFont::fontWithName("HelveticaNeue-Medium", 14));
    label->setTextColor(uikit::UIColor::colorWithWhite(0.25, 1));
    label->setText(title);
    header->addSubview(label);
    return header;
}

void ProgrammeDetailsViewController::tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView,
                                                                     const uikit::NSIndexPath& indexPath) {
    tableView.deselectRowAtIndexPath(indexPath, true);
    if (isPersonalEntry_) return;
    if (indexPath.section == invitationSection_) {
        auto sender = tableView.cellForRowAtIndexPath(indexPath);
        if (shouldPerformSegueWithIdentifier(kInvitationOptionsSegue, sender))
            performSegueWithIdentifier(kInvitationOptionsSegue, sender);
    } else if (isContributorSection(indexPath.section)) {
        openContributor(indexPath);
    } else if (indexPath.section == navigationSection_ &&
               indexPath.row < static_cast<int64_t>(navigationRows_.size())) {
        pushNavigationWithDetailsDataModel(navigationRows_[static_cast<size_t>(indexPath.row)]);
    }
}

std::vector<std::pair<std::string, std::string>> ProgrammeDetailsViewController::screenDescriptionItems() const {
    // The inputs a list handed over, so a run of the app shows where swiping leads.
    const auto* parent = dynamic_cast<const uikit::UIViewController*>(parentController().get());
    const auto& path = indexPathInParentController();
    return {{"session", sessionName_.value_or(isPersonalEntry_ ? "personal entry" : "none")},
            {"selectionPropertyId", selectionPropertyId().value_or("nil")},
            {"isSwipeEnabled", isSwipeEnabled() ? "YES" : "NO"},
            {"parentController", parent ? parent->className() : std::string("nil")},
            {"indexPathInParentController", std::to_string(path.section) + "," + std::to_string(path.row)}};
}

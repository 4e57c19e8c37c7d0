#include "people/ParticipantDetailsViewController.h"

#include <unordered_set>

#include "Utils/StringUtility.h"
#include "Utils/Utils.h"
#include "analytics/AnalyticsUtils.h"
#include "app/AppStoryboards.h"
#include "app/CustomNavigationController.h"
#include "api/QVAApiManager.h"
#include "coredata/FetchRequest.h"
#include "coredata/SortDescriptor.h"
#include "foundation/Log.h"
#include "foundation/MainThreadChecker.h"
#include "lists/DetailNavigationCell.h"
#include "lists/DetailsNavigationDataModel.h"
#include "lists/DetailsSwipeScene.h"
#include "lists/FilterFetching.h"
#include "lists/IdIndexPair.h"
#include "lists/RowRing.h"
#include "lists/SwipeParentControllerProtocol.h"
#include "lists/ListSelectionModel.h"
#include "lists/MultilineLabelCell.h"
#include "model/IEntityModel.h"
#include "model/ModelClass.h"
#include "model/QVAAgendaRole.h"
#include "model/QVACoreDataAgendaRole.h"
#include "model/QVACoreDataFollowedParticipant.h"
#include "model/QVACoreDataOrganization.h"
#include "model/QVACoreDataParticipant.h"
#include "model/QVACoreDataSession.h"
#include "model/QVAFollowedParticipant.h"
#include "model/QVAMessageRecipient.h"
#include "model/QVAParticipant.h"
#include "model/QVARecommendedParticipant.h"
#include "model/QVASession.h"
#include "model/QVAUserAccount.h"
#include "people/MessageComposerViewController.h"
#include "people/OrganizationDetailsViewController.h"
#include "people/ParticipantContributionsListDelegate.h"
#include "people/ParticipantRecommendationsViewController.h"
#include "people/ParticipantRowActions.h"
#include "people/ParticipantsListBaseDelegate.h"
#include "people/QVAParticipantHeaderView.h"
#include "programme/ProgrammeDetailsViewController.h"
#include "programme/QVAPersonalNoteCell.h"
#include "programme/SubactivityCell.h"
#include "settings/ApplicationSettingsStore.h"
#include "settings/UnsavedPersonalNote.h"
#include "store/CoreDataStack.h"
#include "store/FetchRequestUtils.h"
#include "store/StorageManager.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UIColor.h"
#include "uikit/UIFont.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationController.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UINib.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UITableView.h"
#include "uikit/UITapGestureRecognizer.h"

namespace {

constexpr double kParticipantSectionHeaderHeight = 23;
constexpr double kParticipantSectionMargin = 15;

std::shared_ptr<MultilineLabelCell>& participantProfileSizingCell() {
    static std::shared_ptr<MultilineLabelCell> cell;
    return cell;
}

std::shared_ptr<SubactivityCell>& participantContributionSizingCell() {
    static std::shared_ptr<SubactivityCell> cell;
    return cell;
}

// The first field of each ";"-separated entry ("session id|...|type"),
// duplicates kept: a participant may hold two roles in one session.
std::vector<std::string> participantContributionSessionIds(const std::string& contributions) {
    std::vector<std::string> ids;
    size_t start = 0;
    while (start <= contributions.size()) {
        size_t end = contributions.find(';', start);
        if (end == std::string::npos) end = contributions.size();
        const std::string entry = contributions.substr(start, end - start);
        const std::string first = entry.substr(0, entry.find('|'));
        if (!first.empty()) ids.push_back(first);
        start = end + 1;
    }
    return ids;
}

foundation::Value participantTextValue(const std::optional<std::string>& text) {
    return text ? foundation::Value(*text) : foundation::Value::null();
}

}  // namespace

void ParticipantDetailsViewController::addSegues(uikit::UIStoryboard& storyboard, bool pad) {
    uikit::UIStoryboardSegueDefinition session;
    session.identifier = kSessionDetailsSegue;
    session.kind = uikit::UIStoryboardSegueKind::Push;
    session.destination = ProgrammeDetailsViewController::kStoryboardIdentifier;
    AppStoryboards::addSegueOnce(storyboard, kStoryboardIdentifier, session);
    // The composer's segue ("displayMessageComposerFromParticipant") comes
    // with the messages' scenes, beside the composer's other ways in.
    (void)pad;
}

ParticipantDetailsViewController::ParticipantDetailsViewController() = default;

ParticipantDetailsViewController::~ParticipantDetailsViewController() {
    if (!isViewLoaded()) return;
    const auto recognizers = view()->gestureRecognizers();
    for (const auto& recognizer : recognizers) view()->removeGestureRecognizer(recognizer);
}

std::shared_ptr<ParticipantDetailsViewController> ParticipantDetailsViewController::self() {
    return std::dynamic_pointer_cast<ParticipantDetailsViewController>(shared_from_this());
}

std::shared_ptr<QVAParticipantHeaderView> ParticipantDetailsViewController::participantHeaderView() const {
    return std::dynamic_pointer_cast<QVAParticipantHeaderView>(detailHeaderView());
}

void ParticipantDetailsViewController::loadView() {
    // From the storyboard the scene's view comes with the swipe recognisers:
    // the table goes into that view rather than replacing it.
    DetailsWithListBaseViewController::loadView();
    auto root = isViewLoaded() ? view() : std::make_shared<uikit::UIView>(graphics::Rect(0, 0, 320, 480));
    root->setBackgroundColor(graphics::Color::white());
    auto table = std::make_shared<uikit::UITableView>(root->bounds());
    table->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);
    root->addSubview(table);
    setView(root);
    setTableView(table);
}

void ParticipantDetailsViewController::viewDidLoad() {
    auto table = tableView();
    if (table) {
        auto me = self();
        table->setDataSource(me);
        table->setDelegate(me);
        Utils::registerCellNibs({QVARegistrableCell::of<MultilineLabelCell>(),
                                 QVARegistrableCell::of<QVAPersonalNoteCell>(),
                                 QVARegistrableCell::of<DetailNavigationCell>()},
                                *table);
        table->registerNib(uikit::UINib::nibWithNibName(SubactivityCell::cellNibName()), SubactivityCell::cellIdentifier());
        table->setSeparatorStyle(uikit::UITableViewCellSeparatorStyle::None);
    }
    contributionsDelegate_ = std::make_shared<ParticipantContributionsListDelegate>();
    refreshAdditionalDataSource();
    if (auto stack = FilterFetching::currentStack())
        contributionsDelegate_->refreshAdditionalDataSourceForCoreDataStack(stack, *this);
    DetailsWithListBaseViewController::viewDidLoad();
    if (!tapRecognizer_) {
        std::weak_ptr<ParticipantDetailsViewController> weak = self();
        tapRecognizer_ = std::make_shared<uikit::UITapGestureRecognizer>([weak](uikit::UIGestureRecognizer&) {
            auto me = weak.lock();
            if (!me) return;
            if (auto cell = me->visibleNoteCell()) cell->resignFirstResponderOnTextView();
        });
        tapRecognizer_->setCancelsTouchesInView(false);
        view()->addGestureRecognizer(tapRecognizer_);
    }
    if (table) table->reloadData();
}

std::shared_ptr<QVAPersonalNoteCell> ParticipantDetailsViewController::visibleNoteCell() {
    auto table = tableView();
    if (!table) return nullptr;
    return std::dynamic_pointer_cast<QVAPersonalNoteCell>(
        table->cellForRowAtIndexPath(uikit::NSIndexPath::indexPathForRow(0, kNoteSection)));
}

void ParticipantDetailsViewController::didRotateFromInterfaceOrientation(uikit::UIInterfaceOrientation orientation) {
    DetailsWithListBaseViewController::didRotateFromInterfaceOrientation(orientation);
    auto cell = visibleNoteCell();
    if (!cell) return;
    cell->becomeFirstResponderOnTextView();
    if (auto table = tableView()) table->reloadData();
}

std::vector<std::string> ParticipantDetailsViewController::entitiesArrayToObserveForFilteringUIUpdates() {
    return {QVACoreDataParticipant::kEntityName, QVACoreDataFollowedParticipant::kEntityName};
}

bool ParticipantDetailsViewController::hasNotesPermission() {
    auto stack = FilterFetching::currentStack();
    return stack && FetchRequestUtils::hasEventNotesPermissionGrantedInContext(stack->managedObjectContextMainQueue());
}

// --- Data ---

void ParticipantDetailsViewController::refreshAdditionalDataSource() {
    foundation::requireMainThread(kContributionIdsOffMainThread);
    contributionIds_.clear();
    if (!selectionPropertyId()) return;
    FilterFetching::Query query;
    query.entityName = QVACoreDataParticipant::kEntityName;
    query.predicate = coredata::Predicate::withFormat("%K = %@", std::string("itemId"), *selectionPropertyId());
    query.properties = {"contributions"};
    const auto rows = FilterFetching::fetchDictionaries(FilterFetching::currentStack(), query);
    if (rows.empty()) return;
    const auto& contributions = rows.front()["contributions"];
    if (const auto* text = contributions.string()) contributionIds_ = participantContributionSessionIds(*text);
}

void ParticipantDetailsViewController::initDataSource() {
    RowObjects rows;
    auto stack = FilterFetching::currentStack();
    if (!stack || !contributionsDelegate_) {
        setDataSourceArray(rows);
        return;
    }
    registerModelClasses();
    foundation::Value::Array ids;
    for (const auto& id : contributionIds_) ids.emplace_back(id);
    const auto idsPredicate = ids.empty() ? coredata::Predicate::falsePredicate()
                                          : coredata::Predicate::withFormat("itemId in %@", foundation::Value(ids));
    std::unordered_set<std::string> seen;
    const auto context = stack->managedObjectContextMainQueue();
    for (const auto& model : contributionsDelegate_->listSelectionModelEntities().value_or(
             std::vector<std::shared_ptr<ListSelectionModel>>{})) {
        if (!model) continue;
        auto request = std::make_shared<coredata::FetchRequest>(model->coreDataEntityName());
        request->setSortDescriptors(model->coreDataSortDescriptors());
        request->setPredicate(model->aditionalPredicateForSelection()
                                  ? coredata::Predicate::andPredicate({idsPredicate, model->aditionalPredicateForSelection()})
                                  : idsPredicate);
        request->setResultType(coredata::FetchRequestResultType::Dictionary);
        const auto& modelClass = model->modelEntityClass();
        for (const auto& result : StorageManager::sharedStorageManager().executeFetchRequestAndWait(request, context)) {
            const auto key = result["itemId"];
            const std::string keyText = key.isNothing() ? std::string() : key.description();
            if (!key.isNothing() && seen.count(keyText)) continue;
            if (!modelClass || !modelClass->initWithCoreDataDictionary) continue;
            if (auto object = std::dynamic_pointer_cast<IEntityModel>(modelClass->initWithCoreDataDictionary(result))) {
                rows.push_back(std::move(object));
                if (!key.isNothing()) seen.insert(keyText);
            }
        }
    }
    foundation::Value::Array values;
    for (const auto& row : rows) values.emplace_back(std::dynamic_pointer_cast<foundation::Object>(row));
    coredata::sortUsingDescriptors(values, contributionsDelegate_->sortDescriptors());
    rows.clear();
    for (const auto& value : values) rows.push_back(std::dynamic_pointer_cast<IEntityModel>(value.objectAs<foundation::Object>()));
    setDataSourceArray(std::move(rows));
}

void ParticipantDetailsViewController::setRightBarButtonsOnNavBar(const Text& participantId) {
    const auto account = ApplicationSettingsStore::sharedApplicationSettingsStore().currentAccount();
    const bool isUser = account && account->itemId() && participantId && *account->itemId() == *participantId;
    std::vector<uikit::UIBarButtonItemPtr> items;
    if (!isUser) {
        std::weak_ptr<ParticipantDetailsViewController> weak = self();
        items.push_back(uikit::UIBarButtonItem::withSystemItem(uikit::UIBarButtonSystemItem::Action, [weak](auto&&...) {
            if (auto me = weak.lock()) me->addToContacts();
        }));
        // A person whose id cannot be listed in a message's "to" cannot
        // receive one: the composer would name them and send to nobody.
        auto stack = FilterFetching::currentStack();
        if (participantId && QVAMessageRecipient::isSendableId(*participantId) && stack &&
            FetchRequestUtils::hasMessagesSendPermissionGrantedInContext(stack->managedObjectContextMainQueue()))
            items.push_back(uikit::UIBarButtonItem::withSystemItem(uikit::UIBarButtonSystemItem::Compose, [weak](auto&&...) {
                if (auto me = weak.lock()) me->sendMessage();
            }));
    }
    navigationItem()->setRightBarButtonItems(std::move(items));
}

void ParticipantDetailsViewController::updateUIContentForObject(const std::shared_ptr<coredata::ManagedObject>& object) {
    foundation::requireMainThread(kUpdateOffMainThreadReason, kUpdateOffMainThreadName);
    auto participant = std::dynamic_pointer_cast<QVACoreDataParticipant>(object);
    auto table = tableView();
    if (!participant || !table) return;
    setRightBarButtonsOnNavBar(participant->itemId());
    auto stack = FilterFetching::currentStack();
    // A note the service has not taken shows instead of the stored one and
    // goes again once per opening (online; else with the next edit or the
    // next opening), unless the service refused it for good.
    const UnsavedPersonalNote unsaved(UnsavedPersonalNote::kParticipants, selectionPropertyId());
    participantNote_ = hasNotesPermission() ? unsaved.text() : std::nullopt;
    if (!participantNote_)
        participantNote_ = participant->itemId() && stack
                               ? FetchRequestUtils::getNoteForParticipantId(*participant->itemId(),
                                                                            stack->managedObjectContextMainQueue())
                               : std::nullopt;
    else if (unsaved.goesAgainIn(*noteOpening_) && Utils::isInternetReachable())
        sendNote(*participantNote_);
    if (!detailHeaderView()) {
        setDetailHeaderView(QVADetailHeaderView::addHeaderToTableView(table, QVAParticipantHeaderView::getNibName(),
                                                                      QVAParticipantHeaderView::getHeaderHeight()));
        if (auto header = participantHeaderView()) header->setDelegate(self());
    }
    foundation::Log("updateUIContentForObject for Participant %@", participantTextValue(participant->itemId()));
    participantFullName_ = participant->fullName();
    participantProfile_ = participant->profile();
    if (auto header = participantHeaderView())
        header->configureWithParticipantId(participant->itemId(), participant->photoUrl(), participant->fullName(),
                                           participant->positionTitle(), participant->organizationName());
    createNavigationDataSourceForObject(*participant);
    refreshAdditionalDataSource();
    if (!contributionIds_.empty()) initDataSource();
    else setDataSourceArray({});
    table->reloadData();
}

void ParticipantDetailsViewController::createNavigationDataSourceForObject(const QVACoreDataParticipant& participant) {
    navigationRows_.clear();
    recommandationsCellIndex_.reset();
    if (!Utils::isIPad() && !StringUtility::isNilOrEmpty(participant.profile())) {
        auto row = std::make_shared<DetailsNavigationDataModel>();
        row->selectionPropertyId = participant.itemId();
        row->entityName = std::string(QVACoreDataParticipant::kEntityName);
        row->cellTitle = std::string(kAdditionalDetailsTitle);
        row->storyboardIdentifier = std::string(kExtraInfoStoryboardIdentifier);
        row->iconName = std::string("icon_additional_details.png");
        row->isNavigationEnabled = true;
        navigationRows_.push_back(row);
    }
    auto stack = FilterFetching::currentStack();
    if (stack && FetchRequestUtils::hasEventRecommendationsPermissionGrantedInContext(stack->managedObjectContextMainQueue())) {
        auto row = std::make_shared<DetailsNavigationDataModel>();
        row->selectionPropertyId = participant.itemId();
        row->entityName = std::string(QVACoreDataParticipant::kEntityName);
        row->cellTitle = std::string(kRecommendedTitle);
        row->storyboardIdentifier = std::string(ParticipantRecommendationsViewController::kStoryboardIdentifier);
        row->viewControllerTitle = std::string(ParticipantRecommendationsViewController::kTitle);
        row->iconName = std::string("icon_also_recommended.png");
        row->controllerListDelegateClassType =
            ListDelegateClass::of<ParticipantsListBaseDelegate>("ParticipantsListBaseDelegate");
        row->analyticsPayload = participant.fullName();
        row->isNavigationEnabled = false;
        recommandationsCellIndex_ = navigationRows_.size();
        navigationRows_.push_back(row);
        askRecommendationsFor(row);
    }
}

void ParticipantDetailsViewController::askRecommendationsFor(const std::shared_ptr<DetailsNavigationDataModel>& row) {
    const auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    std::weak_ptr<ParticipantDetailsViewController> weak = self();
    QVAApiManager::sharedApiManager().getRecommendedParticipantsForParticipantId(
        row->selectionPropertyId, settings.currentAuthToken(), settings.currentEventId(),
        [weak, row](const foundation::ErrorPtr& error, const foundation::Value& answer) {
            const auto* items = answer.array();
            if (error || !items) {
                foundation::Log(kRecommendationsFailureLog);
                return;
            }
            foundation::Value::Array ids;
            for (const auto& item : *items)
                if (auto recommended = item.objectAs<QVARecommendedParticipant>())
                    if (recommended->itemId()) ids.emplace_back(*recommended->itemId());
            if (ids.empty()) return;
            FilterFetching::Query query;
            query.entityName = QVACoreDataParticipant::kEntityName;
            query.predicate = coredata::Predicate::withFormat("itemId IN %@", foundation::Value(ids));
            std::vector<foundation::ObjectPtr> participants;
            for (const auto& stored : FilterFetching::fetchDictionaries(FilterFetching::currentStack(), query))
                if (auto participant = QVAParticipant::initWithCoreDataDictionary(stored)) participants.push_back(participant);
            if (participants.empty()) return;
            row->extraInfo = std::move(participants);
            row->isNavigationEnabled = true;
            auto me = weak.lock();
            auto table = me ? me->tableView() : nullptr;
            if (!table) return;
            for (size_t index = 0; index < me->navigationRows_.size(); ++index) {
                if (me->navigationRows_[index] != row) continue;
                const auto path = uikit::NSIndexPath::indexPathForRow(static_cast<int64_t>(index), kNavigationSection);
                if (auto cell = std::dynamic_pointer_cast<DetailNavigationCell>(table->cellForRowAtIndexPath(path)))
                    cell->setNavigationEnabled(true);
            }
        });
}

// --- Bar items ---

void ParticipantDetailsViewController::sendMessage() { showOptionToChooseMeetingOrSendMessage(); }

void ParticipantDetailsViewController::showOptionToChooseMeetingOrSendMessage() {
    performSegueWithIdentifier(MessageComposerViewController::kParticipantSegue, nullptr);
}

// --- Header ---

void ParticipantDetailsViewController::changeFollowedStatusTo(bool followed) {
    if (!ParticipantRowActions::checkReachableOrAlert()) return;
    auto participant = std::dynamic_pointer_cast<QVACoreDataParticipant>(currentObject());
    if (!participant) return;
    ParticipantRowActions::toggleFavorite(ParticipantRowActions::followedParticipantFrom(*participant), !followed);
}

void ParticipantDetailsViewController::showOrganizationDetail() {
    auto participant = std::dynamic_pointer_cast<QVACoreDataParticipant>(currentObject());
    auto organization = BaseViewController::instantiateViewController<OrganizationDetailsViewController>();
    if (!participant || !organization) return;
    organization->setEntityName(std::string(QVACoreDataOrganization::kEntityName));
    organization->setSelectionPropertyId(participant->organizationId());
    auto segue = std::make_shared<ParticipantToDetailsSegue>(
        kOrganizationSegue, std::static_pointer_cast<uikit::UIViewController>(shared_from_this()), organization);
    segue->perform();
}

// --- Navigation rows ---

void ParticipantDetailsViewController::pushNavigationWithDetailsDataModel(
    const std::shared_ptr<DetailsNavigationDataModel>& model) {
    if (!model) return;
    auto page = BaseViewController::instantiateViewControllerWithStoryboardIdentifier(model->storyboardIdentifier);
    auto navigation = navigationController();
    if (!page || !navigation) return;
    if (auto* details = dynamic_cast<DetailsScreenSupport*>(page.get())) details->setInputs(inputs());
    if (auto recommendations = std::dynamic_pointer_cast<ParticipantRecommendationsViewController>(page)) {
        recommendations->setSelectionPropertyId(selectionPropertyId());
        ParticipantRecommendationsViewController::Participants participants;
        for (const auto& item : model->extraInfo)
            if (auto participant = std::dynamic_pointer_cast<QVAParticipant>(item)) participants.push_back(participant);
        recommendations->setExtraInfo(std::move(participants));
        recommendations->setAnalyticsPayload(model->analyticsPayload);
    }
    if (model->viewControllerTitle) page->setTitle(model->viewControllerTitle);
    navigation->pushViewController(page, true);
}

// --- The note ---

void ParticipantDetailsViewController::refreshNoteCellHeightWithText(const std::string& text) {
    participantNote_ = text;
    auto table = tableView();
    if (!table) return;
    table->beginUpdates();
    table->endUpdates();
}

void ParticipantDetailsViewController::endEditingNote(const std::string& text) {
    participantNote_ = text;
    foundation::ValueDictionary data;
    data["Participant id"] = participantTextValue(selectionPropertyId());
    data["Participant name"] = participantTextValue(participantFullName_);
    AnalyticsUtils::trackEventWithNameAndData("Add note to participant", data);
    sendNote(text);
}

void ParticipantDetailsViewController::sendNote(const std::string& text) {
    // Kept before it goes: a screen left before the answer (or after a
    // failure) must not lose the text.
    const UnsavedPersonalNote unsaved(UnsavedPersonalNote::kParticipants, selectionPropertyId());
    unsaved.keep(text);
    unsaved.sentIn(*noteOpening_);
    const auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    QVAApiManager::sharedApiManager().addNoteToParticipant(
        text, selectionPropertyId(), settings.currentEventId(), settings.currentAuthToken(),
        [unsaved, text](const foundation::ErrorPtr& error, const foundation::Value&) {
            if (!error) return unsaved.drop(text);
            Text message;
            if (UnsavedPersonalNote::isRefusalForGood(error)) {
                unsaved.refuse(text);
                message = UnsavedPersonalNote::kRefusedMessage;
            }
            Utils::handleError(error, kNoteFailureTitle, message);
        });
}

// --- Table ---

int64_t ParticipantDetailsViewController::numberOfSectionsInTableView(uikit::UITableView&) { return 4; }

int64_t ParticipantDetailsViewController::tableViewNumberOfRowsInSection(uikit::UITableView&, int64_t section) {
    switch (section) {
        case kNoteSection:
        case kProfileSection:
            return 1;
        case kContributionsSection:
            return static_cast<int64_t>(dataSourceArray().size());
        case kNavigationSection:
            return static_cast<int64_t>(navigationRows_.size());
        default:
            return 0;
    }
}

uikit::UITableViewCellPtr ParticipantDetailsViewController::tableViewCellForRowAtIndexPath(
    uikit::UITableView& table, const uikit::NSIndexPath& indexPath) {
    uikit::UITableViewCellPtr cell;
    if (indexPath.section == kNoteSection && hasNotesPermission()) {
        auto note = std::dynamic_pointer_cast<QVAPersonalNoteCell>(
            table.dequeueReusableCellWithIdentifier(QVAPersonalNoteCell::cellIdentifier(), indexPath));
        if (note) {
            note->setPersonalNotesDelegate(self());
            note->configureWithNoteContent(participantNote_);
        }
        cell = note;
    } else if (indexPath.section == kProfileSection) {
        auto profile = std::dynamic_pointer_cast<MultilineLabelCell>(
            table.dequeueReusableCellWithIdentifier(MultilineLabelCell::cellIdentifier()));
        if (profile && profile->multilineLabel()) profile->multilineLabel()->setText(participantProfile_);
        if (profile) profile->setUserInteractionEnabled(false);
        cell = profile;
    } else if (indexPath.section == kContributionsSection) {
        cell = table.dequeueReusableCellWithIdentifier(SubactivityCell::cellIdentifier());
        const auto& rows = dataSourceArray();
        if (cell && contributionsDelegate_ && indexPath.row < static_cast<int64_t>(rows.size()) && rows[indexPath.row])
            contributionsDelegate_->modelObject(*rows[indexPath.row], *cell, true, *this);
    } else if (indexPath.section == kNavigationSection && indexPath.row < static_cast<int64_t>(navigationRows_.size())) {
        auto navigation = std::dynamic_pointer_cast<DetailNavigationCell>(
            table.dequeueReusableCellWithIdentifier(DetailNavigationCell::cellIdentifier()));
        if (navigation) navigation->configureWithDataModel(*navigationRows_[static_cast<size_t>(indexPath.row)]);
        cell = navigation;
    }
    if (!cell) {
        cell = std::make_shared<uikit::UITableViewCell>(uikit::UITableViewCellStyle::Default,
                                                        std::string(kHiddenCellIdentifier));
        cell->setHidden(true);
    }
    cell->setSelectionStyle(uikit::UITableViewCellSelectionStyle::None);
    return cell;
}

std::optional<double> ParticipantDetailsViewController::tableViewHeightForRowAtIndexPath(
    uikit::UITableView& table, const uikit::NSIndexPath& indexPath) {
    switch (indexPath.section) {
        case kNoteSection: {
            if (!hasNotesPermission()) return 0.0;
            if (StringUtility::isNilOrEmpty(participantNote_)) return kEmptyNoteHeight;
            const auto size = Utils::getTextSize(participantNote_, uikit::UIFont::fontWithName(kNoteFontName, kNoteFontSize),
                                                 graphics::Size(table.bounds().size.width, 10000));
            return size.height + kNoteVerticalPadding;
        }
        case kProfileSection: {
            if (StringUtility::isNilOrEmpty(participantProfile_)) return 0.0;
            auto& sizing = participantProfileSizingCell();
            if (!sizing)
                sizing = std::dynamic_pointer_cast<MultilineLabelCell>(
                    table.dequeueReusableCellWithIdentifier(MultilineLabelCell::cellIdentifier()));
            if (!sizing || !sizing->multilineLabel()) return 0.0;
            sizing->multilineLabel()->setText(participantProfile_);
            return Utils::calculateHeightForConfiguredSizingCell(*sizing, table);
        }
        case kContributionsSection: {
            auto& sizing = participantContributionSizingCell();
            if (!sizing)
                sizing = std::dynamic_pointer_cast<SubactivityCell>(
                    table.dequeueReusableCellWithIdentifier(SubactivityCell::cellIdentifier()));
            const auto& rows = dataSourceArray();
            if (!sizing || !contributionsDelegate_ || indexPath.row >= static_cast<int64_t>(rows.size()) ||
                !rows[indexPath.row])
                return 0.0;
            contributionsDelegate_->modelObject(*rows[indexPath.row], *sizing, true, *this);
            return sizing->getCellHeightInTableView(table);
        }
        case kNavigationSection:
            return kNavigationRowHeight;
        default:
            return 0.0;
    }
}

std::optional<double> ParticipantDetailsViewController::tableViewHeightForHeaderInSection(uikit::UITableView&,
                                                                                         int64_t section) {
    return section == kContributionsSection && !contributionIds_.empty() ? kParticipantSectionHeaderHeight : 0.0;
}

std::shared_ptr<uikit::UIView> ParticipantDetailsViewController::tableViewViewForHeaderInSection(uikit::UITableView& table,
                                                                                                 int64_t section) {
    if (section != kContributionsSection || contributionIds_.empty()) return nullptr;
    const double width = table.bounds().size.width;
    auto header = std::make_shared<uikit::UIView>(graphics::Rect(0, 0, width, kParticipantSectionHeaderHeight));
    header->setBackgroundColor(graphics::Color::white());
    auto line = std::make_shared<uikit::UIView>(graphics::Rect(kParticipantSectionMargin, 0, width - kParticipantSectionMargin, 0.5));
    line->setBackgroundColor(uikit::UIColor::lightGrayColor());
    line->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
    header->addSubview(line);
    auto label = std::make_shared<uikit::UILabel>(
        graphics::Rect(kParticipantSectionMargin, 5, width - 2 * kParticipantSectionMargin, kParticipantSectionHeaderHeight - 5));
    label->setFont(uikit::UIFont::fontWithName("HelveticaNeue-Medium", 14));
    label->setTextColor(uikit::UIColor::colorWithWhite(0.25, 1));
    label->setText(std::string(kContributionsTitle));
    label->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
    header->addSubview(label);
    return header;
}

void ParticipantDetailsViewController::tableViewDidSelectRowAtIndexPath(uikit::UITableView& table,
                                                                       const uikit::NSIndexPath& indexPath) {
    table.deselectRowAtIndexPath(indexPath, true);
    if (indexPath.section == kContributionsSection) {
        performSegueWithIdentifier(kSessionDetailsSegue, table.cellForRowAtIndexPath(indexPath));
    } else if (indexPath.section == kNavigationSection && indexPath.row < static_cast<int64_t>(navigationRows_.size())) {
        const auto& row = navigationRows_[static_cast<size_t>(indexPath.row)];
        if (row->isNavigationEnabled) pushNavigationWithDetailsDataModel(row);
    }
}

void ParticipantDetailsViewController::prepareForSegue(uikit::UIStoryboardSegue& segue, const foundation::ObjectPtr& sender) {
    DetailsWithListBaseViewController::prepareForSegue(segue, sender);
    auto destination = segue.destinationViewController();
    // A swipe stays within this opening of the page.
    if (segue.identifier() == DetailsSwipeScene::kSwipeSegue) {
        if (auto next = std::dynamic_pointer_cast<ParticipantDetailsViewController>(destination))
            next->noteOpening_ = noteOpening_;
        return;
    }
    if (segue.identifier() == MessageComposerViewController::kParticipantSegue) {
        if (auto navigation = std::dynamic_pointer_cast<uikit::UINavigationController>(destination))
            destination = navigation->viewControllers().empty() ? nullptr : navigation->viewControllers().front();
        auto composer = std::dynamic_pointer_cast<MessageComposerViewController>(destination);
        if (!composer || !selectionPropertyId() || !QVAMessageRecipient::isSendableId(*selectionPropertyId())) return;
        composer->setAlreadyAddedToFieldOrvaneUsers({{*selectionPropertyId(), participantFullName_.value_or("")}});
        return;
    }
    if (segue.identifier() != kSessionDetailsSegue) return;
    auto table = tableView();
    auto cell = std::dynamic_pointer_cast<uikit::UITableViewCell>(sender);
    auto* details = dynamic_cast<DetailsScreenSupport*>(destination.get());
    if (!table || !cell || !details) return;
    const auto path = table->indexPathForCell(*cell);
    const auto& rows = dataSourceArray();
    if (!path || path->row < 0 || path->row >= static_cast<int64_t>(rows.size())) return;
    const auto& object = rows[static_cast<size_t>(path->row)];
    DetailsScreenInputs inputs = details->inputs();
    if (auto* role = dynamic_cast<QVAAgendaRole*>(object.get())) {
        inputs.selectionPropertyId = role->agendaItemId();
        inputs.entityName = std::string(QVACoreDataAgendaRole::kEntityName);
    } else if (auto* session = dynamic_cast<QVASession*>(object.get())) {
        inputs.selectionPropertyId = session->itemId();
        inputs.entityName = std::string(QVACoreDataSession::kEntityName);
    }
    inputs.parentController = std::dynamic_pointer_cast<SwipeParentControllerProtocol>(shared_from_this());
    inputs.indexPathInParentController = *path;
    inputs.isSwipeEnabled = rows.size() > 1;
    details->setInputs(std::move(inputs));
}

std::shared_ptr<IdIndexPair> ParticipantDetailsViewController::getNextIdIndexPathPairAndMoveSelectionInDirection(
    unsigned direction, const std::optional<std::string>&, const uikit::NSIndexPath& indexPath) {
    const auto& rows = dataSourceArray();
    // A lone contribution has no other to go to.
    RowRing::Rules rules;
    rules.fewestRowsToWrapNext = rules.fewestRowsToWrapPrevious = 2;
    auto step = RowRing({static_cast<int64_t>(rows.size())}, kContributionsSection, rules)
                    .step(direction, uikit::NSIndexPath::indexPathForRow(indexPath.row, kContributionsSection));
    if (!step) return nullptr;
    const auto target = *step;
    if (auto table = tableView()) table->selectRowAtIndexPath(target, false, uikit::UITableViewScrollPosition::Middle);
    auto pair = std::make_shared<IdIndexPair>();
    pair->setIndexPath(target);
    if (const auto& object = rows[static_cast<size_t>(target.row)]) {
        pair->setObjectId(object->selectionPropertyId());
        pair->setEntityName(object->coreDataClass());
    }
    return pair;
}

void ParticipantDetailsViewController::addToContacts() { showNewPersonViewController(); }

addressbook::ABRecordRef ParticipantDetailsViewController::participantContactRecord() {
    using namespace addressbook;
    auto participant = std::dynamic_pointer_cast<QVACoreDataParticipant>(currentObject());
    if (!participant) return nullptr;
    auto record = ABPersonCreate();
    ABRecordSetValue(record, ABPropertyID::FirstName, participant->firstName());
    ABRecordSetValue(record, ABPropertyID::LastName, participant->lastName());
    ABRecordSetValue(record, ABPropertyID::Organization, participant->organizationName());
    auto phones = ABMultiValueCreateMutable();
    if (!StringUtility::isNilOrEmpty(participant->phone()))
        ABMultiValueAddValueAndLabel(phones, *participant->phone(), kABPersonPhoneMainLabel);
    if (!StringUtility::isNilOrEmpty(participant->mobilePhone()))
        ABMultiValueAddValueAndLabel(phones, *participant->mobilePhone(), kABPersonPhoneMobileLabel);
    if (!phones->valuesAndLabels.empty()) ABRecordSetValue(record, ABPropertyID::Phone, phones);
    if (!StringUtility::isNilOrEmpty(participant->email())) {
        auto emails = ABMultiValueCreateMutable();
        ABMultiValueAddValueAndLabel(emails, *participant->email(), kABWorkLabel);
        ABRecordSetValue(record, ABPropertyID::Email, emails);
    }
    if (!StringUtility::isNilOrEmpty(participantNote_)) ABRecordSetValue(record, ABPropertyID::Note, participantNote_);
    return record;
}

void ParticipantDetailsViewController::showNewPersonViewController() {
    using namespace addressbook;
    foundation::ValueDictionary data;
    data["Participant name"] = participantTextValue(participantFullName_);
    data["Participant id"] = participantTextValue(selectionPropertyId());
    AnalyticsUtils::trackEventWithNameAndData("Add participant as contact", data);
    auto record = participantContactRecord();
    if (!record) return;
    auto book = ABAddressBookCreateWithOptions(nullptr);
    bool known = false;
    for (const auto& person : ABAddressBookCopyArrayOfAllPeople(book))
        if (person && person->firstName == record->firstName && person->lastName == record->lastName) known = true;
    if (known) {
        auto card = std::make_shared<ABUnknownPersonViewController>();
        card->setDisplayedPerson(record);
        card->setAddressBook(book);
        card->setTitle(std::string(kExistingContactTitle));
        card->setAllowsAddingToAddressBook(true);
        card->setAllowsActions(true);
        card->setUnknownPersonViewDelegate(self());
        if (auto navigation = navigationController()) navigation->pushViewController(card, true);
        return;
    }
    auto form = std::make_shared<ABNewPersonViewController>();
    form->setDisplayedPerson(record);
    form->setAddressBook(book);
    form->setTitle(std::string(kNewContactTitle));
    form->setNewPersonViewDelegate(self());
    auto navigation = std::make_shared<CustomNavigationController>();
    navigation->setViewControllers({form}, false);
    presentViewController(navigation, true, nullptr);
}

void ParticipantDetailsViewController::newPersonViewControllerDidCompleteWithNewPerson(
    addressbook::ABNewPersonViewController&, const addressbook::ABRecordRef&) {
    dismissViewControllerAnimated(true);
}

void ParticipantDetailsViewController::unknownPersonViewControllerDidResolveToPerson(
    addressbook::ABUnknownPersonViewController&, const addressbook::ABRecordRef&) {
    dismissViewControllerAnimated(true);
}

bool ParticipantDetailsViewController::unknownPersonViewControllerShouldPerformDefaultActionForPerson(
    addressbook::ABUnknownPersonViewController&, const addressbook::ABRecordRef&) {
    return false;
}

void ParticipantDetailsViewController::peoplePickerNavigationControllerDidCancel(
    addressbook::ABPeoplePickerNavigationController&) {
    dismissViewControllerAnimated(true);
}

bool ParticipantDetailsViewController::peoplePickerNavigationControllerShouldContinueAfterSelectingPerson(
    addressbook::ABPeoplePickerNavigationController&, const addressbook::ABRecordRef&) {
    return true;
}

bool ParticipantDetailsViewController::peoplePickerNavigationControllerShouldContinueAfterSelectingPerson(
    addressbook::ABPeoplePickerNavigationController&, const addressbook::ABRecordRef&, addressbook::ABPropertyID,
    addressbook::ABMultiValueIdentifier) {
    return false;
}

bool ParticipantDetailsViewController::personViewControllerShouldPerformDefaultActionForPerson(
    addressbook::ABPersonViewController&, const addressbook::ABRecordRef&, addressbook::ABPropertyID,
    addressbook::ABMultiValueIdentifier) {
    return false;
}

#include "programme/ListSessionsBaseViewController.h"

#include <algorithm>

#include "Utils/DateHelper.h"
#include "Utils/UIBlockAlertView.h"
#include "Utils/Utils.h"
#include "analytics/AnalyticsUtils.h"
#include "api/ApplicationService.h"
#include "api/SyncCalendarService.h"
#include "app/AppDelegate.h"
#include "app/ChooseCalendarViewController.h"
#include "app/CustomSegmentedNavigationController.h"
#include "app/EventsSplitViewController.h"
#include "app/SegBarButtonItem.h"
#include "eventkit/EKCalendar.h"
#include "eventkit/EKSource.h"
#include "foundation/Format.h"
#include "foundation/MainThreadChecker.h"
#include "lists/DetailsNavigationController.h"
#include "lists/DetailsScreenSupport.h"
#include "lists/FilterModel.h"
#include "lists/FilterScreenScenes.h"
#include "lists/FiltersTableViewController.h"
#include "lists/IdIndexPair.h"
#include "lists/ListsDataSourceProtocol.h"
#include "model/IEntityModel.h"
#include "model/QVAAgendaRole.h"
#include "model/QVACoreDataAgendaRole.h"
#include "model/QVACoreDataSession.h"
#include "model/QVAEvent.h"
#include "model/QVASession.h"
#include "programme/AddPersonalEntryViewController.h"
#include "programme/ListSessionsBaseDelegate.h"
#include "programme/ProgrammeDetailsViewController.h"
#include "programme/SubactivityCell.h"
#include "settings/ApplicationSettingsStore.h"
#include "uikit/StoryboardPopoverSegue.h"
#include "uikit/UIButton.h"
#include "uikit/UIImage.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UINib.h"
#include "uikit/UISearchBar.h"
#include "uikit/UISearchDisplayController.h"
#include "uikit/UISegmentedControl.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UIStoryboardSegue.h"
#include "uikit/UIToolbar.h"
#include "uikit/UIView.h"

using foundation::Value;

namespace {

constexpr double kSessionsListWidth = 320;
constexpr double kSessionsListHeight = 480;
constexpr double kSessionsDayLabelWidth = 180;
constexpr double kSessionsDayLabelHeight = 30;
constexpr const char* kSyncStateKey = "State";

std::optional<std::string> sessionsListEventId() {
    auto event = ApplicationSettingsStore::sharedApplicationSettingsStore().currentEvent();
    return event ? event->itemId() : std::nullopt;
}

// A toolbar arrow: a custom button with an image per state, as large as its
// image plus the margins that make it easy to hit.
std::shared_ptr<uikit::UIButton> sessionsListArrowButton(const char* normal, const char* highlighted,
                                                          const char* disabled) {
    auto button = uikit::UIButton::buttonWithType(uikit::UIButtonType::Custom);
    auto image = uikit::UIImage::imageNamed(normal);
    button->setImage(image, uikit::UIControlStateNormal);
    button->setImage(uikit::UIImage::imageNamed(highlighted), uikit::UIControlStateHighlighted);
    button->setImage(uikit::UIImage::imageNamed(disabled), uikit::UIControlStateDisabled);
    const graphics::Size size = image ? image->size() : graphics::Size{0, 0};
    button->setFrame(graphics::Rect(0, 0, size.width + ListSessionsBaseViewController::kArrowExtraWidth,
                                    size.height + ListSessionsBaseViewController::kArrowExtraHeight));
    return button;
}

void sessionsListSetArrowEnabled(const std::shared_ptr<uikit::UIBarButtonItem>& item, bool enabled) {
    if (!item) return;
    item->setEnabled(enabled);
    if (auto button = std::dynamic_pointer_cast<uikit::UIButton>(item->customView())) button->setEnabled(enabled);
}

}  // namespace

// --- The scene ---

struct ListSessionsSceneBuilder {
    static std::shared_ptr<uikit::UIView> build(uikit::UIViewController& owner, uikit::SceneOutlets& outlets) {
        auto& list = static_cast<ListSessionsBaseViewController&>(owner);
        const graphics::Rect frame(0, 0, kSessionsListWidth, kSessionsListHeight);
        auto root = std::make_shared<uikit::UIView>(frame);
        root->setBackgroundColor(graphics::Color::white());

        auto bar = outlets.connect("searchBar", std::make_shared<uikit::UISearchBar>(
                                                    graphics::Rect(0, 0, frame.size.width, uikit::UISearchBar::kBarHeight)));
        bar->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
        root->addSubview(bar);

        double top = uikit::UISearchBar::kBarHeight;
        auto toolbar = outlets.connect(
            "titleToolbar", std::make_shared<uikit::UIToolbar>(graphics::Rect(0, top, frame.size.width, uikit::UIToolbar::kHeight)));
        toolbar->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
        root->addSubview(toolbar);
        top += uikit::UIToolbar::kHeight;

        auto dayLabel = outlets.connect("dayNameLabel", std::make_shared<uikit::UILabel>(
                                                            graphics::Rect(0, 0, kSessionsDayLabelWidth, kSessionsDayLabelHeight)));
        dayLabel->setTextAlignment(uikit::NSTextAlignment::Center);
        auto titleLabel = outlets.connect("titleLabel", std::make_shared<uikit::UILabel>(
                                                            graphics::Rect(0, 0, kSessionsDayLabelWidth, kSessionsDayLabelHeight)));
        titleLabel->setTextAlignment(uikit::NSTextAlignment::Center);
        titleLabel->setHidden(true);
        auto previous = outlets.connect("previousDayButton", std::make_shared<uikit::UIBarButtonItem>());
        auto next = outlets.connect("nextDayButton", std::make_shared<uikit::UIBarButtonItem>());
        auto dayItem = uikit::UIBarButtonItem::withCustomView(dayLabel);
        auto space = [] { return uikit::UIBarButtonItem::withSystemItem(uikit::UIBarButtonSystemItem::FlexibleSpace); };
        toolbar->setItems({previous, space(), dayItem, space(), next});

        auto table = outlets.connect("tableView", std::make_shared<uikit::UITableView>(
                                                      graphics::Rect(0, top, frame.size.width, frame.size.height - top)));
        table->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);
        root->addSubview(table);

        std::weak_ptr<ListSessionsBaseViewController> weak =
            std::static_pointer_cast<ListSessionsBaseViewController>(list.shared_from_this());
        auto right = uikit::UIBarButtonItem::withImage(nullptr, uikit::UIBarButtonItemStyle::Plain,
                                                       [weak](uikit::UIBarButtonItem& sender) {
                                                           if (auto screen = weak.lock())
                                                               screen->onRightBarButtonItemPressed(sender);
                                                       });
        outlets.connect("rightBarButton", right);
        list.navigationItem()->setRightBarButtonItem(right);

        list.table_ = table;
        list.setTableView(table);
        list.titleToolbar_ = toolbar;
        list.dayNameLabel_ = dayLabel;
        list.titleLabel_ = titleLabel;
        list.previousDayButton_ = previous;
        list.nextDayButton_ = next;
        list.rightBarButton_ = right;
        // The toolbar's item keeps the hidden title label until a delegate asks for it.
        list.titleLabelItem_ = uikit::UIBarButtonItem::withCustomView(titleLabel);
        uikit::UISearchDisplayController::create(bar, std::static_pointer_cast<uikit::UIViewController>(list.shared_from_this()));
        return root;
    }
};

void ListSessionsBaseViewController::addScene(uikit::UIStoryboard& storyboard) {
    const bool pad = storyboard.name() == "Storyboard_iPad";
    const std::string scene = kStoryboardIdentifier;
    storyboard.addScene(
        scene, [](uikit::UIStoryboard&) { return std::make_shared<ListSessionsBaseViewController>(); },
        &ListSessionsSceneBuilder::build);
    storyboard.addPrototypeCell(scene, SubactivityCell::cellIdentifier(),
                                [] { return std::static_pointer_cast<uikit::UIView>(SubactivityCell::loadFromNib()); });

    for (const char* identifier : {kDetailsSegue, kLocationDetailsSegue}) {
        if (pad) {
            storyboard.addSegue(scene, uikit::UIStoryboardSegueDefinition::custom(
                                           identifier, ProgrammeDetailsViewController::kStoryboardIdentifier,
                                           [](const uikit::UIViewControllerPtr&, const uikit::UIViewControllerPtr& detail) {
                                               DetailsNavigationController::showInSplitViewDetail(detail);
                                           }));
        } else {
            uikit::UIStoryboardSegueDefinition push;
            push.identifier = identifier;
            push.kind = uikit::UIStoryboardSegueKind::Push;
            push.destination = ProgrammeDetailsViewController::kStoryboardIdentifier;
            storyboard.addSegue(scene, push);
        }
    }
    FilterScreenScenes::addListFiltersSegue(storyboard, scene, kFiltersSegue, pad);

    uikit::UIStoryboardSegueDefinition addEntry;
    addEntry.identifier = kAddEntrySegue;
    addEntry.kind = pad ? uikit::UIStoryboardSegueKind::Popover : uikit::UIStoryboardSegueKind::Push;
    addEntry.destination = pad ? AddPersonalEntryViewController::kNavigationStoryboardIdentifier
                               : AddPersonalEntryViewController::kStoryboardIdentifier;
    storyboard.addSegue(scene, addEntry);

    uikit::UIStoryboardSegueDefinition chooser;
    chooser.identifier = kChooseCalendarSegue;
    chooser.kind = uikit::UIStoryboardSegueKind::Push;
    chooser.destination = ChooseCalendarViewController::kStoryboardIdentifier;
    storyboard.addSegue(scene, chooser);
}

// --- Life ---

ListSessionsBaseViewController::ListSessionsBaseViewController() {
    addUnwindAction(FilterScreenScenes::kListApplyFiltersAction, [this](uikit::UIStoryboardSegue& segue) {
        if (filtersPopover_ && filtersPopover_->isPopoverVisible()) filtersPopover_->dismissPopoverAnimated(false);
        if (auto screen = std::dynamic_pointer_cast<FiltersTableViewController>(segue.sourceViewController()))
            filterCollectionBy(screen->filtersArray());
    });
    addUnwindAction(kFiltersCancelAction, [this](uikit::UIStoryboardSegue&) {
        if (filtersPopover_ && filtersPopover_->isPopoverVisible()) filtersPopover_->dismissPopoverAnimated(true);
    });
    addUnwindAction(AddPersonalEntryViewController::kUnwindAction, [this](uikit::UIStoryboardSegue&) {
        if (addEntryPopover_ && addEntryPopover_->isPopoverVisible()) addEntryPopover_->dismissPopoverAnimated(true);
    });
    addUnwindAction(ChooseCalendarViewController::kUnwindAction, [this](uikit::UIStoryboardSegue& segue) {
        if (auto chooser = std::dynamic_pointer_cast<ChooseCalendarViewController>(segue.sourceViewController()))
            onSelectCalendarToSync(*chooser);
    });
}

ListSessionsBaseViewController::~ListSessionsBaseViewController() {
    if (filtersPopover_) filtersPopover_->setDelegate(nullptr);
    if (addEntryPopover_) addEntryPopover_->setDelegate(nullptr);
}

std::shared_ptr<ListSessionsBaseViewController> ListSessionsBaseViewController::self() {
    return std::static_pointer_cast<ListSessionsBaseViewController>(shared_from_this());
}

void ListSessionsBaseViewController::viewDidLoad() {
    MultipleEntitiesListBaseViewController::viewDidLoad();
    auto me = self();
    if (table_) {
        table_->registerNib(uikit::UINib::nibWithNibName(SubactivityCell::cellNibName()), SubactivityCell::cellIdentifier());
        table_->setDataSource(me);
        table_->setDelegate(me);
    }
    if (const auto& search = searchDisplayController()) {
        search->answerWith(me);
        search->searchResultsTableView()->registerNib(uikit::UINib::nibWithNibName(SubactivityCell::cellNibName()),
                                                      SubactivityCell::cellIdentifier());
    }
    hideToolbarNavigation_ = false;
    const auto& delegate = listDelegate();
    if (auto title = delegate ? delegate->toolbarTitle() : std::nullopt) {
        if (auto label = dayNameLabel()) label->setHidden(true);
        if (auto label = titleLabel()) {
            label->setText(title);
            label->setHidden(false);
        }
        if (auto toolbar = titleToolbar(); toolbar && titleLabelItem_)
            toolbar->setItems({titleLabelItem_});
        hideToolbarNavigation_ = true;
        sessionsListSetArrowEnabled(previousDayButton(), false);
        sessionsListSetArrowEnabled(nextDayButton(), false);
    }
    makeUIAdjustments();
    refreshAdditionalData();
    updateUIHeader();
    reloadDataSourceAndTable();
    configureRightBarButton();
    trackAnalyticsEvent();
    reloadDataSourceAndTable();
    if (isFilteredInitially_) updateFiltersHeaderView();
}

void ListSessionsBaseViewController::viewWillDisappear(bool animated) {
    MultipleEntitiesListBaseViewController::viewWillDisappear(animated);
    dismissPopovers();
}

void ListSessionsBaseViewController::viewDidLayoutSubviews() {
    MultipleEntitiesListBaseViewController::viewDidLayoutSubviews();
    const auto& search = searchDisplayController();
    const auto bar = search ? search->searchBar() : nullptr;
    auto toolbar = titleToolbar();
    if (!bar || !toolbar || !table_ || bar->superview() != view()) return;
    const graphics::Rect bounds = view()->bounds();
    double top = bar->frame().origin.y + bar->frame().size.height;
    const graphics::Rect toolbarFrame = toolbar->frame();
    if (toolbarFrame.origin.y != top)
        toolbar->setFrame({toolbarFrame.origin.x, top, toolbarFrame.size.width, toolbarFrame.size.height});
    top += toolbarFrame.size.height;
    const graphics::Rect tableFrame(table_->frame().origin.x, top, table_->frame().size.width,
                                    std::max(0.0, bounds.size.height - top));
    if (!(table_->frame() == tableFrame)) table_->setFrame(tableFrame);
}

void ListSessionsBaseViewController::dismissPopovers() {
    for (const auto& popover : {filtersPopover_, addEntryPopover_})
        if (popover && popover->isPopoverVisible()) popover->dismissPopoverAnimated(false);
}

void ListSessionsBaseViewController::makeUIAdjustments() {
    auto container = std::dynamic_pointer_cast<CustomSegmentedNavigationController>(navigationController());
    if (container && !isFilteredInitially_ && container->sc()) navigationItem()->setTitleView(container->sc());
    if (!hideToolbarNavigation_) {
        std::weak_ptr<ListSessionsBaseViewController> weak = self();
        auto previous = sessionsListArrowButton(kPreviousImage, kPreviousSelectedImage, kPreviousDisabledImage);
        previous->addTarget(
            [weak](uikit::UIControl&) {
                if (auto screen = weak.lock()) screen->previousDayButtonPressed();
            },
            uikit::UIControlEventTouchUpInside);
        auto next = sessionsListArrowButton(kNextImage, kNextSelectedImage, kNextDisabledImage);
        next->addTarget(
            [weak](uikit::UIControl&) {
                if (auto screen = weak.lock()) screen->nextDayButtonPressed();
            },
            uikit::UIControlEventTouchUpInside);
        if (auto item = previousDayButton()) item->setCustomView(previous);
        if (auto item = nextDayButton()) item->setCustomView(next);
    }
    if (auto toolbar = titleToolbar())
        toolbar->setBackgroundColor(graphics::Color::rgb(kToolbarGrey / 255, kToolbarGrey / 255, kToolbarGrey / 255));
}

void ListSessionsBaseViewController::refreshAdditionalData() {
    if (const auto& delegate = listDelegate(); delegate && delegate->implementsRefreshAdditionalDataSource())
        delegate->refreshAdditionalDataSourceForCoreDataStack(coreDataStack(), *this);
}

// --- The day ---

std::vector<std::string> ListSessionsBaseViewController::days() const {
    const auto& delegate = listDelegate();
    return delegate ? delegate->allDaysArray().value_or(std::vector<std::string>{}) : std::vector<std::string>{};
}

int64_t ListSessionsBaseViewController::currentDayIndex() const {
    const auto& delegate = listDelegate();
    if (!delegate || !delegate->implementsCurrentDayString()) return -1;
    const auto current = delegate->currentDayString();
    const auto all = days();
    if (!current) return -1;
    auto found = std::find(all.begin(), all.end(), *current);
    return found == all.end() ? -1 : static_cast<int64_t>(found - all.begin());
}

std::string ListSessionsBaseViewController::dayTitleForDayString(const std::string& day) {
    const auto date = DateHelper::programmeDateFromSavedString(day);
    if (!date) return day;
    if (DateHelper::isDateToday(*date)) return DateHelper::todayDisplayString();
    return DateHelper::programmeTitleForDate(*date, true);
}

void ListSessionsBaseViewController::updateUIHeader() {
    if (hideToolbarNavigation_) return;
    enableorDisableNextPreviousDayButtons();
    const auto& delegate = listDelegate();
    const auto current =
        delegate && delegate->implementsCurrentDayString() ? delegate->currentDayString() : std::nullopt;
    if (auto label = dayNameLabel()) label->setText(current ? std::optional(dayTitleForDayString(*current)) : std::nullopt);
    if (auto toolbar = titleToolbar()) toolbar->setNeedsLayout();
}

void ListSessionsBaseViewController::enableorDisableNextPreviousDayButtons() {
    const int64_t index = currentDayIndex();
    const int64_t count = static_cast<int64_t>(days().size());
    sessionsListSetArrowEnabled(previousDayButton(), index >= 1);
    sessionsListSetArrowEnabled(nextDayButton(), index >= 0 && index < count - 1);
}

void ListSessionsBaseViewController::moveToDay(const std::string& day) {
    if (const auto& delegate = listDelegate()) delegate->setCurrentDayString(day);
    refreshAdditionalData();
    updateUIHeader();
    reloadDataSourceAndTable();
}

void ListSessionsBaseViewController::previousDayButtonPressed() {
    const int64_t index = currentDayIndex();
    if (index >= 1) moveToDay(days()[static_cast<size_t>(index - 1)]);
}

void ListSessionsBaseViewController::nextDayButtonPressed() {
    const int64_t index = currentDayIndex();
    const auto all = days();
    if (index >= 0 && index < static_cast<int64_t>(all.size()) - 1) moveToDay(all[static_cast<size_t>(index + 1)]);
}

void ListSessionsBaseViewController::changeCurrentDayInDirection(unsigned direction) {
    const auto all = days();
    if (all.empty()) return;
    const int64_t count = static_cast<int64_t>(all.size());
    int64_t index = currentDayIndex();
    if (direction == kNextRowDirection) index = index < 0 || index == count - 1 ? 0 : index + 1;
    else index = index <= 0 ? count - 1 : index - 1;
    moveToDay(all[static_cast<size_t>(index)]);
}

// --- Framework hooks ---

ListSessionsBaseViewController::SelectionModels ListSessionsBaseViewController::listSelectionModelEntities() {
    const auto& delegate = listDelegate();
    return delegate ? delegate->listSelectionModelEntities().value_or(SelectionModels{}) : SelectionModels{};
}

ListSessionsBaseViewController::SortDescriptors ListSessionsBaseViewController::mutualSortDescriptors() {
    const auto& delegate = listDelegate();
    return delegate ? delegate->sortDescriptors() : SortDescriptors{};
}

std::optional<std::string> ListSessionsBaseViewController::tableViewGetTitleForHeaderInSection(uikit::UITableView& tableView,
                                                                                                int64_t section) {
    auto title = MultipleEntitiesListBaseViewController::tableViewGetTitleForHeaderInSection(tableView, section);
    if (title && mutualSectionNameKeyPath() == std::string(ListSessionsBaseDelegate::kDayKey))
        return dayTitleForDayString(*title);
    return title;
}

std::optional<std::string> ListSessionsBaseViewController::mutualSectionNameKeyPath() {
    const auto& delegate = listDelegate();
    return delegate ? delegate->sectionNameKeyPath() : std::nullopt;
}

coredata::PredicatePtr ListSessionsBaseViewController::fetchPredicate() {
    const auto& delegate = listDelegate();
    auto predicate = delegate ? delegate->fetchPredicate() : std::nullopt;
    return predicate && *predicate ? *predicate : coredata::Predicate::truePredicate();
}

coredata::PredicatePtr ListSessionsBaseViewController::mutualFetchPredicate() { return fetchPredicate(); }

ListSessionsBaseViewController::Filters ListSessionsBaseViewController::getFilterCollection() {
    const auto& delegate = listDelegate();
    return delegate ? delegate->filtersCollection().value_or(Filters{}) : Filters{};
}

std::string ListSessionsBaseViewController::searchHintText() {
    const auto& delegate = listDelegate();
    return delegate ? delegate->searchHintText().value_or("") : std::string();
}

void ListSessionsBaseViewController::onPullToRefreshExecuted() {
    if (const auto& delegate = listDelegate(); delegate && delegate->implementsRefreshContentWhenPulledToRefresh())
        delegate->refreshContentWhenPulledToRefresh();
}

void ListSessionsBaseViewController::updateUiContentBecauseItsNeeded() {
    foundation::requireMainThread(kOffMainThreadUpdateException);
    refreshAdditionalData();
    updateUIHeader();
    reloadDataSourceAndTable();
}

void ListSessionsBaseViewController::filterCollectionBy(Filters filters) {
    setFiltersArray(std::move(filters));
    if (const auto& delegate = listDelegate(); delegate && delegate->implementsRefreshAllDaysArray())
        delegate->refreshAllDaysArray(coreDataStack(), getCompoundFiltersPredicate());
    updateUIHeader();
    reloadDataSourceAndTable();
}

void ListSessionsBaseViewController::headerFilterButtonPressed(const foundation::ObjectPtr& sender) {
    const auto& delegate = listDelegate();
    auto button = delegate ? delegate->rightBarButtonItem().value_or(nullptr) : nullptr;
    if (button && button->segueIdentifier() == kFiltersSegue && storyboard())
        performSegueWithIdentifier(kFiltersSegue, rightBarButton_ ? rightBarButton_ : sender);
}

void ListSessionsBaseViewController::trackAnalyticsEvent() {
    const auto& delegate = listDelegate();
    if (auto name = delegate ? delegate->getAnalyticsEventName() : std::nullopt)
        AnalyticsUtils::trackEventWithName(*name);
}

void ListSessionsBaseViewController::onNetworkStatusChanged(bool) { configureRightBarButton(); }

// --- Table ---

std::string ListSessionsBaseViewController::cellIdentifier() {
    const auto& delegate = listDelegate();
    return delegate ? delegate->cellIdentifier() : SubactivityCell::cellIdentifier();
}

std::shared_ptr<uikit::UITableViewCell> ListSessionsBaseViewController::sharedSizingCell(uikit::UITableView& table,
                                                                                        const std::string& identifier) {
    static std::shared_ptr<uikit::UITableViewCell> prototype;
    if (!prototype) prototype = table.dequeueReusableCellWithIdentifier(identifier);
    return prototype;
}

uikit::UITableViewCellPtr ListSessionsBaseViewController::tableViewCellForRowAtIndexPath(
    uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) {
    const auto& delegate = listDelegate();
    auto table = this->tableView();
    if (!delegate || !table) return nullptr;
    const auto identifier = delegate->cellIdentifierForIndexPath(indexPath).value_or(delegate->cellIdentifier());
    auto cell = table->dequeueReusableCellWithIdentifier(identifier);
    auto object = selectedObjectForTableView(tableView, indexPath);
    const auto& search = searchDisplayController();
    if (cell && object && delegate->implementsModelObjectConfigureCell())
        delegate->modelObject(*object, *cell, search && search->isActive(), *this);
    return cell;
}

std::optional<double> ListSessionsBaseViewController::tableViewHeightForRowAtIndexPath(
    uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) {
    const auto& delegate = listDelegate();
    auto table = this->tableView();
    if (!delegate || !table) return std::nullopt;
    auto prototype = sharedSizingCell(*table, delegate->cellIdentifier());
    auto object = selectedObjectForTableView(tableView, indexPath);
    auto* sessionCell = dynamic_cast<SubactivityCell*>(prototype.get());
    if (!sessionCell || !object) return std::nullopt;
    const auto& search = searchDisplayController();
    delegate->modelObject(*object, *sessionCell, search && search->isActive(), *this);
    return sessionCell->getCellHeightInTableView(tableView);
}

void ListSessionsBaseViewController::tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView,
                                                                      const uikit::NSIndexPath& indexPath) {
    tableView.deselectRowAtIndexPath(indexPath, true);
    performSegueWithIdentifier(kDetailsSegue, tableView.cellForRowAtIndexPath(indexPath));
    const auto& search = searchDisplayController();
    if (search && search->isActive() && search->searchResultsTableView().get() == &tableView)
        if (const auto& bar = search->searchBar()) bar->endEditing(true);
}

// --- Details ---

std::shared_ptr<IEntityModel> ListSessionsBaseViewController::rowObjectForSender(const foundation::ObjectPtr& sender,
                                                                                 uikit::NSIndexPath& indexPath) {
    auto cell = std::dynamic_pointer_cast<uikit::UITableViewCell>(sender);
    const auto& search = searchDisplayController();
    auto table = search && search->isActive() ? search->searchResultsTableView() : tableView();
    if (!cell || !table) return nullptr;
    auto path = table->indexPathForCell(*cell);
    if (!path) return nullptr;
    indexPath = *path;
    return selectedObjectForTableView(*table, indexPath);
}

bool ListSessionsBaseViewController::isSwipeEnabledForSelection() {
    const auto& search = searchDisplayController();
    if (search && search->isActive()) return searchDataSourceArray().size() != 1;
    // One of the two is empty: the rows are sectioned or flat.
    size_t rows = dataSourceArray().size();
    for (const auto& section : sectionedDataSourceArray()) rows += section.size();
    return rows > 1 || days().size() > 1;
}

void ListSessionsBaseViewController::prepareForSegue(uikit::UIStoryboardSegue& segue,
                                                     const foundation::ObjectPtr& sender) {
    MultipleEntitiesListBaseViewController::prepareForSegue(segue, sender);
    const std::string& identifier = segue.identifier();
    if (identifier == kDetailsSegue || identifier == kLocationDetailsSegue) {
        uikit::NSIndexPath indexPath;
        auto object = rowObjectForSender(sender, indexPath);
        const bool swipe = isSwipeEnabledForSelection();
        auto destination = segue.destinationViewController();
        if (auto navigation = std::dynamic_pointer_cast<DetailsNavigationController>(destination)) {
            if (auto delegate = AppDelegate::sharedAppDelegate())
                if (const auto& split = delegate->eventsSplitVC()) split->hideLeftPopoverMenu();
            destination = navigation->viewControllers().empty() ? nullptr : navigation->viewControllers().front();
        } else if (Utils::isIPad()) {
            if (auto delegate = AppDelegate::sharedAppDelegate())
                if (const auto& split = delegate->eventsSplitVC()) split->hideLeftPopoverMenu();
        }
        auto* details = dynamic_cast<DetailsScreenSupport*>(destination.get());
        if (!details || !object) return;
        DetailsScreenInputs inputs = details->inputs();
        if (auto* role = dynamic_cast<QVAAgendaRole*>(object.get())) {
            inputs.selectionPropertyId = role->agendaItemId();
            inputs.entityName = std::string(QVACoreDataAgendaRole::kEntityName);
        } else if (auto* session = dynamic_cast<QVASession*>(object.get())) {
            inputs.selectionPropertyId = session->itemId();
            inputs.entityName = std::string(QVACoreDataSession::kEntityName);
        }
        inputs.parentController = self();
        inputs.indexPathInParentController = indexPath;
        inputs.isSwipeEnabled = swipe;
        details->setInputs(std::move(inputs));
        return;
    }
    if (identifier == kFiltersSegue) {
        auto popover = FilterScreenScenes::prepareListFiltersSegue(
            segue, [this](FiltersTableViewController& filters) { prepareForFiltersController(filters); });
        if (popover) filtersPopover_ = std::move(popover);
        return;
    }
    if (identifier == kAddEntrySegue) {
        if (auto popover = dynamic_cast<uikit::StoryboardPopoverSegue*>(&segue)) {
            addEntryPopover_ = popover->popoverController();
            addEntryPopover_->setDelegate(self());
        }
        return;
    }
    if (identifier == kChooseCalendarSegue) {
        auto chooser = std::dynamic_pointer_cast<ChooseCalendarViewController>(segue.destinationViewController());
        if (!chooser) return;
        // The non-local groups are read from the last look at the device's
        // calendars: look again first, or a calendar removed since is offered.
        auto service = ApplicationService::syncCalendarService();
        auto all = service->getSupportedSourcesCalendars();
        auto nonLocal = service->nonLocalSources();
        chooser->setCalendarSourcesData(nonLocal.empty() ? std::move(all) : std::move(nonLocal));
        chooser->setDelegate(std::static_pointer_cast<ChooseCalendarControllerDelegate>(self()));
    }
}

std::shared_ptr<IdIndexPair> ListSessionsBaseViewController::getNextIdIndexPathPairAndMoveSelectionInDirection(
    unsigned direction, const std::optional<std::string>& currentDetailId, const uikit::NSIndexPath& indexPath) {
    const auto& search = searchDisplayController();
    if (search && search->isActive())
        return getNextIdIndexPathPairAndMoveSelectionInDirection(direction, currentDetailId, indexPath,
                                                                 searchDataSourceArray(),
                                                                 search->searchResultsTableView().get());
    const auto& sections = sectionedDataSourceArray();
    if (!mutualSectionNameKeyPath())
        return getNextIdIndexPathPairAndMoveSelectionInDirection(direction, currentDetailId, indexPath,
                                                                 dataSourceArray(), tableView().get());
    // Within the day the step of the base; past either end of it, the day
    // moves and the step lands on its first or last row.
    RowRing::Rules stopAtTheEnds;
    stopAtTheEnds.wrap = false;
    const RowRing day = sectionedRowRing(sections, stopAtTheEnds);
    if (!day.contains(indexPath) || day.step(direction, indexPath))
        return getNextIdIndexPathPairAndMoveSelectionInDirection(direction, currentDetailId, indexPath, sections);

    const auto& delegate = listDelegate();
    if (delegate && delegate->allDaysArray()) changeCurrentDayInDirection(direction);
    const auto& rows = sectionedDataSourceArray();
    auto lastPath = [](const Sections& all) -> std::optional<uikit::NSIndexPath> {
        for (int64_t section = static_cast<int64_t>(all.size()) - 1; section >= 0; --section)
            if (!all[static_cast<size_t>(section)].empty())
                return uikit::NSIndexPath::indexPathForRow(
                    static_cast<int64_t>(all[static_cast<size_t>(section)].size()) - 1, section);
        return std::nullopt;
    };
    std::optional<uikit::NSIndexPath> target;
    if (direction == kNextRowDirection) {
        if (!rows.empty() && !rows.front().empty()) target = uikit::NSIndexPath::indexPathForRow(0, 0);
    } else {
        target = lastPath(rows);
    }
    if (!target) return nullptr;
    auto object = rows[static_cast<size_t>(target->section)][static_cast<size_t>(target->row)];
    if (auto table = tableView()) table->selectRowAtIndexPath(*target, false, uikit::UITableViewScrollPosition::Middle);
    return std::make_shared<IdIndexPair>(*target, object->selectionPropertyId(), object->coreDataClass());
}

// --- Bar buttons ---

void ListSessionsBaseViewController::configureRightBarButton() {
    const auto& delegate = listDelegate();
    auto item = navigationItem();
    if (!delegate) return;
    if (auto items = delegate->rightBarButtonItemsArrayForController(*this); items && !items->empty()) {
        auto buttons = *items;
        if (rightBarButton_) {
            rightBarButton_->setImage(buttons.front()->image());
            rightBarButton_->setEnabled(buttons.front()->isEnabled());
            // The tint too: the calendar button may come first, and its tint
            // tells whether the agenda is mirrored.
            rightBarButton_->setTintColor(buttons.front()->tintColor());
            buttons.front() = rightBarButton_;
        }
        item->setRightBarButtonItems(std::move(buttons));
        return;
    }
    if (auto button = delegate->rightBarButtonItem().value_or(nullptr)) {
        if (rightBarButton_) {
            rightBarButton_->setImage(button->image());
            rightBarButton_->setEnabled(button->isEnabled());
            item->setRightBarButtonItem(rightBarButton_);
        }
        return;
    }
    item->setRightBarButtonItem(nullptr);
}

void ListSessionsBaseViewController::dispatchBarButton(const std::string& identifier,
                                                       const std::shared_ptr<uikit::UIBarButtonItem>& sender,
                                                       bool performOthers) {
    if (identifier == kAddEntrySegue) return showOptionToChooseMeetingOrPersonalEntry(sender);
    if (identifier == kCalendarSegue) return showSyncWithCalendarOptions(sender);
    if (performOthers && !identifier.empty()) performSegueWithIdentifier(identifier, sender);
}

void ListSessionsBaseViewController::onBarButtonItemPressed(SegBarButtonItem& item) {
    dispatchBarButton(item.segueIdentifier(), std::static_pointer_cast<uikit::UIBarButtonItem>(item.shared_from_this()),
                      false);
}

void ListSessionsBaseViewController::onRightBarButtonItemPressed(uikit::UIBarButtonItem& sender) {
    const auto& delegate = listDelegate();
    auto button = delegate ? delegate->rightBarButtonItem().value_or(nullptr) : nullptr;
    if (!button) return;
    dispatchBarButton(button->segueIdentifier(),
                      std::static_pointer_cast<uikit::UIBarButtonItem>(sender.shared_from_this()), true);
}

void ListSessionsBaseViewController::showOptionToChooseMeetingOrPersonalEntry(const foundation::ObjectPtr& sender) {
    performSegueWithIdentifier(kAddEntrySegue, sender ? sender : rightBarButton_);
}

void ListSessionsBaseViewController::actionSheetDidDismissWithButtonIndex(uikit::UIActionSheet& actionSheet,
                                                                          int64_t buttonIndex) {
    if (buttonIndex == actionSheet.cancelButtonIndex()) return;
    if (actionSheet.buttonTitleAtIndex(buttonIndex) == kPersonalEntryChoice)
        performSegueWithIdentifier(kAddEntrySegue, rightBarButton_);
}

bool ListSessionsBaseViewController::popoverControllerShouldDismissPopover(uikit::UIPopoverController&) {
    return false;
}

// --- Calendar sync ---

void ListSessionsBaseViewController::showSyncWithCalendarOptions(const std::shared_ptr<uikit::UIBarButtonItem>& sender) {
    std::weak_ptr<ListSessionsBaseViewController> weak = self();
    const bool on = ApplicationSettingsStore::sharedApplicationSettingsStore().syncWithCalendar();
    auto alert = UIBlockAlertView::initWithTitle(std::string(on ? kDisableSyncQuestion : kEnableSyncQuestion), std::nullopt);
    alert->addButtonWithTitle("Yes", [weak, on, sender](uikit::UIAlertView&) {
        auto screen = weak.lock();
        if (!screen) return;
        if (on) screen->unsyncCalendar(sender);
        else screen->openCalendarChooserWhenAuthorised();
    });
    alert->addButtonWithTitle("No", UIBlockAlertView::ActionBlock());
    alert->show();
}

void ListSessionsBaseViewController::unsyncCalendar(const std::shared_ptr<uikit::UIBarButtonItem>& pressed) {
    std::weak_ptr<uikit::UIBarButtonItem> weakButton = pressed;
    ApplicationService::syncCalendarService()->unsyncWithDeviceCalendarForAuthToken(
        authenticationCode(), sessionsListEventId(), [weakButton](const foundation::ErrorPtr& error, const Value&) {
            if (error) {
                Utils::handleError(error, kUnsyncFailedTitle, std::nullopt);
                return;
            }
            AnalyticsUtils::trackEventWithNameAndData(kSyncEventName, {{kSyncStateKey, Value("OFF")}});
            ApplicationSettingsStore::sharedApplicationSettingsStore().setSyncWithCalendar(false);
            if (auto button = weakButton.lock()) button->setTintColor(graphics::Color::white());
        });
}

void ListSessionsBaseViewController::openCalendarChooserWhenAuthorised() {
    auto service = ApplicationService::syncCalendarService();
    if (service->checkEventStoreAccessForType(eventkit::EKEntityType::Event) ==
        eventkit::EKAuthorizationStatus::Authorized) {
        performSegueWithIdentifier(kChooseCalendarSegue, nullptr);
        return;
    }
    std::weak_ptr<ListSessionsBaseViewController> weak = self();
    service->requestEventStoreAccessWithType(eventkit::EKEntityType::Event,
                                             [weak](bool granted, const foundation::ErrorPtr& error) {
                                                 auto screen = weak.lock();
                                                 if (screen && granted && !error)
                                                     screen->performSegueWithIdentifier(kChooseCalendarSegue, nullptr);
                                             });
}

void ListSessionsBaseViewController::onSelectCalendarToSync(ChooseCalendarViewController& chooser) {
    auto calendar = chooser.selectedCalendar();
    auto alert = UIBlockAlertView::initWithTitle(std::nullopt, std::string(kSynchronizingMessage));
    alert->show();
    std::weak_ptr<ListSessionsBaseViewController> weak = self();
    ApplicationService::syncCalendarService()->syncMyAgendaWithDeviceCalendar(
        calendar, authenticationCode(), sessionsListEventId(),
        [weak, alert, calendar](const foundation::ErrorPtr& error, const Value&) {
            alert->dismissWithClickedButtonIndex(0, false);
            const Value calendarTitle = calendar ? Value(calendar->title()) : Value();
            const Value sourceTitle = calendar && calendar->source() ? Value(calendar->source()->title()) : Value();
            auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
            if (error) {
                settings.setSyncWithCalendar(false);
                Utils::displayAlertViewWithMessage(foundation::Format(kSyncFailedFormat, calendarTitle, sourceTitle),
                                                   std::nullopt);
                return;
            }
            settings.setSyncWithCalendar(true);
            settings.setCalendarIdentifier(calendar ? std::optional<std::string>(calendar->calendarIdentifier())
                                                    : std::nullopt);
            if (auto screen = weak.lock()) screen->configureRightBarButton();
            AnalyticsUtils::trackEventWithNameAndData(kSyncEventName, {{kSyncStateKey, Value("ON")}});
            Utils::displayAlertViewWithMessage(foundation::Format(kSyncedFormat, calendarTitle, sourceTitle),
                                               std::nullopt);
        });
}

#include "programme/AgendaListDelegate.h"

#include "Utils/Utils.h"
#include "api/QVAApiManagerRefresh.h"
#include "app/SegBarButtonItem.h"
#include "app/SegBarButtonItemProtocol.h"
#include "lists/FilterFetching.h"
#include "lists/SearchScopeModel.h"
#include "model/QVAAgendaEntries.h"
#include "model/QVACoreDataAgendaRole.h"
#include "model/QVACoreDataBaseSession.h"
#include "model/QVACoreDataPersonalEntry.h"
#include "model/QVACoreDataSessionNote.h"
#include "programme/ProgrammeListDelegate.h"
#include "programme/SubactivityCell.h"
#include "settings/ApplicationSettingsStore.h"
#include "store/CoreDataStack.h"
#include "store/FetchRequestUtils.h"
#include "uikit/UIImage.h"
#include "uikit/UIViewController.h"

namespace {

bool agendaListMayAddPersonalEntries() {
    auto stack = FilterFetching::currentStack();
    auto context = stack ? stack->managedObjectContextMainQueue() : nullptr;
    return context && FetchRequestUtils::hasAgendaPersonalEntriesPermissionGrantedInContext(context);
}

}  // namespace

AgendaListDelegate::AgendaListDelegate() {
    setSearchScopesArray({SearchScopeModel::initWithPropertyName("title", "Title")});
}

graphics::Color AgendaListDelegate::syncOnTint() { return graphics::Color::rgb(64 / 255.0, 158 / 255.0, 210 / 255.0); }

std::string AgendaListDelegate::entityName() { return QVACoreDataAgendaRole::kEntityName; }

std::optional<std::vector<std::shared_ptr<ListSelectionModel>>> AgendaListDelegate::listSelectionModelEntities() {
    return ProgrammeListDelegate::selectionModels(QVACoreDataPersonalEntry::kEntityName, QVAPersonalEntry::kClassName,
                                                  nullptr);
}

std::optional<AgendaListDelegate::PredicatePtr> AgendaListDelegate::fetchPredicate() {
    return ProgrammeListDelegate::dayPredicate(currentDay());
}

AgendaListDelegate::SortDescriptors AgendaListDelegate::sortDescriptors() {
    return ProgrammeListDelegate::sessionListSortDescriptors();
}

std::optional<AgendaListDelegate::SortDescriptors> AgendaListDelegate::sortDescriptorsForSearch() {
    return ProgrammeListDelegate::sessionSearchSortDescriptors();
}

std::optional<std::vector<std::string>> AgendaListDelegate::entitiesArrayToObserveForFilteringUIUpdates() {
    return std::vector<std::string>{QVACoreDataBaseSession::kEntityName, QVACoreDataSessionNote::kEntityName};
}

std::optional<std::shared_ptr<uikit::UIImage>> AgendaListDelegate::segmentedControlImage() {
    return uikit::UIImage::imageNamed(kSegmentImage);
}

void AgendaListDelegate::refreshContentWhenPulledToRefresh() { QVAApiManagerRefresh::refreshAgenda(); }

void AgendaListDelegate::refreshAdditionalDataSourceForCoreDataStack(const std::shared_ptr<CoreDataStack>& stack,
                                                                     LiteListBaseViewController& forController) {
    ListSessionsBaseDelegate::refreshAdditionalDataSourceForCoreDataStack(stack, forController);
    orvaneUsers_.clear();
}

std::shared_ptr<SegBarButtonItem> AgendaListDelegate::addEntryButton(
    const std::shared_ptr<SegBarButtonItemProtocol>& delegate) {
    auto button = delegate ? SegBarButtonItem::initWithImage(uikit::UIImage::imageNamed(kAddEntryImage), delegate,
                                                             kAddEntrySegue)
                           : SegBarButtonItem::initWithImage(uikit::UIImage::imageNamed(kAddEntryImage), kAddEntrySegue);
    button->setEnabled(Utils::isInternetReachable());
    return button;
}

std::shared_ptr<SegBarButtonItem> AgendaListDelegate::calendarButton(
    const std::shared_ptr<SegBarButtonItemProtocol>& delegate) {
    auto button = delegate ? SegBarButtonItem::initWithImage(uikit::UIImage::imageNamed(kCalendarImage), delegate,
                                                             kCalendarSegue)
                           : SegBarButtonItem::initWithImage(uikit::UIImage::imageNamed(kCalendarImage), kCalendarSegue);
    return button;
}

std::optional<std::shared_ptr<SegBarButtonItem>> AgendaListDelegate::rightBarButtonItem() {
    if (agendaListMayAddPersonalEntries()) return addEntryButton(nullptr);
    return calendarButton(nullptr);
}

std::optional<std::vector<std::shared_ptr<uikit::UIBarButtonItem>>>
AgendaListDelegate::rightBarButtonItemsArrayForController(uikit::UIViewController& controller) {
    auto delegate = std::dynamic_pointer_cast<SegBarButtonItemProtocol>(controller.shared_from_this());
    std::vector<std::shared_ptr<uikit::UIBarButtonItem>> items;
    if (agendaListMayAddPersonalEntries()) items.push_back(addEntryButton(delegate));
    auto calendar = calendarButton(delegate);
    calendar->setTintColor(ApplicationSettingsStore::sharedApplicationSettingsStore().syncWithCalendar()
                               ? syncOnTint()
                               : graphics::Color::white());
    items.push_back(calendar);
    return items;
}

void AgendaListDelegate::modelObject(IEntityModel& object, uikit::UITableViewCell& cell, bool forSearch,
                                     BaseViewController& inController) {
    auto* invitation = dynamic_cast<QVAAgendaInvitation*>(&object);
    auto* sessionCell = dynamic_cast<SubactivityCell*>(&cell);
    if (!invitation || !sessionCell) return ListSessionsBaseDelegate::modelObject(object, cell, forSearch, inController);
    const std::string itemId = invitation->itemId().value_or(std::string());
    sessionCell->configureWithQVAAgendaInvitation(
        *invitation,
        QVAAgendaInvitation::buildInvitationStringFromStatus(invitation->status().value_or(""), invitation->withSpouse()),
        locationTextForSession(*invitation), timeTextForSession(*invitation, forSearch), false,
        subactivityIsAPrivateSessionWithId(itemId), subactivityHasPersonalNotes(itemId));
}

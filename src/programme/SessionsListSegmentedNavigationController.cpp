#include "programme/SessionsListSegmentedNavigationController.h"

#include "Utils/Utils.h"
#include "lists/FilterFetching.h"
#include "lists/PressAllowedFilterModel.h"
#include "lists/SpouseAllowedFilterModel.h"
#include "lists/WithMealFilterModel.h"
#include "programme/AgendaListDelegate.h"
#include "programme/ListSessionsBaseViewController.h"
#include "programme/ProgrammeListDelegate.h"
#include "store/CoreDataStack.h"
#include "store/FetchRequestUtils.h"
#include "uikit/UISearchDisplayController.h"
#include "uikit/UIStoryboard.h"

namespace {

bool sessionsTabHasAgenda() {
    auto stack = FilterFetching::currentStack();
    auto context = stack ? stack->managedObjectContextMainQueue() : nullptr;
    if (!context) return false;
    return FetchRequestUtils::hasAgendaInvitationsPermissionGrantedInContext(context) ||
           FetchRequestUtils::hasAgendaResponsibilitiesPermissionGrantedInContext(context) ||
           FetchRequestUtils::hasAgendaSelectionsPermissionGrantedInContext(context) ||
           FetchRequestUtils::hasAgendaPersonalEntriesPermissionGrantedInContext(context);
}

}  // namespace

std::vector<uikit::UIViewControllerPtr> SessionsListSegmentedNavigationController::createSegmentedControllers() {
    auto storyboard = uikit::UIStoryboard::storyboardWithName(Utils::storyboardName());
    auto make = [&](std::shared_ptr<ListsDataSourceProtocol> delegate) {
        auto list = std::dynamic_pointer_cast<ListSessionsBaseViewController>(
            storyboard->instantiateViewControllerWithIdentifier(ListSessionsBaseViewController::kStoryboardIdentifier));
        if (!list) return list;
        list->setListDelegate(std::move(delegate));
        list->setIsPullToRefreshEnabled(true);
        return list;
    };
    auto programme = make(std::make_shared<ProgrammeListDelegate>());
    auto agenda = make(std::make_shared<AgendaListDelegate>());
    if (programme && agenda && sessionsTabHasAgenda()) return {programme, agenda};
    if (programme) return {programme};
    return {};
}

void SessionsListSegmentedNavigationController::showControllerAtIndex(int64_t index) {
    for (const auto& shown : viewControllers())
        if (auto list = std::dynamic_pointer_cast<ListSessionsBaseViewController>(shown)) list->dismissPopovers();
    CustomSegmentedNavigationController::showControllerAtIndex(index);
}

// The segments exist once the view has loaded: a call may come first, from
// the tab bar selecting the tab.
void SessionsListSegmentedNavigationController::displayProgrammeList() {
    (void)view();
    showControllerAtIndex(0);
}

void SessionsListSegmentedNavigationController::displayAgendaList() {
    (void)view();
    if (retainedControllers().size() < 2) return;
    showControllerAtIndex(1);
}

void SessionsListSegmentedNavigationController::applyProgrammeFilters(
    const std::function<std::vector<std::shared_ptr<FilterModel>>(ProgrammeListDelegate&)>& makeFilters) {
    (void)view();
    showControllerAtIndex(0);
    if (viewControllers().empty()) return;
    auto list = std::dynamic_pointer_cast<ListSessionsBaseViewController>(viewControllers().front());
    if (!list) return;
    (void)list->view();
    if (const auto& search = list->searchDisplayController()) search->setActive(false, true);
    auto delegate = std::dynamic_pointer_cast<ProgrammeListDelegate>(list->listDelegate());
    if (!delegate) return;
    list->filterCollectionBy(makeFilters(*delegate));
}

void SessionsListSegmentedNavigationController::filterSessionsWithStarredParticipants() {
    applyProgrammeFilters([](ProgrammeListDelegate& delegate) { return delegate.filtersWithStarredParticipants(); });
}

void SessionsListSegmentedNavigationController::filterSessionsWithNotes() {
    applyProgrammeFilters([](ProgrammeListDelegate& delegate) { return delegate.filtersWithNotes(); });
}

void SessionsListSegmentedNavigationController::filterSessionsByType(const Text& type) {
    applyProgrammeFilters([&type](ProgrammeListDelegate& delegate) {
        return delegate.getFiltersWithSelectedValue(type.value_or(""), "SessionTypeFilterModel");
    });
}

void SessionsListSegmentedNavigationController::filterSessionsBySpouseAllowed(bool allowed) {
    applyProgrammeFilters([allowed](ProgrammeListDelegate& delegate) {
        return delegate.getFiltersWithSelectedValue(allowed ? SpouseAllowedFilterModel::kYesValue : SpouseAllowedFilterModel::kNoValue,
                                                    "SpouseAllowedFilterModel");
    });
}

void SessionsListSegmentedNavigationController::filterSessionsByPressAllowed(bool allowed) {
    applyProgrammeFilters([allowed](ProgrammeListDelegate& delegate) {
        return delegate.getFiltersWithSelectedValue(allowed ? PressAllowedFilterModel::kYesValue : PressAllowedFilterModel::kNoValue,
                                                    "PressAllowedFilterModel");
    });
}

void SessionsListSegmentedNavigationController::filterSessionsByHasMeal(bool hasMeal) {
    applyProgrammeFilters([hasMeal](ProgrammeListDelegate& delegate) {
        return delegate.getFiltersWithSelectedValue(hasMeal ? WithMealFilterModel::kYesValue : WithMealFilterModel::kNoValue,
                                                    "WithMealFilterModel");
    });
}

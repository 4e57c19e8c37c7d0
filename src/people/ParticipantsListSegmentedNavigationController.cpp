#include "people/ParticipantsListSegmentedNavigationController.h"

#include "Utils/Utils.h"
#include "people/ContributorsListDelegate.h"
#include "people/ListParticipantsBaseViewController.h"
#include "people/OrganizationsListDelegate.h"
#include "people/OrganizationsListViewController.h"
#include "people/ParticipantsListDelegate.h"
#include "uikit/UISearchDisplayController.h"
#include "uikit/UIStoryboard.h"

std::vector<uikit::UIViewControllerPtr> ParticipantsListSegmentedNavigationController::createSegmentedControllers() {
    auto storyboard = uikit::UIStoryboard::storyboardWithName(Utils::storyboardName());
    std::vector<uikit::UIViewControllerPtr> lists;
    auto add = [&](const char* identifier, std::shared_ptr<ListsDataSourceProtocol> delegate) {
        auto list = std::dynamic_pointer_cast<ListBaseViewController>(
            storyboard->instantiateViewControllerWithIdentifier(identifier));
        if (!list) return;
        list->setListDelegate(std::move(delegate));
        list->setIsPullToRefreshEnabled(true);
        lists.push_back(list);
    };
    add(ListParticipantsBaseViewController::kStoryboardIdentifier, std::make_shared<ParticipantsListDelegate>());
    add(OrganizationsListViewController::kStoryboardIdentifier, std::make_shared<OrganizationsListDelegate>());
    add(ListParticipantsBaseViewController::kStoryboardIdentifier, std::make_shared<ContributorsListDelegate>());
    return lists;
}

// The segments exist once the view has loaded: a call may come first, from
// the tab bar selecting the tab.
void ParticipantsListSegmentedNavigationController::applyParticipantsFilters(
    const std::function<Filters(ParticipantsListDelegate&)>& makeFilters) {
    (void)view();
    showControllerAtIndex(0);
    if (viewControllers().empty()) return;
    auto list = std::dynamic_pointer_cast<ListParticipantsBaseViewController>(viewControllers().front());
    if (!list) return;
    (void)list->view();
    if (const auto& search = list->searchDisplayController()) search->setActive(false, true);
    auto delegate = std::dynamic_pointer_cast<ParticipantsListDelegate>(list->listDelegate());
    if (!delegate) return;
    list->filterCollectionBy(makeFilters(*delegate));
}

void ParticipantsListSegmentedNavigationController::filterParticipantsByCountry(const Text& country) {
    applyParticipantsFilters(
        [&country](ParticipantsListDelegate& delegate) { return delegate.filtersWithSelectedCountry(country.value_or("")); });
}

void ParticipantsListSegmentedNavigationController::filterParticipantsByNetwork(const Text& network, const Text& community) {
    applyParticipantsFilters([&](ParticipantsListDelegate& delegate) {
        return delegate.filtersWithSelectedNetwork(network.value_or(""), community.value_or(""));
    });
}

void ParticipantsListSegmentedNavigationController::filterParticipantsByGroupMembership(const Text& group) {
    applyParticipantsFilters(
        [&group](ParticipantsListDelegate& delegate) { return delegate.filtersWithSelectedGroup(group.value_or("")); });
}

void ParticipantsListSegmentedNavigationController::filterParticipantsWithNotes() {
    applyParticipantsFilters([](ParticipantsListDelegate& delegate) { return delegate.filtersWithNotes(); });
}

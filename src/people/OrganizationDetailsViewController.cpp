#include "people/OrganizationDetailsViewController.h"

#include "analytics/AnalyticsUtils.h"
#include "foundation/Log.h"
#include "model/QVACoreDataOrganization.h"
#include "people/OrganizationDetailsInfoViewController.h"
#include "people/ParticipantsListDelegate.h"
#include "uikit/NSLayoutConstraint.h"
#include "uikit/UIFont.h"
#include "uikit/UILabel.h"
#include "uikit/UIScrollView.h"
#include "uikit/UIStoryboard.h"

namespace {

constexpr double kOrganizationNameMargin = 15;
constexpr double kOrganizationNameTop = 10;
constexpr double kOrganizationNameHeight = 30;
constexpr double kOrganizationInfoTop = kOrganizationNameTop + kOrganizationNameHeight + 10;

}  // namespace

void OrganizationDetailsViewController::addScene(uikit::UIStoryboard& storyboard) {
    storyboard.addScene(kStoryboardIdentifier,
                        [](uikit::UIStoryboard&) { return std::make_shared<OrganizationDetailsViewController>(); });
}

void OrganizationDetailsViewController::loadView() {
    // From the storyboard the scene's view comes with the swipe recognisers:
    // the screen's views go into it rather than replacing it.
    DetailsBaseViewController::loadView();
    auto root = isViewLoaded() ? view() : std::make_shared<uikit::UIView>(graphics::Rect(0, 0, 320, 480));
    root->setBackgroundColor(graphics::Color::white());
    auto scroll = std::make_shared<uikit::UIScrollView>(root->bounds());
    scroll->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);
    scroll->setOutletName("scrollView");
    root->addSubview(scroll);
    auto name = std::make_shared<uikit::UILabel>(graphics::Rect(
        kOrganizationNameMargin, kOrganizationNameTop, 320 - 2 * kOrganizationNameMargin, kOrganizationNameHeight));
    name->setFont(uikit::UIFont::boldSystemFontOfSize(18));
    name->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
    name->setOutletName("organizationName");
    scroll->addSubview(name);
    auto container = std::make_shared<uikit::UIView>(graphics::Rect(0, kOrganizationInfoTop, 320, 0));
    container->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
    container->setOutletName("containerView");
    scroll->addSubview(container);
    containerHeight_ = uikit::NSLayoutConstraint::constraintWithItem(
        container, uikit::NSLayoutAttribute::Height, uikit::NSLayoutRelation::Equal, nullptr,
        uikit::NSLayoutAttribute::NotAnAttribute, 1, 0);
    setView(root);
    setScrollView(scroll);
    setContainerView(container);
    organizationName_ = name;
}

void OrganizationDetailsViewController::viewDidLayoutSubviews() {
    DetailsBaseViewController::viewDidLayoutSubviews();
    layoutInfoContainer();
    // The participants close the page: the last ones' stars must be
    // reachable from under the swipe hints.
    if (auto scroll = scrollView()) keepScrollViewClearOfSwipeHints(*scroll);
}

void OrganizationDetailsViewController::layoutInfoContainer() {
    if (!isViewLoaded()) return;
    auto page = retainedControllers().empty()
                    ? nullptr
                    : std::dynamic_pointer_cast<OrganizationDetailsInfoViewController>(retainedControllers().front());
    const double height = page ? page->contentHeight() : 0;
    if (containerHeight_->constant() != height) containerHeight_->setConstant(height);
    auto container = containerView();
    auto scroll = scrollView();
    if (!container || !scroll) return;
    const double width = scroll->bounds().size.width;
    container->setFrame({0, kOrganizationInfoTop, width, height});
    if (page && page->isViewLoaded()) page->view()->setFrame({0, 0, width, height});
    scroll->setContentSize({width, kOrganizationInfoTop + height});
}

std::optional<DetailsBaseViewController::Pages> OrganizationDetailsViewController::createSegmentedControllersForObject(
    const std::shared_ptr<coredata::ManagedObject>&) {
    auto info = std::dynamic_pointer_cast<OrganizationDetailsInfoViewController>(
        instantiateViewControllerWithStoryboardIdentifier(std::string(OrganizationDetailsInfoViewController::kStoryboardIdentifier)));
    if (!info) return std::nullopt;
    info->setSelectionPropertyId(selectionPropertyId());
    info->setListDelegate(std::make_shared<ParticipantsListDelegate>());
    return Pages{info};
}

std::vector<std::string> OrganizationDetailsViewController::entitiesArrayToObserveForFilteringUIUpdates() {
    return {QVACoreDataOrganization::kEntityName};
}

void OrganizationDetailsViewController::updateUIContentForObject(const std::shared_ptr<coredata::ManagedObject>& object) {
    setTitle(std::string(kTitle));
    auto organization = std::dynamic_pointer_cast<QVACoreDataOrganization>(object);
    const auto name = organization ? organization->name() : std::nullopt;
    const auto type = organization ? organization->organizationType() : std::nullopt;
    auto orNull = [](const Text& text) { return text ? foundation::Value(*text) : foundation::Value::null(); };
    foundation::Log("ORGANIZATION %@ HAS TYPE %@", orNull(name), orNull(type));
    if (auto label = organizationName()) label->setText(name);
    updateChildControllersUIContentForObject(object);
    foundation::ValueDictionary data;
    data["Organization name"] = orNull(name);
    data["Organization id"] = orNull(organization ? organization->itemId() : std::nullopt);
    AnalyticsUtils::trackEventWithNameAndData(kAnalyticsEvent, data);
}

// An organisation's details: its name over one page, the contact data and
// the participants on site (OrganizationDetailsInfoViewController), in a
// page that scrolls as a whole. Saves of organisations refill it.
// Its scene is registered under the class's name (addScene). Main thread only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "lists/DetailsBaseViewController.h"

namespace uikit {
class NSLayoutConstraint;
class UILabel;
class UIStoryboard;
}  // namespace uikit

class OrganizationDetailsViewController : public DetailsBaseViewController {
public:
    static constexpr const char* kStoryboardIdentifier = "OrganizationDetailsViewController";
    static constexpr const char* kTitle = "Organization details";
    static constexpr const char* kAnalyticsEvent = "View organization";
    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    static void addScene(uikit::UIStoryboard& storyboard);

    // Outlets.
    std::shared_ptr<uikit::UILabel> organizationName() const { return organizationName_.lock(); }
    const std::shared_ptr<uikit::NSLayoutConstraint>& containerHeight() const { return containerHeight_; }

    void loadView() override;
    void viewDidLayoutSubviews() override;
    // The info page with this screen's id and a new participants delegate.
    std::optional<Pages> createSegmentedControllersForObject(const std::shared_ptr<coredata::ManagedObject>& object) override;
    std::vector<std::string> entitiesArrayToObserveForFilteringUIUpdates() override;
    void updateUIContentForObject(const std::shared_ptr<coredata::ManagedObject>& object) override;
    // The container as high as the info page needs, and the page's scroll
    // extent after it.
    void layoutInfoContainer();

    std::string className() const override { return "OrganizationDetailsViewController"; }

private:
    std::weak_ptr<uikit::UILabel> organizationName_;
    std::shared_ptr<uikit::NSLayoutConstraint> containerHeight_;
};

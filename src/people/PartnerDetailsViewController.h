// A partner's details: the partner header (logo, thumbnail, name and kind of
// engagement) over one row holding the partner's profile text. Reached from
// the partners list and from the global search; swiping steps through the
// list it came from. Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "lists/DetailsWithListBaseViewController.h"

class QVAPartnerHeaderView;
namespace uikit {
class UIStoryboard;
}

class PartnerDetailsViewController : public DetailsWithListBaseViewController {
public:
    static constexpr const char* kStoryboardIdentifier = "PartnerDetailsViewController";
    static constexpr const char* kAnalyticsEvent = "View partner";
    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    static void addScene(uikit::UIStoryboard& storyboard);

    PartnerDetailsViewController();
    // Its view's gesture recognisers go with it.
    ~PartnerDetailsViewController() override;

    const Text& partnerProfile() const { return partnerProfile_; }
    std::shared_ptr<QVAPartnerHeaderView> partnerHeaderView() const;

    void loadView() override;
    void viewDidLoad() override;
    // A stored partner: the header installed once and filled, the profile
    // kept and shown, the view tracked.
    void updateUIContentForObject(const std::shared_ptr<coredata::ManagedObject>& object) override;

    std::string cellIdentifier() override;
    int64_t numberOfSectionsInTableView(uikit::UITableView& tableView) override { (void)tableView; return 1; }
    int64_t tableViewNumberOfRowsInSection(uikit::UITableView& tableView, int64_t section) override;
    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                             const uikit::NSIndexPath& indexPath) override;
    std::optional<double> tableViewHeightForRowAtIndexPath(uikit::UITableView& tableView,
                                                           const uikit::NSIndexPath& indexPath) override;
    std::optional<double> tableViewHeightForHeaderInSection(uikit::UITableView& tableView, int64_t section) override;
    std::shared_ptr<uikit::UIView> tableViewViewForHeaderInSection(uikit::UITableView& tableView,
                                                                   int64_t section) override;

    std::string className() const override { return "PartnerDetailsViewController"; }

private:
    Text partnerProfile_;
};

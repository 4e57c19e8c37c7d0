// The "Summary" page of a session: the session header over one section of
// the session's insights, short texts in as many lines as they need, none
// selectable. The insights come from the stored official session of the
// page's identifier; a page without one keeps the rows it had. Tracks its
// view only when shown as a page of a details container. Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "lists/DetailsWithListBaseViewController.h"
#include "programme/SessionPageAnalytics.h"

class QVASessionHeaderView;
class QVASessionInsight;

namespace uikit {
class UIStoryboard;
}

class ProgrammeDetailsInsightViewController : public DetailsWithListBaseViewController, public SessionPageAnalytics {
public:
    static constexpr const char* kStoryboardIdentifier = "ProgrammeDetailsInsightViewController";
    static constexpr const char* kAnalyticsEvent = "View session insights";
    static constexpr const char* kInsightCellIdentifier = "insightCellIdentifier";
    static constexpr const char* kFontName = "HelveticaNeue";
    static constexpr double kFontSize = 14;
    static constexpr double kRowPadding = 9;

    using Insights = std::vector<std::shared_ptr<QVASessionInsight>>;

    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    // The scene with the details scenes' swipe wiring.
    static void addScene(uikit::UIStoryboard& storyboard);

    const Insights& rows() const { return rows_; }
    const std::shared_ptr<QVASessionHeaderView>& sessionHeaderView() const { return sessionHeaderView_; }

    void loadView() override;
    void viewDidLoad() override;
    void trackAnalyticsEvent() override;
    void didRotateFromInterfaceOrientation(uikit::UIInterfaceOrientation orientation) override;
    // Heights measured at another width (the scene's, before the page took
    // the screen's) are measured again.
    void viewDidLayoutSubviews() override;
    // A stored session (of any kind): the header filled, the rows rebuilt.
    void updateUIContentForObject(const std::shared_ptr<coredata::ManagedObject>& object) override;
    void rebuildRows();

    std::string cellIdentifier() override { return "sessionInsightCellIdentifier"; }
    int64_t numberOfSectionsInTableView(uikit::UITableView& tableView) override;
    int64_t tableViewNumberOfRowsInSection(uikit::UITableView& tableView, int64_t section) override;
    std::optional<double> tableViewHeightForHeaderInSection(uikit::UITableView& tableView, int64_t section) override;
    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                             const uikit::NSIndexPath& indexPath) override;
    std::optional<double> tableViewHeightForRowAtIndexPath(uikit::UITableView& tableView,
                                                           const uikit::NSIndexPath& indexPath) override;
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) override;

    std::string className() const override { return "ProgrammeDetailsInsightViewController"; }

private:
    std::optional<std::string> insightText(int64_t row) const;

    Insights rows_;
    double measuredWidth_ = 0;
    std::shared_ptr<QVASessionHeaderView> sessionHeaderView_;
};

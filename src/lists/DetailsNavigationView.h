// A short table of navigation rows at the end of a details screen, each
// opening a further page about the same object. The table is its own data
// source and delegate (connectToItself, where the view is laid out); a
// tapped row goes to the owning screen through DetailsPushNavigationProtocol.
// Rows change only through the two update operations or by replacing the
// array; both updates are ignored while no array is set. Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "uikit/UITableView.h"

class DetailsNavigationDataModel;

class DetailsNavigationView : public uikit::UITableView,
                              public uikit::UITableViewDataSource,
                              public uikit::UITableViewDelegate {
public:
    using Rows = std::vector<std::shared_ptr<DetailsNavigationDataModel>>;

    static constexpr double kRowHeight = 44;
    static constexpr double kTitleFontSize = 17;

    explicit DetailsNavigationView(const graphics::Rect& frame = {},
                                   uikit::UITableViewStyle style = uikit::UITableViewStyle::Plain);
    ~DetailsNavigationView() override;

    // Makes the view its own data source and delegate.
    void connectToItself();

    // Unset (nullopt) until the owner gives the rows.
    const std::optional<Rows>& theDataSourceArray() const { return theDataSourceArray_; }
    void setTheDataSourceArray(std::optional<Rows> rows) { theDataSourceArray_ = std::move(rows); }

    // Held weak; a row tap raises when it does not answer the push protocol.
    std::shared_ptr<foundation::Object> detailsNavigationDelegate() const { return detailsNavigationDelegate_.lock(); }
    void setDetailsNavigationDelegate(const std::shared_ptr<foundation::Object>& delegate) {
        detailsNavigationDelegate_ = delegate;
    }

    // Replaces the first row of exactly the same storyboard identifier, else appends; reloads.
    void updateTableDataSourceArrayWithObject(const std::shared_ptr<DetailsNavigationDataModel>& row);
    // The first row whose storyboard identifier contains the text, ignoring
    // case; reloads also when none matched.
    void setTabEnabled(bool enabled, const std::string& identifierMatch);
    void setSessionAttendeesTabEnabled(bool enabled);
    void setVideoTabEnabled(bool enabled);
    void setFeedbackTabEnabled(bool enabled);
    void setSessionRecommendationsTabEnabled(bool enabled);
    void setParticipantRecommendationsTabEnabled(bool enabled);

    int64_t numberOfSectionsInTableView(uikit::UITableView& tableView) override;
    int64_t tableViewNumberOfRowsInSection(uikit::UITableView& tableView, int64_t section) override;
    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                             const uikit::NSIndexPath& indexPath) override;
    std::optional<std::string> tableViewTitleForHeaderInSection(uikit::UITableView& tableView, int64_t section) override;
    std::optional<double> tableViewHeightForRowAtIndexPath(uikit::UITableView& tableView,
                                                           const uikit::NSIndexPath& indexPath) override;
    std::optional<double> tableViewHeightForHeaderInSection(uikit::UITableView& tableView, int64_t section) override;
    std::optional<double> tableViewHeightForFooterInSection(uikit::UITableView& tableView, int64_t section) override;
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) override;

    std::string className() const override { return "DetailsNavigationView"; }

private:
    std::optional<Rows> theDataSourceArray_;
    std::weak_ptr<foundation::Object> detailsNavigationDelegate_;
};

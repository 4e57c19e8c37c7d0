// The "Help" screen of the More tab: a first row that opens the start
// tutorial again (with no download to report, so "Skip" shows at once),
// then what each symbol of the programme and participant lists means, one
// row per symbol with its picture. Rows grow with their description.
// Made from the storyboard scene "Help" with the prototypes
// "showTutorialCell" and "LegendViewCell" (addScene). Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "uikit/UITableViewController.h"

namespace uikit {
class UIStoryboard;
}

class LegendItemModel;

class LegendViewController : public uikit::UITableViewController {
public:
    static constexpr const char* kStoryboardIdentifier = "Help";
    static constexpr const char* kShowTutorialCellIdentifier = "showTutorialCell";
    static constexpr double kDefaultRowHeight = 44;

    using Section = std::vector<std::shared_ptr<LegendItemModel>>;

    LegendViewController();

    // The scene and its two prototype cells, in a device storyboard.
    static void addScene(uikit::UIStoryboard& storyboard);

    const std::vector<Section>& dataSourceArray() const { return dataSourceArray_; }
    void initDataSourceArray();
    // Opens the start tutorial over the screen, its progress display hidden.
    void showStartTutorialOverlayView();

    // The height of a legend row whose description is this text, in a table
    // this wide.
    static double heightForDescription(const std::string& description, double tableWidth);
    // The row height for a description measuring this high: its whole
    // points and the padding, at least the default height.
    static double rowHeightForMeasuredHeight(double measured);

    void viewDidLoad() override;
    int64_t numberOfSectionsInTableView(uikit::UITableView& tableView) override;
    int64_t tableViewNumberOfRowsInSection(uikit::UITableView& tableView, int64_t section) override;
    std::optional<std::string> tableViewTitleForHeaderInSection(uikit::UITableView& tableView,
                                                                int64_t section) override;
    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                             const uikit::NSIndexPath& indexPath) override;
    std::optional<double> tableViewHeightForRowAtIndexPath(uikit::UITableView& tableView,
                                                            const uikit::NSIndexPath& indexPath) override;
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) override;

    std::string className() const override { return "LegendViewController"; }

private:
    // The legend row at a table index path (sections from 1).
    const std::shared_ptr<LegendItemModel>& itemAt(const uikit::NSIndexPath& indexPath) const;

    std::vector<Section> dataSourceArray_;
};

using LegendViewControllerPtr = std::shared_ptr<LegendViewController>;

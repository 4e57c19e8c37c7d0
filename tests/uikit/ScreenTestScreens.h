// Small screens the screen dump and driver tests build on: a table screen
// with sections of given sizes and titles that records what it is asked.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "uikit/NSIndexPath.h"
#include "uikit/UILabel.h"
#include "uikit/UITableView.h"
#include "uikit/UITableViewCell.h"
#include "uikit/UITableViewController.h"

namespace screentest {

struct TableScreen : uikit::UITableViewController {
    struct Section {
        std::optional<std::string> title;
        int64_t rows = 0;
    };

    explicit TableScreen(std::vector<Section> sections, uikit::UITableViewStyle style = uikit::UITableViewStyle::Plain)
        : uikit::UITableViewController(style), sections(std::move(sections)) {}

    std::string className() const override { return "TableScreen"; }

    std::vector<Section> sections;
    double rowHeight = 44;
    std::vector<uikit::NSIndexPath> willSelect;
    std::vector<uikit::NSIndexPath> didSelect;
    int cellsMade = 0;

    int64_t numberOfSectionsInTableView(uikit::UITableView&) override {
        return static_cast<int64_t>(sections.size());
    }
    int64_t tableViewNumberOfRowsInSection(uikit::UITableView&, int64_t section) override {
        return sections[static_cast<size_t>(section)].rows;
    }
    std::optional<std::string> tableViewTitleForHeaderInSection(uikit::UITableView&, int64_t section) override {
        return sections[static_cast<size_t>(section)].title;
    }
    std::optional<double> tableViewHeightForRowAtIndexPath(uikit::UITableView&, const uikit::NSIndexPath&) override {
        return rowHeight;
    }
    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& table,
                                                            const uikit::NSIndexPath& indexPath) override {
        auto cell = table.dequeueReusableCellWithIdentifier("plainCell");
        if (!cell) {
            ++cellsMade;
            cell = std::make_shared<uikit::UITableViewCell>(uikit::UITableViewCellStyle::Value1, "plainCell");
        }
        cell->textLabel()->setText("Row " + std::to_string(indexPath.section) + "." + std::to_string(indexPath.row));
        cell->setAccessoryType(indexPath.section == 0 ? uikit::UITableViewCellAccessoryType::DisclosureIndicator
                                                      : uikit::UITableViewCellAccessoryType::None);
        return cell;
    }
    std::optional<uikit::NSIndexPath> tableViewWillSelectRowAtIndexPath(uikit::UITableView&,
                                                                       const uikit::NSIndexPath& indexPath) override {
        willSelect.push_back(indexPath);
        return indexPath;
    }
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView&, const uikit::NSIndexPath& indexPath) override {
        didSelect.push_back(indexPath);
    }
};

}  // namespace screentest

// A self-contained table of facts about one object, as rows of a key and a
// value, where a value may also be a stack of link-style buttons. The owner
// fills it row by row; every row's height is computed once, when the row is
// added, so the table can report its full height and the owner can make it
// as high as all its rows inside a scrolling page. Heights are not computed
// again when the width changes: the owner resets and refills the table.
// Main thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "lists/KeyValueBlockItem.h"
#include "uikit/UITableView.h"

namespace uikit {
class NSLayoutConstraint;
}

class KeyValueTableView : public uikit::UITableView,
                          public uikit::UITableViewDataSource,
                          public uikit::UITableViewDelegate {
public:
    using Text = std::optional<std::string>;
    using ButtonBlock = KeyValueBlockItem::ButtonBlock;

    static constexpr const char* kTextCellIdentifier = "textCell";
    static constexpr const char* kNormalCellIdentifier = "keyValueNormalCell";
    static constexpr const char* kButtonsCellIdentifier = "multipleButtonsCell";

    // With the three prototype cells registered under their identifiers.
    explicit KeyValueTableView(const graphics::Rect& frame = {},
                               uikit::UITableViewStyle style = uikit::UITableViewStyle::Plain);

    // White, no separator insets, its own data source and delegate.
    void makeInitialAdjustments();
    // No rows.
    void resetTable();
    // The width in points that values are measured in.
    void setAvailableWidth(int64_t width) { availableWidth_ = width; }
    int64_t availableWidth() const { return availableWidth_; }
    // Drops the row when `ignoreEmpty` and the value is none, empty or only
    // blanks and line breaks; otherwise adds it as the plain form does.
    void addRowWithKey(const Text& key, const Text& value, bool isButton, bool hasVariableHeight, bool ignoreEmpty,
                       ButtonBlock block);
    // Appends the row and its height.
    void addRowWithKey(const Text& key, const Text& value, bool isButton, bool hasVariableHeight, ButtonBlock block);
    void reloadTable() { reloadData(); }
    // The height constraint to the sum of the row heights (0 without rows).
    void updateTableHeight();
    // The sum of the row heights.
    int64_t requiredHeight() const;

    const std::shared_ptr<uikit::NSLayoutConstraint>& tableViewHeightConstraint() const {
        return tableViewHeightConstraint_;
    }
    void setTableViewHeightConstraint(std::shared_ptr<uikit::NSLayoutConstraint> constraint) {
        tableViewHeightConstraint_ = std::move(constraint);
    }

    const std::vector<std::shared_ptr<KeyValueBlockItem>>& rows() const { return items_; }
    const std::vector<int64_t>& rowHeights() const { return heights_; }

    // One section, a row per item, each at its stored height; a tap only deselects.
    int64_t tableViewNumberOfRowsInSection(uikit::UITableView& tableView, int64_t section) override;
    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                             const uikit::NSIndexPath& indexPath) override;
    std::optional<double> tableViewHeightForRowAtIndexPath(uikit::UITableView& tableView,
                                                           const uikit::NSIndexPath& indexPath) override;
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) override;

    std::string className() const override { return "KeyValueTableView"; }

private:
    int64_t heightOfRow(const KeyValueBlockItem& item, bool hasVariableHeight) const;
    uikit::UITableViewCellPtr textCell(const KeyValueBlockItem& item, double height);
    uikit::UITableViewCellPtr normalCell(const KeyValueBlockItem& item, double height);
    uikit::UITableViewCellPtr buttonsCell(const std::shared_ptr<KeyValueBlockItem>& item, double height);

    // The rows in display order, and their heights.
    std::vector<std::shared_ptr<KeyValueBlockItem>> items_;
    std::vector<int64_t> heights_;
    int64_t availableWidth_ = 0;
    std::shared_ptr<uikit::NSLayoutConstraint> tableViewHeightConstraint_;
};

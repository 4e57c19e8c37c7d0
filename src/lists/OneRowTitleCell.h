// A row of one title line (venue, map and floor-plan lists).
#pragma once

#include <memory>

#include "uikit/UITableViewCell.h"

namespace uikit {
class UILabel;
}

class OneRowTitleCell : public uikit::UITableViewCell {
public:
    using uikit::UITableViewCell::UITableViewCell;

    const std::shared_ptr<uikit::UILabel>& titleCellLabel() const { return titleCellLabel_; }
    void setTitleCellLabel(std::shared_ptr<uikit::UILabel> label) { titleCellLabel_ = std::move(label); }

    std::string className() const override { return "OneRowTitleCell"; }

private:
    std::shared_ptr<uikit::UILabel> titleCellLabel_;
};

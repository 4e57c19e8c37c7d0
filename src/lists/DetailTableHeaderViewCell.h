// A title row of a details table.
#pragma once

#include <memory>

#include "uikit/UITableViewCell.h"

namespace uikit {
class UILabel;
}

class DetailTableHeaderViewCell : public uikit::UITableViewCell {
public:
    using uikit::UITableViewCell::UITableViewCell;

    const std::shared_ptr<uikit::UILabel>& headerTitle() const { return headerTitle_; }
    void setHeaderTitle(std::shared_ptr<uikit::UILabel> label) { headerTitle_ = std::move(label); }

    std::string className() const override { return "DetailTableHeaderViewCell"; }

private:
    std::shared_ptr<uikit::UILabel> headerTitle_;
};

#include "lists/MultilineLabelCell.h"

#include <algorithm>
#include <limits>

#include "lists/ListCellNibs.h"
#include "uikit/UILabel.h"

std::string MultilineLabelCell::cellNibName() {
    ListCellNibs::registerNibs();
    return "MultilineLabelCell";
}

double MultilineLabelCell::fittingHeightForWidth(double width) {
    if (!multilineLabel_) return uikit::UITableViewCell::fittingHeightForWidth(width);
    const double labelWidth = std::max(0.0, width - 2 * kHorizontalMargin);
    const auto size = multilineLabel_->sizeThatFits({labelWidth, std::numeric_limits<double>::max()});
    return size.height + 2 * kVerticalMargin;
}

void MultilineLabelCell::layoutSubviews() {
    uikit::UITableViewCell::layoutSubviews();
    if (!multilineLabel_) return;
    const auto content = contentView()->bounds().size;
    multilineLabel_->setPreferredMaxLayoutWidth(std::max(0.0, content.width - 2 * kHorizontalMargin));
    multilineLabel_->setFrame({kHorizontalMargin, kVerticalMargin, std::max(0.0, content.width - 2 * kHorizontalMargin),
                               std::max(0.0, content.height - 2 * kVerticalMargin)});
}

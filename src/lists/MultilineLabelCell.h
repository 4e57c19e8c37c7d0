// A row showing a long text on as many lines as it needs (session,
// participant and partner details). Registrable: its nib and reuse
// identifier are class-wide. As a sizing cell it answers the height its text
// needs at a width.
#pragma once

#include <memory>
#include <string>

#include "uikit/UITableViewCell.h"

namespace uikit {
class UILabel;
}

class MultilineLabelCell : public uikit::UITableViewCell {
public:
    // The label's distance from the content's sides and from its top and bottom.
    static constexpr double kHorizontalMargin = 15;
    static constexpr double kVerticalMargin = 10;

    using uikit::UITableViewCell::UITableViewCell;

    // The class's name; naming it makes sure the nib is registered.
    static std::string cellNibName();
    static std::string cellIdentifier() { return "multilineLabelCellIdentifier"; }

    const std::shared_ptr<uikit::UILabel>& multilineLabel() const { return multilineLabel_; }
    void setMultilineLabel(std::shared_ptr<uikit::UILabel> label) { multilineLabel_ = std::move(label); }

    double fittingHeightForWidth(double width) override;
    void layoutSubviews() override;

    std::string className() const override { return "MultilineLabelCell"; }

private:
    std::shared_ptr<uikit::UILabel> multilineLabel_;
};

// A help legend row: a symbol's picture on the left, and what it means
// beside it on as many lines as it needs. The storyboard's prototype
// "LegendViewCell" makes it (makePrototype) and sets the two outlets.
// Main thread only.
#pragma once

#include <memory>
#include <string>

#include "uikit/UITableViewCell.h"

namespace uikit {
class UIImageView;
class UILabel;
}  // namespace uikit

class LegendViewCell : public uikit::UITableViewCell {
public:
    static constexpr const char* kReuseIdentifier = "LegendViewCell";
    // The description's font, and how much of the row's width it leaves to
    // the picture and the margins: the row height rule measures with these.
    static constexpr const char* kDescriptionFontName = "Helvetica";
    static constexpr double kDescriptionFontSize = 15;
    static constexpr double kReservedWidth = 80;
    static constexpr double kVerticalPadding = 20;

    using uikit::UITableViewCell::UITableViewCell;

    // The prototype as the storyboard lays it out.
    static std::shared_ptr<LegendViewCell> makePrototype();

    const std::shared_ptr<uikit::UIImageView>& legendIconImageView() const { return legendIconImageView_; }
    void setLegendIconImageView(std::shared_ptr<uikit::UIImageView> view) { legendIconImageView_ = std::move(view); }
    const std::shared_ptr<uikit::UILabel>& legendDecriptionLabel() const { return legendDecriptionLabel_; }
    void setLegendDecriptionLabel(std::shared_ptr<uikit::UILabel> label) { legendDecriptionLabel_ = std::move(label); }

    void layoutSubviews() override;

    std::string className() const override { return "LegendViewCell"; }

private:
    std::shared_ptr<uikit::UIImageView> legendIconImageView_;
    std::shared_ptr<uikit::UILabel> legendDecriptionLabel_;
};

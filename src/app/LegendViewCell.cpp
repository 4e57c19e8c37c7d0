#include "app/LegendViewCell.h"

#include "uikit/UIColor.h"
#include "uikit/UIFont.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"

namespace {

constexpr double kIconSize = 22;
constexpr double kIconLeft = 20;
constexpr double kDescriptionLeft = 60;
constexpr double kPrototypeWidth = 320;
constexpr double kPrototypeHeight = 44;

}  // namespace

std::shared_ptr<LegendViewCell> LegendViewCell::makePrototype() {
    auto cell = std::make_shared<LegendViewCell>(uikit::UITableViewCellStyle::Default, std::string(kReuseIdentifier));
    cell->setFrame({0, 0, kPrototypeWidth, kPrototypeHeight});
    cell->setSelectionStyle(uikit::UITableViewCellSelectionStyle::None);

    auto icon = std::make_shared<uikit::UIImageView>(
        graphics::Rect{kIconLeft, (kPrototypeHeight - kIconSize) / 2, kIconSize, kIconSize});
    icon->setContentMode(uikit::UIViewContentMode::ScaleAspectFit);
    icon->setOutletName(std::string("legendIconImageView"));

    auto label = std::make_shared<uikit::UILabel>(graphics::Rect{
        kDescriptionLeft, kVerticalPadding / 2, kPrototypeWidth - kReservedWidth, kPrototypeHeight - kVerticalPadding});
    label->setFont(uikit::UIFont::fontWithName(kDescriptionFontName, kDescriptionFontSize));
    label->setNumberOfLines(0);
    label->setTextColor(uikit::UIColor::darkGrayColor());
    label->setOutletName(std::string("legendDecriptionLabel"));

    cell->contentView()->addSubview(icon);
    cell->contentView()->addSubview(label);
    cell->setLegendIconImageView(icon);
    cell->setLegendDecriptionLabel(label);
    return cell;
}

// The description takes the row's width less the reserved part and its
// height less the padding; the picture stays centred on the row's height.
void LegendViewCell::layoutSubviews() {
    uikit::UITableViewCell::layoutSubviews();
    const graphics::Size size = contentView()->bounds().size;
    if (legendIconImageView_)
        legendIconImageView_->setFrame({kIconLeft, (size.height - kIconSize) / 2, kIconSize, kIconSize});
    if (legendDecriptionLabel_)
        legendDecriptionLabel_->setFrame(
            {kDescriptionLeft, kVerticalPadding / 2, size.width - kReservedWidth, size.height - kVerticalPadding});
}

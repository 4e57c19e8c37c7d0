#include "lists/DetailNavigationCell.h"

#include "Utils/StringUtility.h"
#include "lists/DetailsNavigationDataModel.h"
#include "uikit/UIColor.h"
#include "uikit/UIFont.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UINib.h"

namespace {

constexpr const char* kNibName = "DetailNavigationCell";
constexpr double kWidth = 320;
constexpr double kHeight = 44;
constexpr double kMargin = 15;
constexpr double kIconSide = 24;
constexpr double kAccessoryWidth = 33;

std::vector<foundation::ObjectPtr> makeNib(const foundation::ObjectPtr&) {
    auto cell = std::make_shared<DetailNavigationCell>(uikit::UITableViewCellStyle::Default,
                                                       DetailNavigationCell::cellIdentifier());
    cell->setFrame({0, 0, kWidth, kHeight});
    cell->contentView()->setFrame({0, 0, kWidth - kAccessoryWidth, kHeight});
    cell->setAccessoryType(uikit::UITableViewCellAccessoryType::DisclosureIndicator);

    auto icon = std::make_shared<uikit::UIImageView>(
        graphics::Rect{kMargin, (kHeight - kIconSide) / 2, kIconSide, kIconSide});
    icon->setContentMode(uikit::UIViewContentMode::ScaleAspectFit);
    icon->setOutletName("navigationIcon");
    const double labelX = kMargin + kIconSide + 10;
    auto label = std::make_shared<uikit::UILabel>(graphics::Rect{labelX, 0, kWidth - kAccessoryWidth - labelX, kHeight});
    label->setFont(uikit::UIFont::systemFontOfSize(17));
    label->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
    label->setOutletName("navigationLabel");
    cell->contentView()->addSubview(icon);
    cell->contentView()->addSubview(label);
    cell->setNavigationIcon(icon);
    cell->setNavigationLabel(label);
    return {cell};
}

}  // namespace

std::string DetailNavigationCell::cellNibName() {
    if (!uikit::UINib::hasNibNamed(kNibName)) uikit::UINib::registerNib(kNibName, makeNib);
    return kNibName;
}

void DetailNavigationCell::configureWithDataModel(const DetailsNavigationDataModel& model) {
    if (model.iconName && !StringUtility::isNilOrEmpty(std::string_view(*model.iconName))) {
        if (auto icon = navigationIcon()) {
            auto image = uikit::UIImage::imageNamed(*model.iconName);
            icon->setImage(image ? image->imageWithRenderingMode(uikit::UIImageRenderingMode::AlwaysTemplate) : nullptr);
        }
    }
    if (auto label = navigationLabel()) label->setText(model.cellTitle);
    setNavigationEnabled(model.isNavigationEnabled);
}

void DetailNavigationCell::setNavigationEnabled(bool enabled) {
    if (auto label = navigationLabel())
        label->setTextColor(enabled ? uikit::UIColor::blackColor() : uikit::UIColor::grayColor());
    setUserInteractionEnabled(enabled);
}

#include "maps/LocationCellTableViewCell.h"

#include "uikit/UIColor.h"
#include "uikit/UIFont.h"
#include "uikit/UILabel.h"

namespace {

constexpr double kLocationCellInset = 15;
constexpr double kLocationCellNameHeight = 22;
constexpr double kLocationCellVenueHeight = 18;
constexpr double kLocationCellTop = 7;
constexpr double kLocationCellPrototypeWidth = 320;

}  // namespace

std::shared_ptr<LocationCellTableViewCell> LocationCellTableViewCell::makePrototype(const std::string& reuseIdentifier) {
    auto cell = std::make_shared<LocationCellTableViewCell>(uikit::UITableViewCellStyle::Default, reuseIdentifier);
    cell->setFrame({0, 0, kLocationCellPrototypeWidth, kRowHeight});

    auto name = std::make_shared<uikit::UILabel>();
    name->setFont(uikit::UIFont::fontWithName("HelveticaNeue-Medium", 16));
    name->setTextColor(uikit::UIColor::blackColor());
    name->setOutletName(std::string("locationName"));

    auto venue = std::make_shared<uikit::UILabel>();
    venue->setFont(uikit::UIFont::fontWithName("HelveticaNeue", 13));
    venue->setTextColor(uikit::UIColor::grayColor());
    venue->setOutletName(std::string("venueName"));

    cell->contentView()->addSubview(name);
    cell->contentView()->addSubview(venue);
    cell->setLocationName(name);
    cell->setVenueName(venue);
    cell->layoutSubviews();
    return cell;
}

void LocationCellTableViewCell::layoutSubviews() {
    uikit::UITableViewCell::layoutSubviews();
    const double width = contentView()->bounds().size.width - 2 * kLocationCellInset;
    if (locationName_) locationName_->setFrame({kLocationCellInset, kLocationCellTop, width, kLocationCellNameHeight});
    if (venueName_)
        venueName_->setFrame(
            {kLocationCellInset, kLocationCellTop + kLocationCellNameHeight, width, kLocationCellVenueHeight});
}

#include "people/OrganizationCell.h"

#include "uikit/UIFont.h"
#include "uikit/UILabel.h"
#include "uikit/UINib.h"

namespace {

constexpr const char* kOrganizationCellNibName = "OrganizationCell";
constexpr double kOrganizationCellNibWidth = 320;
constexpr double kOrganizationCellMargin = 15;

std::vector<foundation::ObjectPtr> organizationCellNib(const foundation::ObjectPtr&) {
    auto cell = std::make_shared<OrganizationCell>(uikit::UITableViewCellStyle::Default, OrganizationCell::cellIdentifier());
    const double width = kOrganizationCellNibWidth - 2 * kOrganizationCellMargin;
    cell->setFrame({0, 0, kOrganizationCellNibWidth, OrganizationCell::kRowHeight});
    cell->contentView()->setFrame({0, 0, kOrganizationCellNibWidth, OrganizationCell::kRowHeight});
    auto name = std::make_shared<uikit::UILabel>(graphics::Rect{kOrganizationCellMargin, 4, width, 20});
    name->setFont(uikit::UIFont::boldSystemFontOfSize(15));
    name->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
    name->setOutletName("organizationName");
    cell->contentView()->addSubview(name);
    cell->setOrganizationName(name);
    auto country = std::make_shared<uikit::UILabel>(graphics::Rect{kOrganizationCellMargin, 24, width, 16});
    country->setFont(uikit::UIFont::systemFontOfSize(12));
    country->setTextColor(graphics::Color::gray(0.4, 1));
    country->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
    country->setOutletName("organizationContry");
    cell->contentView()->addSubview(country);
    cell->setOrganizationContry(country);
    return {cell};
}

}  // namespace

std::string OrganizationCell::cellNibName() {
    if (!uikit::UINib::hasNibNamed(kOrganizationCellNibName))
        uikit::UINib::registerNib(kOrganizationCellNibName, organizationCellNib);
    return kOrganizationCellNibName;
}

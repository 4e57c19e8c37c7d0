#include "Utils/AppearanceUtils.h"

#include "Utils/UILabelExtension.h"
#include "Utils/Utils.h"
#include "graphics/MutablePath.h"
#include "uikit/NSAttributedString.h"
#include "uikit/UIAppearance.h"
#include "uikit/UIApplication.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UIColor.h"
#include "uikit/UIFont.h"
#include "uikit/UIGraphicsImageContext.h"
#include "uikit/UIImage.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationBar.h"
#include "uikit/UINavigationController.h"
#include "uikit/UIPopoverController.h"
#include "uikit/UISearchBar.h"
#include "uikit/UITabBar.h"
#include "uikit/UITableView.h"

namespace {

constexpr const char* kBarBackgroundImage = "iOS7_navigation_bar_background.png";

graphics::Color rgb255(double red, double green, double blue) {
    return uikit::UIColor::colorWithRed(red / 255, green / 255, blue / 255, 1);
}

}  // namespace

graphics::Color AppearanceUtils::titleColor() { return rgb255(64, 158, 210); }
graphics::Color AppearanceUtils::popoverNavigationBarColor() { return rgb255(5, 7, 8); }
graphics::Color AppearanceUtils::tableBackgroundColor() { return rgb255(245, 245, 245); }

void AppearanceUtils::customizeDefaultUIAppearance() {
    uikit::UIApplication::sharedApplication().setStatusBarStyle(uikit::UIStatusBarStyle::LightContent);
    customizeNavigationBarAppearance();
    customizeTabBarAppearance();
    customizeSearchBarAppearance();
    customizeTableViewAppearance();
    customizeLabelsAppearance();
}

void AppearanceUtils::customizeNavigationBarAppearance() {
    using uikit::UINavigationBar;
    UINavigationBar::appearance().setBackgroundImage(uikit::UIImage::imageNamed(kBarBackgroundImage),
                                                     uikit::UIBarMetrics::Default);
    UINavigationBar::appearanceWhenContainedIn<uikit::UIPopoverController>().setBackgroundColor(
        popoverNavigationBarColor());
    if (!Utils::isIPad()) {
        uikit::TextAttributes buttonTitle;
        buttonTitle.font = uikit::UIFont::systemFontOfSize(16);
        uikit::UIBarButtonItem::appearanceWhenContainedIn<UINavigationBar, uikit::UINavigationController>()
            .setTitleTextAttributes(buttonTitle, uikit::UIControlStateNormal);
    }
    uikit::TextAttributes title;
    title.foregroundColor = titleColor();
    title.font = uikit::UIFont::fontWithName("HelveticaNeue-Light", 22);
    UINavigationBar::appearance().setTitleTextAttributes(title);
}

void AppearanceUtils::customizeTabBarAppearance() {
    uikit::UITabBar::appearance().setBackgroundImage(uikit::UIImage::imageNamed(kBarBackgroundImage));
}

void AppearanceUtils::customizeSearchBarAppearance() {
    using uikit::UISearchBar;
    const auto proxy = uikit::UIAppearance::appearance<UISearchBar>();
    auto background = uikit::UIImage::imageNamed("search_background");
    if (background) background = background->resizableImageWithCapInsets({}, uikit::UIImageResizingMode::Stretch);
    proxy.set(UISearchBar::backgroundImageKey(), [background](UISearchBar& bar) { bar.setBackgroundImage(background); });

    auto field = uikit::UIImage::imageNamed("textbox_background");
    if (field) field = field->resizableImageWithCapInsets({0, 6, 0, 0});
    proxy.set(UISearchBar::searchFieldBackgroundImageKey(uikit::UIControlStateNormal), [field](UISearchBar& bar) {
        bar.setSearchFieldBackgroundImage(field, uikit::UIControlStateNormal);
    });

    auto lens = uikit::UIImage::imageNamed("search_lens.png");
    proxy.set(UISearchBar::imageKey(uikit::UISearchBarIcon::Search, uikit::UIControlStateNormal),
              [lens](UISearchBar& bar) { bar.setImage(lens, uikit::UISearchBarIcon::Search, uikit::UIControlStateNormal); });

    const uikit::UIOffset textOffset{7, 0};
    proxy.set(UISearchBar::searchTextPositionAdjustmentKey(),
              [textOffset](UISearchBar& bar) { bar.setSearchTextPositionAdjustment(textOffset); });
}

void AppearanceUtils::customizeTableViewAppearance() {
    const auto color = tableBackgroundColor();
    auto apply = [color](uikit::UITableView& table) { table.setBackgroundColor(color); };
    uikit::UIAppearance::appearance<uikit::UITableView>().set("backgroundColor", apply);
    uikit::UIAppearance::appearanceWhenContainedIn<uikit::UITableView, uikit::UIPopoverController>().set(
        "backgroundColor", apply);
}

void AppearanceUtils::customizeLabelsAppearance() {
    UILabelExtension::setCustomHighlightedTextColor(uikit::UIAppearance::appearance<uikit::UILabel>(),
                                                    uikit::UIColor::blackColor());
}

void AppearanceUtils::setMenuItemLabelAppearance(uikit::UILabel& label) {
    label.setFont(uikit::UIFont::fontWithName("HelveticaNeue-Medium", 18));
    label.setTextColor(uikit::UIColor::blackColor());
}

std::shared_ptr<uikit::UIImage> AppearanceUtils::imageFromColor(const graphics::Color& color) {
    const graphics::Rect rect{0, 0, 1, 1};
    uikit::UIGraphicsBeginImageContext(rect.size);
    if (auto* context = uikit::UIGraphicsGetCurrentContext()) {
        graphics::MutablePath fill;
        fill.addRect(rect);
        context->fillPath(fill, color);
    }
    auto image = uikit::UIGraphicsGetImageFromCurrentImageContext();
    uikit::UIGraphicsEndImageContext();
    return image;
}

#include "programme/SpotlightNotificationCellTableViewCell.h"

#include "Utils/UIBlockButton.h"
#include "Utils/Utils.h"
#include "uikit/UIColor.h"
#include "uikit/UIFont.h"
#include "uikit/UILabel.h"
#include "uikit/UIScreen.h"

namespace {

constexpr double kNotificationCellWidth = 320;
constexpr double kNotificationCellMargin = 15;
constexpr double kButtonWidth = 34;

}  // namespace

std::shared_ptr<uikit::UIView> SpotlightNotificationCellTableViewCell::makePrototype() {
    auto cell = std::make_shared<SpotlightNotificationCellTableViewCell>(uikit::UITableViewCellStyle::Default,
                                                                         std::string(kReuseIdentifier));
    cell->setFrame({0, 0, kNotificationCellWidth, kShortRowHeight});
    auto content = cell->contentView();
    content->setFrame({0, 0, kNotificationCellWidth, kShortRowHeight});
    auto message = std::make_shared<uikit::UILabel>(
        graphics::Rect{kNotificationCellMargin, kRowPadding / 2, kSmallPhoneWidth, kShortRowHeight - kRowPadding});
    message->setFont(uikit::UIFont::fontWithName(kMessageFontName, kMessageFontSize));
    message->setNumberOfLines(0);
    message->setLineBreakMode(uikit::NSLineBreakMode::ByWordWrapping);
    message->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);
    message->setOutletName(std::string("messageLabel"));
    auto button = std::make_shared<UIBlockButton>(
        graphics::Rect{kNotificationCellWidth - kNotificationCellMargin - kButtonWidth, (kShortRowHeight - kButtonWidth) / 2,
                       kButtonWidth, kButtonWidth});
    button->setTitle(std::string("OK"), uikit::UIControlStateNormal);
    // A custom button's title is white by default: invisible on the row.
    button->setTitleColor(button->tintColor(), uikit::UIControlStateNormal);
    button->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleLeftMargin);
    button->setOutletName(std::string("acknowledgeBlockButton"));
    content->addSubview(message);
    content->addSubview(button);
    cell->setMessageLabel(message);
    cell->setAcknowledgeBlockButton(button);
    return cell;
}

double SpotlightNotificationCellTableViewCell::messageWidthForAvailableSizePattern(int availableSizePattern) {
    if (availableSizePattern == 1) return kPatternOneWidth;
    if (availableSizePattern == 2) return kPatternTwoWidth;
    // The phones by their screen height; anything else, the pad included,
    // takes the smallest phone's width.
    const double height = uikit::UIScreen::mainScreen().bounds().size.height;
    if (height == 667) return kMediumPhoneWidth;
    if (height == 736) return kLargePhoneWidth;
    return kSmallPhoneWidth;
}

int SpotlightNotificationCellTableViewCell::heightForCellWithTitle(const std::optional<std::string>& title,
                                                                   int availableSizePattern) {
    const double height =
        Utils::getMeasuredSizeOfLabelWithText(title, uikit::UIFont::fontWithName(kMessageFontName, kMessageFontSize),
                                              messageWidthForAvailableSizePattern(availableSizePattern))
            .height;
    if (height < kShortMessageHeight) return kShortRowHeight;
    return static_cast<int>(height + kRowPadding);
}

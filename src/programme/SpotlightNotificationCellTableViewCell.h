// The home screen's notification row: the message and the button that
// acknowledges it, both set by the home screen; and the class-wide rule for
// the row's height.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "uikit/UITableViewCell.h"

namespace uikit {
class UILabel;
}
class UIBlockButton;

class SpotlightNotificationCellTableViewCell : public uikit::UITableViewCell {
public:
    static constexpr const char* kReuseIdentifier = "spotlightNotificationCellId";
    static constexpr const char* kMessageFontName = "HelveticaNeue-Medium";
    static constexpr double kMessageFontSize = 15;
    // The message widths per layout pattern (0 chosen by the phone's height).
    static constexpr double kPatternOneWidth = 621;
    static constexpr double kPatternTwoWidth = 665;
    static constexpr double kSmallPhoneWidth = 257;
    static constexpr double kMediumPhoneWidth = 312;
    static constexpr double kLargePhoneWidth = 351;
    // A message lower than this takes the fixed height; a taller one its height plus the padding.
    static constexpr double kShortMessageHeight = 50;
    static constexpr int kShortRowHeight = 70;
    static constexpr double kRowPadding = 20;

    using uikit::UITableViewCell::UITableViewCell;

    // A new cell as the home screen's prototype lays it out.
    static std::shared_ptr<uikit::UIView> makePrototype();

    // The width the message is laid out at, for a pattern of
    // BaseViewController::cellsAvailableSizePattern.
    static double messageWidthForAvailableSizePattern(int availableSizePattern);
    static int heightForCellWithTitle(const std::optional<std::string>& title, int availableSizePattern);

    std::shared_ptr<uikit::UILabel> messageLabel() const { return messageLabel_.lock(); }
    void setMessageLabel(const std::shared_ptr<uikit::UILabel>& label) { messageLabel_ = label; }
    std::shared_ptr<UIBlockButton> acknowledgeBlockButton() const { return acknowledgeBlockButton_.lock(); }
    void setAcknowledgeBlockButton(const std::shared_ptr<UIBlockButton>& button) { acknowledgeBlockButton_ = button; }

    std::string className() const override { return "SpotlightNotificationCellTableViewCell"; }

private:
    std::weak_ptr<uikit::UILabel> messageLabel_;
    std::weak_ptr<UIBlockButton> acknowledgeBlockButton_;
};

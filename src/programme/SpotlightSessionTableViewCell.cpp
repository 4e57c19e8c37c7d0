#include "programme/SpotlightSessionTableViewCell.h"

#include "uikit/NSLayoutConstraint.h"
#include "uikit/UIColor.h"
#include "uikit/UIFont.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"

using uikit::NSLayoutAttribute;
using uikit::NSLayoutConstraint;
using uikit::NSLayoutRelation;

namespace {

constexpr double kSessionCellWidth = 320;
constexpr double kSessionCellHeight = 96;
constexpr double kSessionCellMargin = 15;
constexpr double kIconSide = 22;
constexpr double kIconSpacing = 4;

std::shared_ptr<uikit::UILabel> label(const graphics::Rect& frame, double fontSize, const char* outlet) {
    auto view = std::make_shared<uikit::UILabel>(frame);
    view->setFont(uikit::UIFont::systemFontOfSize(fontSize));
    view->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
    view->setOutletName(std::string(outlet));
    return view;
}

std::shared_ptr<uikit::UIImageView> icon(double x, const char* outlet) {
    auto view = std::make_shared<uikit::UIImageView>(graphics::Rect{x, 8, kIconSide, kIconSide});
    view->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleLeftMargin);
    view->setOutletName(std::string(outlet));
    return view;
}

std::shared_ptr<NSLayoutConstraint> constraint(const std::shared_ptr<uikit::UIView>& first, NSLayoutAttribute attribute,
                                               const std::shared_ptr<uikit::UIView>& second,
                                               NSLayoutAttribute secondAttribute, double constant, const char* outlet) {
    auto made = NSLayoutConstraint::constraintWithItem(first, attribute, NSLayoutRelation::Equal, second,
                                                       secondAttribute, 1, constant);
    made->setOutletName(std::string(outlet));
    return made;
}

}  // namespace

std::shared_ptr<uikit::UIView> SpotlightSessionTableViewCell::makePrototype() {
    auto cell = std::make_shared<SpotlightSessionTableViewCell>(uikit::UITableViewCellStyle::Default,
                                                                std::string(kReuseIdentifier));
    cell->setFrame({0, 0, kSessionCellWidth, kSessionCellHeight});
    auto content = cell->contentView();
    content->setFrame({0, 0, kSessionCellWidth, kSessionCellHeight});
    const double iconsLeft = kSessionCellWidth - kSessionCellMargin - 3 * kIconSide - 2 * kIconSpacing;
    const double textWidth = iconsLeft - kSessionCellMargin - kIconSpacing;

    auto date = label({kSessionCellMargin, 8, textWidth, 16}, 12, "dateLabel");
    auto time = label({kSessionCellMargin, 24, textWidth, 16}, 12, "displayTimeLabel");
    auto title = label({kSessionCellMargin, 40, kSessionCellWidth - 2 * kSessionCellMargin, 20}, 15, "titleLabel");
    auto location =
        label({kSessionCellMargin, 60, kSessionCellWidth - 2 * kSessionCellMargin, 16}, 12, "locationLabel");
    auto hint = label({kSessionCellMargin, 76, 80, 16}, 12, "liveStatusHintLabel");
    auto message = label({kSessionCellMargin + 84, 76, kSessionCellWidth - 2 * kSessionCellMargin - 84, 16}, 12,
                         "liveStatusMessageLabel");
    for (const auto& part : {date, time, location, hint, message}) part->setTextColor(uikit::UIColor::darkGrayColor());
    auto type = icon(iconsLeft, "typeImageView");
    auto note = icon(iconsLeft + kIconSide + kIconSpacing, "noteImageView");
    auto pin = icon(iconsLeft + 2 * (kIconSide + kIconSpacing), "sessionNearMeImageView");
    for (const auto& part : std::vector<std::shared_ptr<uikit::UIView>>{date, time, title, location, hint, message,
                                                                         type, note, pin})
        content->addSubview(part);

    const auto none = NSLayoutAttribute::NotAnAttribute;
    auto hintHeight = constraint(hint, NSLayoutAttribute::Height, nullptr, none, 16,
                                 "liveStatusHintLabelHeightConstraint");
    auto messageHeight = constraint(message, NSLayoutAttribute::Height, nullptr, none, 16,
                                    "liveStatusMessageLabelHeightConstraint");
    auto typeWidth = constraint(type, NSLayoutAttribute::Width, nullptr, none, kIconSide, "typeImageViewWidthContraint");
    auto noteWidth = constraint(note, NSLayoutAttribute::Width, nullptr, none, kIconSide, "noteImageViewWidthConstraint");
    auto pinWidth = constraint(pin, NSLayoutAttribute::Width, nullptr, none, kIconSide, "pinImageWidthConstraint");
    auto typeToNote = constraint(note, NSLayoutAttribute::Leading, type, NSLayoutAttribute::Trailing, kIconSpacing,
                                 "typeImageTonoteImageHSConstraint");
    auto typeToPin = constraint(pin, NSLayoutAttribute::Leading, note, NSLayoutAttribute::Trailing, kIconSpacing,
                                "typeImageToPinImageHSConstraint");
    auto pinToContent = constraint(content, NSLayoutAttribute::Trailing, pin, NSLayoutAttribute::Trailing,
                                   kSessionCellMargin, "pinImageToContentHSConstraint");
    content->addConstraints({hintHeight, messageHeight, typeWidth, noteWidth, pinWidth, typeToNote, typeToPin,
                             pinToContent});

    cell->setDateLabel(date);
    cell->setDisplayTimeLabel(time);
    cell->setTitleLabel(title);
    cell->setLocationLabel(location);
    cell->setLiveStatusHintLabel(hint);
    cell->setLiveStatusMessageLabel(message);
    cell->setTypeImageView(type);
    cell->setNoteImageView(note);
    cell->setSessionNearMeImageView(pin);
    cell->setLiveStatusHintLabelHeightConstraint(hintHeight);
    cell->setLiveStatusMessageLabelHeightConstraint(messageHeight);
    cell->setTypeImageViewWidthContraint(typeWidth);
    cell->setNoteImageViewWidthConstraint(noteWidth);
    cell->setPinImageWidthConstraint(pinWidth);
    cell->setTypeImageTonoteImageHSConstraint(typeToNote);
    cell->setTypeImageToPinImageHSConstraint(typeToPin);
    cell->setPinImageToContentHSConstraint(pinToContent);
    return cell;
}

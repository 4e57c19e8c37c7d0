#include "programme/SpotlightSessionTableViewCell.h"

#include <algorithm>

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
constexpr double kSessionCellHeight = 87;
constexpr double kSessionCellMargin = 15;
constexpr double kSessionCellTop = 5;
constexpr double kSessionCellSmallLine = 15;
constexpr double kSessionCellTitleLine = 19;
constexpr double kLiveStatusHintWidth = 80;
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

    auto date = label({kSessionCellMargin, 0, textWidth, kSessionCellSmallLine}, 12, "dateLabel");
    auto time = label({kSessionCellMargin, 0, textWidth, kSessionCellSmallLine}, 12, "displayTimeLabel");
    auto title = label({kSessionCellMargin, 0, kSessionCellWidth - 2 * kSessionCellMargin, kSessionCellTitleLine}, 15, "titleLabel");
    auto location = label({kSessionCellMargin, 0, kSessionCellWidth - 2 * kSessionCellMargin, kSessionCellSmallLine}, 12, "locationLabel");
    auto hint = label({kSessionCellMargin, 0, kLiveStatusHintWidth, 16}, 12, "liveStatusHintLabel");
    auto message = label({kSessionCellMargin, 0, kSessionCellWidth - 2 * kSessionCellMargin, 16}, 12, "liveStatusMessageLabel");
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
    auto pinToContent = constraint(content, NSLayoutAttribute::Trailing, pin, NSLayoutAttribute::Trailing, kSessionCellMargin,
                                   "pinImageToContentHSConstraint");
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
    cell->layoutSubviews();
    return cell;
}

void SpotlightSessionTableViewCell::layoutSubviews() {
    uikit::UITableViewCell::layoutSubviews();
    const auto bounds = contentView()->bounds();
    const double fullWidth = std::max(0.0, bounds.size.width - 2 * kSessionCellMargin);
    auto place = [](const std::shared_ptr<uikit::UILabel>& label, double x, double y, double width, double height) {
        if (label) label->setFrame({x, y, std::max(0.0, width), height});
    };
    double y = kSessionCellTop;
    if (auto date = dateLabel()) {
        place(date, kSessionCellMargin, y, date->frame().size.width, kSessionCellSmallLine);
        y += kSessionCellSmallLine;
    }
    if (auto time = displayTimeLabel()) {
        place(time, kSessionCellMargin, y, time->frame().size.width, kSessionCellSmallLine);
        // A hidden time leaves no empty line.
        if (!time->isHidden()) y += kSessionCellSmallLine;
    }
    place(titleLabel(), kSessionCellMargin, y, fullWidth, kSessionCellTitleLine);
    y += kSessionCellTitleLine;
    const double locationY = y;
    y += kSessionCellSmallLine;

    auto heightOf = [](const std::shared_ptr<uikit::NSLayoutConstraint>& constraint) {
        return constraint ? constraint->constant() : 0.0;
    };
    const double statusHeight = std::max(heightOf(liveStatusHintLabelHeightConstraint()),
                                         heightOf(liveStatusMessageLabelHeightConstraint()));
    const bool statusBelow = statusHeight == 0 || y + statusHeight <= bounds.size.height;
    // Beside the location, the status takes the right half of its line.
    const double statusLeft = statusBelow ? kSessionCellMargin : kSessionCellMargin + fullWidth / 2;
    const double statusY = statusBelow ? y : locationY;
    place(locationLabel(), kSessionCellMargin, locationY, statusBelow ? fullWidth : fullWidth / 2 - 4, kSessionCellSmallLine);
    const double hintWidth = statusBelow ? kLiveStatusHintWidth : std::min(kLiveStatusHintWidth, fullWidth / 4);
    place(liveStatusHintLabel(), statusLeft, statusY, hintWidth,
          heightOf(liveStatusHintLabelHeightConstraint()));
    const double messageLeft = statusLeft + hintWidth + 4;
    place(liveStatusMessageLabel(), messageLeft, statusY, kSessionCellMargin + fullWidth - messageLeft,
          heightOf(liveStatusMessageLabelHeightConstraint()));
}

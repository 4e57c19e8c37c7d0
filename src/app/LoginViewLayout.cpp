#include "app/LoginViewLayout.h"

#include <algorithm>

#include "Utils/Utils.h"
#include "uikit/UIColor.h"
#include "uikit/UIFont.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UITableView.h"
#include "uikit/UIWebView.h"

namespace {

constexpr double kPadColumnWidth = 440;
// Below the demo-row picker's band.
constexpr double kTopFraction = 0.26;
constexpr double kLabelHeight = 60;
constexpr double kGap = 8;
// The grouped table's section spacing.
constexpr double kTableExtra = 16;
constexpr double kNoteHeight = 120;
constexpr uikit::UIViewAutoresizing kCentred =
    uikit::UIViewAutoresizingFlexibleLeftMargin | uikit::UIViewAutoresizingFlexibleRightMargin;

}  // namespace

LoginViewLayout::LoginViewLayout(uikit::UIView& view) : view_(view) {
    const auto bounds = view.bounds();
    columnWidth_ = Utils::isIPad() ? kPadColumnWidth : bounds.size.width;
    columnX_ = (bounds.size.width - columnWidth_) / 2;
    nextY_ = bounds.size.height * kTopFraction;
}

std::shared_ptr<uikit::UIImageView> LoginViewLayout::addBackground(const std::string& imageName) {
    auto background = std::make_shared<uikit::UIImageView>(view_.bounds());
    background->setImage(uikit::UIImage::imageNamed(imageName));
    background->setContentMode(uikit::UIViewContentMode::ScaleAspectFill);
    background->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);
    view_.addSubview(background);
    return background;
}

std::shared_ptr<uikit::UILabel> LoginViewLayout::addLabel() {
    auto label = std::make_shared<uikit::UILabel>(graphics::Rect{columnX_ + 20, nextY_, columnWidth_ - 40, kLabelHeight});
    label->setNumberOfLines(0);
    label->setTextAlignment(uikit::NSTextAlignment::Center);
    label->setTextColor(uikit::UIColor::whiteColor());
    label->setFont(uikit::UIFont::systemFontOfSize(15));
    label->setAutoresizingMask(kCentred);
    view_.addSubview(label);
    nextY_ += kLabelHeight + kGap;
    return label;
}

std::shared_ptr<uikit::UITableView> LoginViewLayout::addTable(double contentHeight) {
    const double height = contentHeight + kTableExtra;
    auto table = std::make_shared<uikit::UITableView>(graphics::Rect{columnX_, nextY_, columnWidth_, height},
                                                      uikit::UITableViewStyle::Grouped);
    table->setScrollEnabled(false);
    table->setAutoresizingMask(kCentred);
    view_.addSubview(table);
    nextY_ += height + kGap;
    return table;
}

std::shared_ptr<uikit::UIWebView> LoginViewLayout::addNote() {
    // Its page does not scroll: it takes the room left down to the screen's
    // bottom, so the larger pad note shows whole, its link too.
    const double height = std::max(kNoteHeight, view_.bounds().size.height - nextY_ - kGap);
    auto note = std::make_shared<uikit::UIWebView>(graphics::Rect{columnX_ + 20, nextY_, columnWidth_ - 40, height});
    note->setBackgroundColor(uikit::UIColor::clearColor());
    note->setAutoresizingMask(kCentred | uikit::UIViewAutoresizingFlexibleHeight);
    view_.addSubview(note);
    nextY_ += height + kGap;
    return note;
}

#include "programme/PersonalEntryDatesTableViewCell.h"

#include "uikit/UIFont.h"
#include "uikit/UILabel.h"

namespace {

// The row's layout for a 320-point width: the day on the left, the two
// times on the right, each label keeping to its place as the row widens.
constexpr double kRowWidth = 320;
constexpr double kDatesCellMargin = 15;
constexpr double kTimeWidth = 50;
constexpr double kLabelHeight = 21;

std::shared_ptr<uikit::UILabel> makeLabel(const graphics::Rect& frame, const char* outlet,
                                          uikit::UIViewAutoresizing autoresizing) {
    auto label = std::make_shared<uikit::UILabel>(frame);
    label->setFont(uikit::UIFont::systemFontOfSize(15));
    label->setOutletName(std::string(outlet));
    label->setAutoresizingMask(autoresizing);
    return label;
}

}  // namespace

std::shared_ptr<PersonalEntryDatesTableViewCell> PersonalEntryDatesTableViewCell::makeCell() {
    auto cell = std::make_shared<PersonalEntryDatesTableViewCell>(uikit::UITableViewCellStyle::Default,
                                                                  std::string(kCellIdentifier));
    cell->setFrame({0, 0, kRowWidth, kRowHeight});
    const auto& content = cell->contentView();
    content->setFrame({0, 0, kRowWidth, kRowHeight});
    const double y = (kRowHeight - kLabelHeight) / 2;
    const double endX = kRowWidth - kDatesCellMargin - kTimeWidth;
    const double startX = endX - kTimeWidth;
    cell->date_ = makeLabel({kDatesCellMargin, y, startX - 2 * kDatesCellMargin, kLabelHeight}, "date",
                            uikit::UIViewAutoresizingFlexibleWidth);
    cell->startTime_ = makeLabel({startX, y, kTimeWidth, kLabelHeight}, "startTime",
                                 uikit::UIViewAutoresizingFlexibleLeftMargin);
    cell->endTime_ = makeLabel({endX, y, kTimeWidth, kLabelHeight}, "endTime",
                               uikit::UIViewAutoresizingFlexibleLeftMargin);
    content->addSubview(cell->date_);
    content->addSubview(cell->startTime_);
    content->addSubview(cell->endTime_);
    return cell;
}

void PersonalEntryDatesTableViewCell::configureWithDate(const std::string& date, const std::string& startTime,
                                                        const std::string& endTime) {
    if (date_) date_->setText(date);
    if (startTime_) startTime_->setText(startTime);
    if (endTime_) endTime_->setText(endTime);
}

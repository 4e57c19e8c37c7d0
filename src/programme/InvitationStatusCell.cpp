#include "programme/InvitationStatusCell.h"

#include <algorithm>
#include <limits>

#include "programme/InvitationObjectModel.h"
#include "uikit/NSLayoutConstraint.h"
#include "uikit/UIActivityIndicatorView.h"
#include "uikit/UIFont.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UINib.h"

namespace {

constexpr const char* kInvitationStatusCellNibName = "InvitationStatusCell";
constexpr double kInvitationStatusCellWidth = 320;
constexpr double kInvitationStatusMargin = 15;
constexpr double kInvitationStatusGap = 8;

constexpr double kInvitationStatusLabelInset = 4;

double pencilWidthOf(const InvitationStatusCell& cell) {
    const auto widthConstraint = cell.editInvitationImageWidthConstraint();
    return widthConstraint ? widthConstraint->constant() : InvitationStatusCell::kPencilWidth;
}

// The label takes what the pencil leaves, so a hidden pencil gives the text
// the whole row.
double statusLabelWidth(const InvitationStatusCell& cell, double rowWidth) {
    const double pencil = pencilWidthOf(cell);
    const double right = pencil > 0 ? pencil + kInvitationStatusGap : 0;
    return std::max(0.0, rowWidth - 2 * kInvitationStatusMargin - right);
}

void layOutInvitationStatusRow(InvitationStatusCell& cell) {
    const auto size = cell.contentView()->bounds().size;
    const double pencil = pencilWidthOf(cell);
    if (auto image = cell.editInvitationImage())
        image->setFrame({size.width - kInvitationStatusMargin - pencil, (size.height - InvitationStatusCell::kPencilWidth) / 2,
                         pencil, InvitationStatusCell::kPencilWidth});
    if (auto label = cell.invitationStatusLabel())
        label->setFrame({kInvitationStatusMargin, kInvitationStatusLabelInset, statusLabelWidth(cell, size.width),
                         std::max(0.0, size.height - 2 * kInvitationStatusLabelInset)});
}

std::vector<foundation::ObjectPtr> invitationStatusCellNib(const foundation::ObjectPtr&) {
    auto cell = std::make_shared<InvitationStatusCell>(uikit::UITableViewCellStyle::Default,
                                                       InvitationStatusCell::cellIdentifier());
    const double height = InvitationStatusCell::kPendingHeight;
    cell->setFrame({0, 0, kInvitationStatusCellWidth, height});
    auto content = cell->contentView();
    content->setFrame({0, 0, kInvitationStatusCellWidth, height});

    auto label = std::make_shared<uikit::UILabel>();
    label->setNumberOfLines(0);
    label->setFont(uikit::UIFont::fontWithName("HelveticaNeue", 14));
    label->setOutletName(std::string("invitationStatusLabel"));
    content->addSubview(label);
    cell->setInvitationStatusLabel(label);

    auto pencil = std::make_shared<uikit::UIImageView>(graphics::Rect{});
    pencil->setImage(uikit::UIImage::imageNamed(InvitationStatusCell::kPencilImageName));
    pencil->setHidden(true);
    pencil->setOutletName(std::string("editInvitationImage"));
    content->addSubview(pencil);
    cell->setEditInvitationImage(pencil);
    auto width = uikit::NSLayoutConstraint::constraintWithItem(pencil, uikit::NSLayoutAttribute::Width,
                                                              uikit::NSLayoutRelation::Equal, nullptr,
                                                              uikit::NSLayoutAttribute::NotAnAttribute, 1, 0);
    width->setOutletName(std::string("editInvitationImageWidthConstraint"));
    pencil->addConstraint(width);
    cell->setEditInvitationImageWidthConstraint(width);

    auto wheel = std::make_shared<uikit::UIActivityIndicatorView>(uikit::UIActivityIndicatorViewStyle::Gray);
    wheel->setFrame({(kInvitationStatusCellWidth - 20) / 2, (height - 20) / 2, 20, 20});
    wheel->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleLeftMargin | uikit::UIViewAutoresizingFlexibleRightMargin);
    wheel->setOutletName(std::string("activityIndicatorView"));
    wheel->startAnimating();
    content->addSubview(wheel);
    cell->setActivityIndicatorView(wheel);
    layOutInvitationStatusRow(*cell);
    return {cell};
}

}  // namespace

std::string InvitationStatusCell::cellNibName() {
    if (!uikit::UINib::hasNibNamed(kInvitationStatusCellNibName))
        uikit::UINib::registerNib(kInvitationStatusCellNibName, invitationStatusCellNib);
    return kInvitationStatusCellNibName;
}

std::shared_ptr<InvitationStatusCell> InvitationStatusCell::loadFromNib() {
    auto objects = uikit::UINib::nibWithNibName(cellNibName())->instantiateWithOwner(nullptr);
    return objects.empty() ? nullptr : std::dynamic_pointer_cast<InvitationStatusCell>(objects.front());
}

void InvitationStatusCell::awakeFromNib() {
    uikit::UITableViewCell::awakeFromNib();
    setUserInteractionEnabled(false);
}

void InvitationStatusCell::layoutSubviews() {
    uikit::UITableViewCell::layoutSubviews();
    layOutInvitationStatusRow(*this);
}

double InvitationStatusCell::fittingHeightForWidth(double width) {
    auto label = invitationStatusLabel();
    if (!label) return uikit::UITableViewCell::fittingHeightForWidth(width);
    const auto size = label->sizeThatFits({statusLabelWidth(*this, width), std::numeric_limits<double>::max()});
    return std::max(kPendingHeight, size.height + 2 * kInvitationStatusLabelInset);
}

void InvitationStatusCell::configureWithInvitationObject(const std::shared_ptr<InvitationObjectModel>& model) {
    if (!model) return;
    if (auto wheel = activityIndicatorView()) wheel->stopAnimating();
    if (auto label = invitationStatusLabel()) {
        label->setText(model->statusText());
        label->setTextColor(model->statusTextColor());
    }
    const bool replies = !model->invitationActions().empty();
    if (auto pencil = editInvitationImage()) {
        pencil->setHidden(!replies);
        pencil->setUserInteractionEnabled(replies);
    }
    if (auto width = editInvitationImageWidthConstraint()) width->setConstant(replies ? kPencilWidth : 0);
    setUserInteractionEnabled(replies);
    layOutInvitationStatusRow(*this);
}

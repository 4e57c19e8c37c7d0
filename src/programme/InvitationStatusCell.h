// The "Invitation status" row of the session detail screen: the invitation
// message in its colour and, when the service allows replies, a pencil mark
// telling that a tap opens them. A spinning wheel until the first status is
// there. The cell itself takes no touches: the table's selection opens the
// replies. Nib "InvitationStatusCell", reuse identifier
// "invitationStatusCellIdentifier". Main thread only.
#pragma once

#include <memory>
#include <string>

#include "uikit/UITableViewCell.h"

class InvitationObjectModel;
namespace uikit {
class NSLayoutConstraint;
class UIActivityIndicatorView;
class UIImageView;
class UILabel;
}  // namespace uikit

class InvitationStatusCell : public uikit::UITableViewCell {
public:
    static constexpr double kPendingHeight = 54;
    static constexpr double kPencilWidth = 22;
    static constexpr const char* kPencilImageName = "edit_invitation.png";

    using uikit::UITableViewCell::UITableViewCell;

    static std::string cellNibName();
    static std::string cellIdentifier() { return "invitationStatusCellIdentifier"; }
    static std::shared_ptr<InvitationStatusCell> loadFromNib();

    void awakeFromNib() override;
    void layoutSubviews() override;
    // The message's lines at this width, never less than the pending row.
    double fittingHeightForWidth(double width) override;
    // Nothing for none.
    void configureWithInvitationObject(const std::shared_ptr<InvitationObjectModel>& model);

    // Outlets (weak).
    std::shared_ptr<uikit::UILabel> invitationStatusLabel() const { return invitationStatusLabel_.lock(); }
    void setInvitationStatusLabel(const std::shared_ptr<uikit::UILabel>& v) { invitationStatusLabel_ = v; }
    std::shared_ptr<uikit::UIImageView> editInvitationImage() const { return editInvitationImage_.lock(); }
    void setEditInvitationImage(const std::shared_ptr<uikit::UIImageView>& v) { editInvitationImage_ = v; }
    std::shared_ptr<uikit::NSLayoutConstraint> editInvitationImageWidthConstraint() const {
        return editInvitationImageWidthConstraint_.lock();
    }
    void setEditInvitationImageWidthConstraint(const std::shared_ptr<uikit::NSLayoutConstraint>& v) {
        editInvitationImageWidthConstraint_ = v;
    }
    std::shared_ptr<uikit::UIActivityIndicatorView> activityIndicatorView() const { return activityIndicatorView_.lock(); }
    void setActivityIndicatorView(const std::shared_ptr<uikit::UIActivityIndicatorView>& v) { activityIndicatorView_ = v; }

    std::string className() const override { return "InvitationStatusCell"; }

private:
    std::weak_ptr<uikit::UILabel> invitationStatusLabel_;
    std::weak_ptr<uikit::UIImageView> editInvitationImage_;
    std::weak_ptr<uikit::NSLayoutConstraint> editInvitationImageWidthConstraint_;
    std::weak_ptr<uikit::UIActivityIndicatorView> activityIndicatorView_;
};

// The participant details' header: the participant's photo blurred and
// darkened as the background, the photo framed in white and shrinking as
// the table scrolls, the name, position and organisation, and a Follow
// button when the user may read relationships. Its nib lays it out for a
// 320-point width; a long name grows upwards and stretches the header when
// it would reach under the bar. The organisation opens its details only
// when that organisation is stored. Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "lists/QVADetailHeaderView.h"

class QVACoreDataParticipant;
class QVAParticipantHeaderDelegate;
namespace foundation {
class Object;
}
namespace uikit {
class UIButton;
class UILabel;
class UITapGestureRecognizer;
}  // namespace uikit

class QVAParticipantHeaderView : public QVADetailHeaderView {
public:
    using Text = std::optional<std::string>;

    static constexpr const char* kNibName = "QVAParticipantHeaderView";
    static constexpr int kHeaderHeight = 180;
    static constexpr const char* kPlaceholderImageName = "session_header_placeholder.jpg";
    static constexpr const char* kFollowTitle = "Follow";
    static constexpr const char* kUnfollowTitle = "Unfollow";
    static constexpr double kFollowButtonCornerRadius = 4;

    using QVADetailHeaderView::QVADetailHeaderView;

    static int getHeaderHeight() { return kHeaderHeight; }
    // The class's name; naming it registers the nib.
    static std::string getNibName();

    const std::weak_ptr<QVAParticipantHeaderDelegate>& delegate() const { return delegate_; }
    void setDelegate(std::weak_ptr<QVAParticipantHeaderDelegate> delegate) { delegate_ = std::move(delegate); }

    const Text& participantId() const { return participantId_; }
    bool participantIsFollowed() const { return participantIsFollowed_; }
    // The stored participant of participantId on the current store's
    // main-queue context, or null.
    std::shared_ptr<QVACoreDataParticipant> currentParticipant() const;

    void configureWithParticipantId(const Text& participantId, const Text& imageUrl, const Text& name,
                                    const Text& position, const Text& organization);
    // The button's title from the store's followed participants.
    void updateFollowButton();
    // Asks the delegate for the opposite of the present state.
    void changeFollowedStatus();

    int getHeaderBackgroundImageHeight() override;
    std::string getNavigationBarTitle() override;
    void didScrollWithOffset(double offset) override;
    void drawRect(const graphics::Rect& rect) override;
    void layoutSubviews() override;

    // Outlets.
    const std::shared_ptr<uikit::UIImageView>& participantPhoto() const { return participantPhoto_; }
    const std::shared_ptr<uikit::NSLayoutConstraint>& participantPhotoWidth() const { return photoWidth_; }
    const std::shared_ptr<uikit::NSLayoutConstraint>& participantPhotoHeight() const { return photoHeight_; }
    const std::shared_ptr<uikit::UILabel>& participantName() const { return participantName_; }
    const std::shared_ptr<uikit::UILabel>& participantPosition() const { return participantPosition_; }
    const std::shared_ptr<uikit::UILabel>& participantOrganization() const { return participantOrganization_; }
    const std::shared_ptr<uikit::UIButton>& followButton() const { return followButton_; }
    // The darkening veil, once drawn.
    std::shared_ptr<uikit::UIView> overlay() const { return overlay_.lock(); }

    std::string className() const override { return "QVAParticipantHeaderView"; }

private:
    static std::vector<std::shared_ptr<foundation::Object>> loadNib(const std::shared_ptr<foundation::Object>& owner);
    void showOrganizationDetail();
    void loadPictures(const Text& imageUrl);

    std::weak_ptr<QVAParticipantHeaderDelegate> delegate_;
    Text participantId_;
    bool participantIsFollowed_ = false;
    std::shared_ptr<uikit::UIImageView> participantPhoto_;
    std::shared_ptr<uikit::NSLayoutConstraint> photoWidth_;
    std::shared_ptr<uikit::NSLayoutConstraint> photoHeight_;
    std::shared_ptr<uikit::UILabel> participantName_;
    std::shared_ptr<uikit::UILabel> participantPosition_;
    std::shared_ptr<uikit::UILabel> participantOrganization_;
    std::shared_ptr<uikit::UIButton> followButton_;
    // Added to the organisation label once; configure only switches the
    // label's interaction (configure runs after each save of the rows).
    std::shared_ptr<uikit::UITapGestureRecognizer> organizationTap_;
    std::weak_ptr<uikit::UIView> overlay_;
};

// The partner details' header: the partner's logo blurred and darkened as
// the background, a framed thumbnail that shrinks as the table scrolls, and
// the partner's name over its kind of engagement. Its nib lays it out for
// a 320-point width; the texts sit at the bottom and a long name grows
// upwards, stretching the header when it would reach under the bar.
// Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "lists/QVADetailHeaderView.h"

namespace foundation {
class Object;
}
namespace uikit {
class UIImage;
class UILabel;
}  // namespace uikit

class QVAPartnerHeaderView : public QVADetailHeaderView {
public:
    using Text = std::optional<std::string>;

    static constexpr const char* kNibName = "QVAPartnerHeaderView";
    static constexpr int kHeaderHeight = 180;
    static constexpr const char* kPlaceholderImageName = "session_header_placeholder.jpg";

    using QVADetailHeaderView::QVADetailHeaderView;

    static int getHeaderHeight() { return kHeaderHeight; }
    // The class's name; naming it registers the nib.
    static std::string getNibName();

    // The texts, the stretch for a long name, then the pictures: the logo
    // (blurred) behind the thumbnail when there is a logo, else the
    // placeholder in both.
    void configureWithBackgroundImageUrl(const Text& backgroundUrl, const Text& thumbnailUrl, const Text& title,
                                         const Text& subtitle);

    int getHeaderBackgroundImageHeight() override;
    std::string getNavigationBarTitle() override;
    void didScrollWithOffset(double offset) override;
    void drawRect(const graphics::Rect& rect) override;
    void layoutSubviews() override;

    std::shared_ptr<uikit::UIImageView> headerThumbnail() const { return headerThumbnail_; }
    const std::shared_ptr<uikit::NSLayoutConstraint>& headerThumbnailWidthConstraint() const { return thumbnailWidth_; }
    const std::shared_ptr<uikit::NSLayoutConstraint>& headerThumbnailHeightConstraint() const { return thumbnailHeight_; }
    const std::shared_ptr<uikit::UILabel>& headerTitle() const { return headerTitle_; }
    const std::shared_ptr<uikit::UILabel>& headerSubtitle() const { return headerSubtitle_; }
    // The darkening veil, once drawn.
    std::shared_ptr<uikit::UIView> overlay() const { return overlay_.lock(); }

    std::string className() const override { return "QVAPartnerHeaderView"; }

private:
    static std::vector<std::shared_ptr<foundation::Object>> loadNib(const std::shared_ptr<foundation::Object>& owner);
    void loadPictures(const std::string& backgroundUrl, const Text& thumbnailUrl);

    std::shared_ptr<uikit::UIImageView> headerThumbnail_;
    std::shared_ptr<uikit::NSLayoutConstraint> thumbnailWidth_;
    std::shared_ptr<uikit::NSLayoutConstraint> thumbnailHeight_;
    std::shared_ptr<uikit::UILabel> headerTitle_;
    std::shared_ptr<uikit::UILabel> headerSubtitle_;
    std::weak_ptr<uikit::UIView> overlay_;
};

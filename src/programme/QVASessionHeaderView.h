// The picture header of the session detail screen and the session pages
// (extra info, recommendations, feedback): its nib "QVASessionHeaderView"
// lays out a background picture (the placeholder picture when no address is
// given), darkened by an overlay and a gradient towards the bottom, and three
// labels (name, day and time, location) over 200 points. A clear button lies
// over the location line (outlet "locationButton") for the screens that
// open the place. Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "lists/QVADetailHeaderView.h"

class QVACoreDataBaseSession;
namespace coredata {
class ManagedObjectContext;
}
namespace graphics {
class GradientLayer;
}
namespace uikit {
class UIButton;
class UILabel;
class UIView;
}  // namespace uikit

class QVASessionHeaderView : public QVADetailHeaderView {
public:
    using Text = std::optional<std::string>;

    static constexpr const char* kNibName = "QVASessionHeaderView";
    static constexpr int kHeaderHeight = 200;
    static constexpr const char* kPlaceholderImageName = "session_header_placeholder.jpg";
    static constexpr double kOverlayAlpha = 0.35;

    using QVADetailHeaderView::QVADetailHeaderView;

    static int getHeaderHeight() { return kHeaderHeight; }
    // The nib's name; naming it registers the nib.
    static std::string getNibName();

    // Image address (or none), title, day-and-time text, location text.
    void configureWithSessionImageUrl(const Text& imageUrl, const Text& sessionName, const Text& sessionDate,
                                      const Text& sessionLocation);

    // What every session page shows: no picture, the title, the day and
    // time, and the location as read in `context`; all empty without a
    // session.
    void configureWithSession(const std::shared_ptr<QVACoreDataBaseSession>& session,
                              const std::shared_ptr<coredata::ManagedObjectContext>& context);

    int getHeaderBackgroundImageHeight() override;
    std::string getNavigationBarTitle() override;
    void didScrollWithOffset(double offset) override { (void)offset; }
    // The overlay and the gradient, made on the first draw and only resized
    // on later ones, so redrawing never darkens the picture further.
    void drawRect(const graphics::Rect& rect) override;

    const std::shared_ptr<uikit::UILabel>& sessionNameLabel() const { return sessionNameLabel_; }
    const std::shared_ptr<uikit::UILabel>& sessionDateLabel() const { return sessionDateLabel_; }
    const std::shared_ptr<uikit::UILabel>& sessionLocationLabel() const { return sessionLocationLabel_; }
    const std::shared_ptr<uikit::UIButton>& locationButton() const { return locationButton_; }
    // Null before the first draw.
    const std::shared_ptr<uikit::UIView>& overlayView() const { return overlayView_; }
    const std::shared_ptr<graphics::GradientLayer>& gradientLayer() const { return gradientLayer_; }

    std::string className() const override { return "QVASessionHeaderView"; }

private:
    static std::vector<foundation::ObjectPtr> loadNib(const foundation::ObjectPtr& owner);

    std::shared_ptr<uikit::UILabel> sessionNameLabel_;
    std::shared_ptr<uikit::UILabel> sessionDateLabel_;
    std::shared_ptr<uikit::UILabel> sessionLocationLabel_;
    std::shared_ptr<uikit::UIButton> locationButton_;
    std::shared_ptr<uikit::UIView> overlayView_;
    std::shared_ptr<graphics::GradientLayer> gradientLayer_;
};

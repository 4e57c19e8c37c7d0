// The picture header of a list-shaped details screen: loaded from a nib,
// installed as the table's header view (or on top of a container), it
// scrolls away with the table. While it is in view the screen's navigation
// bar stays transparent; once it has gone under the bar, the bar shows the
// header's bottom strip and title. Subclasses name their nib, heights and
// title, and may move or stretch their pictures as the table scrolls.
// Main thread only.
#pragma once

#include <memory>
#include <string>

#include "graphics/Geometry.h"
#include "uikit/UIView.h"

namespace uikit {
class NSLayoutConstraint;
class UIImage;
class UIImageView;
class UITableView;
}  // namespace uikit

class QVADetailHeaderView : public uikit::UIView {
public:
    static constexpr const char* kMissingSubclassMemberException = "Please implement in subclass";
    // The height of the bar strip cut from the bottom of the header picture.
    static constexpr double kNavigationBarStripHeight = 64;

    explicit QVADetailHeaderView(const graphics::Rect& frame = {}) : uikit::UIView(frame) {}

    // Each subclass gives its own; the base raises.
    static int getHeaderHeight();
    static std::string getNibName();

    // Loads the nib (its first top-level object is the header), sizes it to
    // the table's width and `headerHeight`, installs it as the table's
    // header view and pins it to the table.
    static std::shared_ptr<QVADetailHeaderView> addHeaderToTableView(const std::shared_ptr<uikit::UITableView>& tableView,
                                                                     const std::string& nibName, int headerHeight);
    // The same, added as a subview of `container`.
    static std::shared_ptr<QVADetailHeaderView> addHeaderViewToContainer(const std::shared_ptr<uikit::UIView>& container,
                                                                         const std::string& nibName, int headerHeight);
    // Top, leading edge and width of the superview equal to the header's; the
    // header's own height constraint kept as headerBackgroundImageHeightConstraint.
    static void addConstraintsToHeaderView(const std::shared_ptr<QVADetailHeaderView>& header, int headerHeight);

    // The header's background picture (the nib's outlet), held weakly.
    std::shared_ptr<uikit::UIImageView> headerBackgroundImage() const { return headerBackgroundImage_.lock(); }
    void setHeaderBackgroundImage(const std::shared_ptr<uikit::UIImageView>& view) { headerBackgroundImage_ = view; }
    // Subclasses change its constant to stretch the header.
    const std::shared_ptr<uikit::NSLayoutConstraint>& headerBackgroundImageHeightConstraint() const {
        return headerBackgroundImageHeightConstraint_;
    }
    void setHeaderBackgroundImageHeightConstraint(std::shared_ptr<uikit::NSLayoutConstraint> constraint) {
        headerBackgroundImageHeightConstraint_ = std::move(constraint);
    }

    // Each subclass gives its own; the base raises.
    virtual int getHeaderBackgroundImageHeight();
    virtual std::string getNavigationBarTitle();
    // The bottom 64-point strip of the background picture, as rendered on
    // screen, for the navigation bar's background.
    std::shared_ptr<uikit::UIImage> getNavigationBarBackgroundImage();
    // The part of `image` inside `rect`, at scale 1.
    std::shared_ptr<uikit::UIImage> getSubImageFrom(const std::shared_ptr<uikit::UIImage>& image,
                                                    const graphics::Rect& rect);
    // The switch value of the screen's scrolling (negative while the header
    // is in view); nothing in the base.
    virtual void didScrollWithOffset(double offset) { (void)offset; }

    std::string className() const override { return "QVADetailHeaderView"; }

private:
    static std::shared_ptr<QVADetailHeaderView> loadHeader(const std::string& nibName, double width, int headerHeight);

    std::weak_ptr<uikit::UIImageView> headerBackgroundImage_;
    std::shared_ptr<uikit::NSLayoutConstraint> headerBackgroundImageHeightConstraint_;
};

using QVADetailHeaderViewPtr = std::shared_ptr<QVADetailHeaderView>;

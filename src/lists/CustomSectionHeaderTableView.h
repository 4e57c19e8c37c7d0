// The section header of the list tables: a light grey band (or a picture
// filling it) with a dark-blue title near its leading edge and, optionally, a
// small hint picture at its trailing edge. Built anew for each header request;
// it keeps the views its set operations make. The views sit where their
// constraints say; the constraints are kept for the record and the frames are
// computed from the same rules on layout.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "graphics/Color.h"
#include "uikit/UIView.h"

namespace uikit {
class UIImage;
class UIImageView;
class UILabel;
class NSLayoutConstraint;
}  // namespace uikit

class CustomSectionHeaderTableView : public uikit::UIView {
    struct Passkey {};

public:
    static constexpr double kTitleLeading = 7;
    static constexpr double kTitleFontSize = 14;
    static constexpr const char* kTitleFontName = "HelveticaNeue";

    // Grey 247 background.
    explicit CustomSectionHeaderTableView(const graphics::Rect& frame);
    CustomSectionHeaderTableView(Passkey, const graphics::Rect& frame);

    static std::shared_ptr<CustomSectionHeaderTableView> initWithFrame(const graphics::Rect& frame);
    // No background colour; the named picture fills the header behind the title.
    static std::shared_ptr<CustomSectionHeaderTableView> initWithFrame(const graphics::Rect& frame,
                                                                       const std::string& imageName);

    static bool requiresConstraintBasedLayout() { return true; }
    // The title colour of setTitle: red 2, green 83, blue 155.
    static graphics::Color defaultTitleColor();

    void setTitle(std::optional<std::string> title);
    void setTitle(std::optional<std::string> title, const graphics::Color& color);
    // Shows the named picture at the trailing edge at its own size.
    void setHintImage(const std::string& imageName);

    const std::shared_ptr<uikit::UILabel>& headerTitleLabel() const { return headerTitleLabel_; }
    const std::shared_ptr<uikit::UIImageView>& backgroundImageView() const { return backgroundImageView_; }
    const std::shared_ptr<uikit::UIImage>& hintImage() const { return hintImage_; }
    const std::shared_ptr<uikit::UIImageView>& hintImageView() const { return hintImageView_; }

    void updateConstraints() override;
    void layoutSubviews() override;

    std::string className() const override { return "CustomSectionHeaderTableView"; }

private:
    void placeSubviews();

    std::shared_ptr<uikit::UIImageView> backgroundImageView_;
    std::shared_ptr<uikit::UIImage> hintImage_;
    std::shared_ptr<uikit::UIImageView> hintImageView_;
    std::shared_ptr<uikit::UILabel> headerTitleLabel_;
    // Those updateConstraints added, replaced on the next run.
    std::vector<std::shared_ptr<uikit::NSLayoutConstraint>> ownConstraints_;
};

// The star of a participant row, showing whether the participant is followed.
// Where the current store does not grant "relationships:read" the star takes
// no room and is hidden; that is decided once, when the button is loaded from
// its interface file. The owner records the followed state here and reads it
// back when the star is tapped, and the star shows it: a filled star for a
// followed participant, an outline otherwise.
#pragma once

#include <memory>

#include "uikit/UIButton.h"

namespace uikit {
class NSLayoutConstraint;
}

class FavoriteButton : public uikit::UIButton {
public:
    static constexpr const char* kNormalImageName = "favStarNormal.png";
    static constexpr const char* kActiveImageName = "favStarActive.png";

    explicit FavoriteButton(const graphics::Rect& frame = {});

    bool isFavorite() const { return isFavorite_; }
    void setIsFavorite(bool favorite);
    void setFavoriteState(bool favorite) { setIsFavorite(favorite); }

    // The button's own size constraints.
    const std::shared_ptr<uikit::NSLayoutConstraint>& widthConstraint() const { return widthConstraint_; }
    void setWidthConstraint(std::shared_ptr<uikit::NSLayoutConstraint> c) { widthConstraint_ = std::move(c); }
    const std::shared_ptr<uikit::NSLayoutConstraint>& heightConstraint() const { return heightConstraint_; }
    void setHeightConstraint(std::shared_ptr<uikit::NSLayoutConstraint> c) { heightConstraint_ = std::move(c); }

    void awakeFromNib() override;

    std::string className() const override { return "FavoriteButton"; }

private:
    bool isFavorite_ = false;
    std::shared_ptr<uikit::NSLayoutConstraint> widthConstraint_;
    std::shared_ptr<uikit::NSLayoutConstraint> heightConstraint_;
};

// The home screen's session row. The home screen fills the outlets and
// collapses the optional parts through the named constraints; the cell adds
// no behaviour of its own. Its prototype (makePrototype) lays the parts out
// for a 320-point row and names them for the screen dump.
#pragma once

#include <memory>
#include <string>

#include "uikit/UITableViewCell.h"

namespace uikit {
class NSLayoutConstraint;
class UIImageView;
class UILabel;
}  // namespace uikit

class SpotlightSessionTableViewCell : public uikit::UITableViewCell {
public:
    static constexpr const char* kReuseIdentifier = "spotlightSessionCellID";

    using uikit::UITableViewCell::UITableViewCell;

    // A new cell as the home screen's prototype lays it out.
    static std::shared_ptr<uikit::UIView> makePrototype();

#define QVA_WEAK_OUTLET(Type, name, setter)                                 \
    std::shared_ptr<Type> name() const { return name##_.lock(); }           \
    void setter(const std::shared_ptr<Type>& value) { name##_ = value; }
    QVA_WEAK_OUTLET(uikit::UILabel, dateLabel, setDateLabel)
    QVA_WEAK_OUTLET(uikit::UILabel, displayTimeLabel, setDisplayTimeLabel)
    QVA_WEAK_OUTLET(uikit::UILabel, titleLabel, setTitleLabel)
    QVA_WEAK_OUTLET(uikit::UILabel, locationLabel, setLocationLabel)
    QVA_WEAK_OUTLET(uikit::UILabel, liveStatusHintLabel, setLiveStatusHintLabel)
    QVA_WEAK_OUTLET(uikit::UILabel, liveStatusMessageLabel, setLiveStatusMessageLabel)
    QVA_WEAK_OUTLET(uikit::UIImageView, noteImageView, setNoteImageView)
    QVA_WEAK_OUTLET(uikit::UIImageView, typeImageView, setTypeImageView)
    QVA_WEAK_OUTLET(uikit::UIImageView, sessionNearMeImageView, setSessionNearMeImageView)
    QVA_WEAK_OUTLET(uikit::NSLayoutConstraint, liveStatusHintLabelHeightConstraint,
                    setLiveStatusHintLabelHeightConstraint)
    QVA_WEAK_OUTLET(uikit::NSLayoutConstraint, liveStatusMessageLabelHeightConstraint,
                    setLiveStatusMessageLabelHeightConstraint)
    QVA_WEAK_OUTLET(uikit::NSLayoutConstraint, typeImageViewWidthContraint, setTypeImageViewWidthContraint)
    QVA_WEAK_OUTLET(uikit::NSLayoutConstraint, noteImageViewWidthConstraint, setNoteImageViewWidthConstraint)
    QVA_WEAK_OUTLET(uikit::NSLayoutConstraint, pinImageWidthConstraint, setPinImageWidthConstraint)
    QVA_WEAK_OUTLET(uikit::NSLayoutConstraint, typeImageTonoteImageHSConstraint, setTypeImageTonoteImageHSConstraint)
    QVA_WEAK_OUTLET(uikit::NSLayoutConstraint, typeImageToPinImageHSConstraint, setTypeImageToPinImageHSConstraint)
    QVA_WEAK_OUTLET(uikit::NSLayoutConstraint, pinImageToContentHSConstraint, setPinImageToContentHSConstraint)
#undef QVA_WEAK_OUTLET

    std::string className() const override { return "SpotlightSessionTableViewCell"; }
    // Four text lines fill a 70 pt row; the live status goes below them when
    // the row is high enough (the phone's occupancy rows), else beside the
    // location (the pad's rows stay 70 pt).
    void layoutSubviews() override;

private:
    std::weak_ptr<uikit::UILabel> dateLabel_, displayTimeLabel_, titleLabel_, locationLabel_, liveStatusHintLabel_,
        liveStatusMessageLabel_;
    std::weak_ptr<uikit::UIImageView> noteImageView_, typeImageView_, sessionNearMeImageView_;
    std::weak_ptr<uikit::NSLayoutConstraint> liveStatusHintLabelHeightConstraint_,
        liveStatusMessageLabelHeightConstraint_, typeImageViewWidthContraint_, noteImageViewWidthConstraint_,
        pinImageWidthConstraint_, typeImageTonoteImageHSConstraint_, typeImageToPinImageHSConstraint_,
        pinImageToContentHSConstraint_;
};

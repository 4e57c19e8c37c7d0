// A label that wraps at its own width: whenever its bounds take a new width
// (set directly or through the frame), the preferred maximum layout width
// follows and its constraints are marked for update, so a multi-line label
// measures its height at the width it actually has.
#pragma once

#include "uikit/UILabel.h"

class RWLabel : public uikit::UILabel {
public:
    explicit RWLabel(const graphics::Rect& frame = {});

    void setBounds(const graphics::Rect& bounds) override;
    // Here frames are set in code rather than by a layout pass that sets the
    // bounds, so a frame's width follows the same rule.
    void setFrame(const graphics::Rect& frame) override;

    std::string className() const override { return "RWLabel"; }

private:
    void followWidth();
};

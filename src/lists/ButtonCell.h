// A row holding one action button; the screen gives it its title and action.
#pragma once

#include <memory>

#include "uikit/UITableViewCell.h"

namespace uikit {
class UIButton;
}

class ButtonCell : public uikit::UITableViewCell {
public:
    using uikit::UITableViewCell::UITableViewCell;

    std::shared_ptr<uikit::UIButton> buttonProposeChange() const { return buttonProposeChange_.lock(); }
    void setButtonProposeChange(const std::shared_ptr<uikit::UIButton>& button) { buttonProposeChange_ = button; }

    std::string className() const override { return "ButtonCell"; }

private:
    std::weak_ptr<uikit::UIButton> buttonProposeChange_;
};

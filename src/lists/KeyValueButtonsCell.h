// The key-value table's row of a key and stacked link-style buttons.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "uikit/UITableViewCell.h"

namespace uikit {
class UILabel;
class NSLayoutConstraint;
}  // namespace uikit

class KeyValueButtonsCell : public uikit::UITableViewCell {
public:
    using uikit::UITableViewCell::UITableViewCell;

    const std::shared_ptr<uikit::UILabel>& keyLabel() const { return keyLabel_; }
    void setKeyLabel(std::shared_ptr<uikit::UILabel> label) { keyLabel_ = std::move(label); }
    const std::shared_ptr<uikit::UIView>& buttonsContainer() const { return buttonsContainer_; }
    void setButtonsContainer(std::shared_ptr<uikit::UIView> view) { buttonsContainer_ = std::move(view); }
    const std::shared_ptr<uikit::NSLayoutConstraint>& buttonsContainerHeightConstraint() const {
        return buttonsContainerHeightConstraint_;
    }
    void setButtonsContainerHeightConstraint(std::shared_ptr<uikit::NSLayoutConstraint> constraint) {
        buttonsContainerHeightConstraint_ = std::move(constraint);
    }

    std::string className() const override { return "KeyValueButtonsCell"; }

private:
    std::shared_ptr<uikit::UILabel> keyLabel_;
    std::shared_ptr<uikit::UIView> buttonsContainer_;
    std::shared_ptr<uikit::NSLayoutConstraint> buttonsContainerHeightConstraint_;
};

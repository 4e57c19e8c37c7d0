// A button: a control with a title, an image and a background image per
// state. What a state has not been given falls back to the normal state's, as
// on the platform. The title shows in a label and the image in an image view,
// both real subviews, laid out side by side (image first) by the content
// alignment. A system button draws its title in the tint colour unless a
// title colour is set.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "uikit/UIControl.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"

namespace uikit {

enum class UIButtonType { Custom = 0, System = 1, DetailDisclosure = 2, InfoLight = 3, InfoDark = 4, ContactAdd = 5 };

class UIButton;
using UIButtonPtr = std::shared_ptr<UIButton>;

class UIButton : public UIControl {
public:
    static UIButtonPtr buttonWithType(UIButtonType type);
    // A custom button.
    explicit UIButton(const graphics::Rect& frame = {}) : UIButton(UIButtonType::Custom, frame) {}
    UIButton(UIButtonType type, const graphics::Rect& frame);

    UIButtonType buttonType() const { return type_; }

    void setTitle(std::optional<std::string> title, UIControlState state);
    std::optional<std::string> titleForState(UIControlState state) const;
    void setTitleColor(std::optional<graphics::Color> color, UIControlState state);
    std::optional<graphics::Color> titleColorForState(UIControlState state) const;
    void setImage(UIImagePtr image, UIControlState state);
    UIImagePtr imageForState(UIControlState state) const;
    void setBackgroundImage(UIImagePtr image, UIControlState state);
    UIImagePtr backgroundImageForState(UIControlState state) const;

    // For the present state.
    std::optional<std::string> currentTitle() const { return titleForState(state()); }
    graphics::Color currentTitleColor() const;
    UIImagePtr currentImage() const { return imageForState(state()); }
    UIImagePtr currentBackgroundImage() const { return backgroundImageForState(state()); }

    // Made with the button; the font is the system font of 15 points.
    const UILabelPtr& titleLabel() const { return titleLabel_; }
    const UIImageViewPtr& imageView() const { return imageView_; }

    const UIEdgeInsets& contentEdgeInsets() const { return contentEdgeInsets_; }
    void setContentEdgeInsets(const UIEdgeInsets& insets);

    graphics::Size sizeThatFits(graphics::Size size) const override;
    void layoutSubviews() override;
    void drawRect(const graphics::Rect& rect) override;
    void tintColorDidChange() override { refresh(); }

    std::string className() const override { return "UIButton"; }

protected:
    void stateDidChange() override { refresh(); }

private:
    template <class T>
    static std::optional<T> lookUp(const std::map<UIControlState, T>& table, UIControlState state);
    // Brings the title label and image view up to the present state.
    void refresh();
    void attachParts();
    graphics::Size contentSize() const;

    UIButtonType type_;
    std::map<UIControlState, std::string> titles_;
    std::map<UIControlState, graphics::Color> titleColors_;
    std::map<UIControlState, UIImagePtr> images_;
    std::map<UIControlState, UIImagePtr> backgroundImages_;
    UILabelPtr titleLabel_;
    UIImageViewPtr imageView_;
    UIEdgeInsets contentEdgeInsets_;
};

}  // namespace uikit

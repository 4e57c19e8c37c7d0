// A layout constraint as data: first and second item, their attributes, the
// relation, multiplier and constant. Nothing solves them; frames come from
// code. Screens keep constraints to change their constant (a keyboard
// height, a collapsed row), and visual-format constraints keep their format.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Object.h"

namespace uikit {

class UIView;

enum class NSLayoutAttribute {
    NotAnAttribute = 0,
    Left = 1,
    Right,
    Top,
    Bottom,
    Leading,
    Trailing,
    Width,
    Height,
    CenterX,
    CenterY,
    Baseline,
};

enum class NSLayoutRelation { LessThanOrEqual = -1, Equal = 0, GreaterThanOrEqual = 1 };

class NSLayoutConstraint : public foundation::Object {
public:
    static std::shared_ptr<NSLayoutConstraint> constraintWithItem(
        const std::shared_ptr<UIView>& view1, NSLayoutAttribute attribute1, NSLayoutRelation relation,
        const std::shared_ptr<UIView>& view2, NSLayoutAttribute attribute2, double multiplier, double constant);
    // One constraint per view named in the format, each keeping the format
    // text; the views are looked up by their names in `views`. An empty list
    // for an empty format.
    static std::vector<std::shared_ptr<NSLayoutConstraint>> constraintsWithVisualFormat(
        const std::string& format, const std::map<std::string, std::shared_ptr<UIView>>& views);

    std::shared_ptr<UIView> firstItem() const { return firstItem_.lock(); }
    NSLayoutAttribute firstAttribute() const { return firstAttribute_; }
    NSLayoutRelation relation() const { return relation_; }
    std::shared_ptr<UIView> secondItem() const { return secondItem_.lock(); }
    NSLayoutAttribute secondAttribute() const { return secondAttribute_; }
    double multiplier() const { return multiplier_; }
    double constant() const { return constant_; }
    // Asks the first item's superview (else the item) to update its constraints.
    void setConstant(double constant);
    double priority() const { return priority_; }
    void setPriority(double priority) { priority_ = priority; }
    const std::optional<std::string>& visualFormat() const { return visualFormat_; }
    // True while a view holds it.
    bool isActive() const { return active_; }
    void setActive(bool active) { active_ = active; }

    std::string className() const override { return "NSLayoutConstraint"; }

private:
    std::weak_ptr<UIView> firstItem_;
    NSLayoutAttribute firstAttribute_ = NSLayoutAttribute::NotAnAttribute;
    NSLayoutRelation relation_ = NSLayoutRelation::Equal;
    std::weak_ptr<UIView> secondItem_;
    NSLayoutAttribute secondAttribute_ = NSLayoutAttribute::NotAnAttribute;
    double multiplier_ = 1;
    double constant_ = 0;
    double priority_ = 1000;
    std::optional<std::string> visualFormat_;
    bool active_ = false;
};

using NSLayoutConstraintPtr = std::shared_ptr<NSLayoutConstraint>;

}  // namespace uikit

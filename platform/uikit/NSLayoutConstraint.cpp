// Constraint records and the view names of a visual format.
#include "uikit/NSLayoutConstraint.h"

#include "uikit/UIView.h"

namespace uikit {

NSLayoutConstraintPtr NSLayoutConstraint::constraintWithItem(const std::shared_ptr<UIView>& view1,
                                                             NSLayoutAttribute attribute1, NSLayoutRelation relation,
                                                             const std::shared_ptr<UIView>& view2,
                                                             NSLayoutAttribute attribute2, double multiplier,
                                                             double constant) {
    auto c = std::make_shared<NSLayoutConstraint>();
    c->firstItem_ = view1;
    c->firstAttribute_ = attribute1;
    c->relation_ = relation;
    c->secondItem_ = view2;
    c->secondAttribute_ = attribute2;
    c->multiplier_ = multiplier;
    c->constant_ = constant;
    return c;
}

std::vector<NSLayoutConstraintPtr> NSLayoutConstraint::constraintsWithVisualFormat(
    const std::string& format, const std::map<std::string, std::shared_ptr<UIView>>& views) {
    std::vector<NSLayoutConstraintPtr> result;
    const bool vertical = format.rfind("V:", 0) == 0;
    size_t pos = 0;
    while ((pos = format.find('[', pos)) != std::string::npos) {
        size_t end = format.find(']', pos);
        if (end == std::string::npos) break;
        std::string name = format.substr(pos + 1, end - pos - 1);
        // "[view(==40)]": the name ends where a predicate starts.
        name = name.substr(0, name.find('('));
        pos = end + 1;
        auto it = views.find(name);
        auto c = std::make_shared<NSLayoutConstraint>();
        if (it != views.end()) c->firstItem_ = it->second;
        c->firstAttribute_ = vertical ? NSLayoutAttribute::Top : NSLayoutAttribute::Leading;
        c->visualFormat_ = format;
        result.push_back(std::move(c));
    }
    return result;
}

void NSLayoutConstraint::setConstant(double constant) {
    constant_ = constant;
    if (auto item = firstItem()) {
        auto owner = item->superview() ? item->superview() : item;
        owner->setNeedsUpdateConstraints();
    }
}

}  // namespace uikit

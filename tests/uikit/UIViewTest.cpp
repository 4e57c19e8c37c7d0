// The view tree: geometry mirrored on the layer, autoresizing, conversion
// through the window, hit-testing, subview order with the sublayers, window
// membership and its callbacks, tint inheritance and ending editing.
#include <gtest/gtest.h>

#include "foundation/Exception.h"

#include "uikit/UIApplication.h"
#include "uikit/UIColor.h"
#include "uikit/UIView.h"
#include "uikit/UIWindow.h"

namespace {

using graphics::Point;
using graphics::Rect;
using uikit::UIView;
using uikit::UIViewPtr;

UIViewPtr view(const Rect& frame) { return std::make_shared<UIView>(frame); }

struct MoveRecorder : UIView {
    using UIView::UIView;
    std::vector<std::string> events;
    void willMoveToWindow(uikit::UIWindow* w) override { events.push_back(w ? "will-enter" : "will-leave"); }
    void didMoveToWindow() override { events.push_back(window() ? "did-enter" : "did-leave"); }
};

struct Field : UIView {
    using UIView::UIView;
    bool refuses = false;
    bool canBecomeFirstResponder() const override { return true; }
    bool canResignFirstResponder() const override { return !refuses; }
};

TEST(UIView, FrameBoundsCenterAndTransformStayInStepWithTheLayer) {
    auto v = view({10, 20, 100, 50});
    EXPECT_EQ(v->center(), (Point{60, 45}));
    EXPECT_EQ(v->bounds(), Rect(0, 0, 100, 50));
    EXPECT_EQ(v->layer()->frame(), Rect(10, 20, 100, 50));

    v->setTransform(graphics::AffineTransform::makeScale(2, 2));
    EXPECT_EQ(v->frame(), Rect(-40, -5, 200, 100));  // scaled about the centre
    EXPECT_EQ(v->layer()->frame(), v->frame());
    v->setTransform(graphics::AffineTransform::makeTranslation(5, 0));
    EXPECT_EQ(v->frame(), Rect(15, 20, 100, 50));
    v->setTransform({});

    v->setAlpha(0.5);
    v->setHidden(true);
    v->setClipsToBounds(true);
    EXPECT_EQ(v->layer()->opacity(), 0.5);
    EXPECT_TRUE(v->layer()->isHidden());
    EXPECT_TRUE(v->layer()->masksToBounds());

    // Changes made on the layer show in the view.
    v->layer()->setTransform(graphics::Transform3D::makeScale(0.1, 0.1, 1));
    EXPECT_EQ(v->transform(), graphics::AffineTransform::makeScale(0.1, 0.1));
    EXPECT_EQ(v->frame(), Rect(55, 42.5, 10, 5));
    v->layer()->setOpacity(1);
    EXPECT_EQ(v->alpha(), 1);
    v->setCenter({0, 0});
    EXPECT_EQ(v->transform(), graphics::AffineTransform::makeScale(0.1, 0.1));  // kept by a move
}

TEST(UIView, AutoresizingFollowsTheSuperviewsSize) {
    auto parent = view({0, 0, 300, 200});
    auto flexibleWidth = view({10, 10, 100, 20});
    flexibleWidth->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
    auto pinnedRight = view({250, 10, 40, 20});
    pinnedRight->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleLeftMargin |
                                     uikit::UIViewAutoresizingFlexibleBottomMargin);
    auto fixed = view({0, 0, 50, 50});
    parent->addSubview(flexibleWidth);
    parent->addSubview(pinnedRight);
    parent->addSubview(fixed);

    parent->setFrame({0, 0, 400, 260});
    EXPECT_EQ(flexibleWidth->frame(), Rect(10, 10, 200, 20));
    EXPECT_EQ(pinnedRight->frame(), Rect(350, 10, 40, 20));
    EXPECT_EQ(fixed->frame(), Rect(0, 0, 50, 50));
    EXPECT_TRUE(parent->needsLayout());

    parent->setAutoresizesSubviews(false);
    parent->setFrame({0, 0, 500, 260});
    EXPECT_EQ(flexibleWidth->frame(), Rect(10, 10, 200, 20));
}

TEST(UIView, ConvertsPointsThroughTheWindowAndTheBoundsOrigin) {
    auto window = std::make_shared<uikit::UIWindow>(Rect(0, 0, 320, 480));
    auto root = view({0, 0, 320, 480});
    auto sub = view({20, 30, 100, 100});
    window->addSubview(root);
    root->addSubview(sub);
    EXPECT_EQ(sub->convertPointToView({10, 10}, nullptr), (Point{30, 40}));
    EXPECT_EQ(sub->convertPointToView({10, 10}, window.get()), (Point{30, 40}));
    EXPECT_EQ(root->convertPointFromView({10, 10}, sub.get()), (Point{30, 40}));
    EXPECT_EQ(sub->convertPointFromView({30, 40}, nullptr), (Point{10, 10}));
    EXPECT_EQ(sub->convertRectToView({0, 0, 10, 10}, root.get()), Rect(20, 30, 10, 10));

    // A scrolled superview (bounds origin moved) shifts what it holds.
    root->setBounds({0, 100, 320, 480});
    EXPECT_EQ(sub->convertPointToView({10, 10}, nullptr), (Point{30, -60}));
    EXPECT_EQ(root->bounds().size, (graphics::Size{320, 480}));
}

TEST(UIView, HitTestingSkipsHiddenTransparentAndInertViews) {
    auto root = view({0, 0, 200, 200});
    auto beneath = view({0, 0, 100, 100});
    auto above = view({0, 0, 100, 100});
    auto child = view({10, 10, 20, 20});
    root->addSubview(beneath);
    root->addSubview(above);
    above->addSubview(child);

    EXPECT_EQ(root->hitTest({15, 15}), child);
    EXPECT_EQ(root->hitTest({50, 50}), above);
    above->setHidden(true);
    EXPECT_EQ(root->hitTest({15, 15}), beneath);
    above->setHidden(false);
    above->setAlpha(0.005);
    EXPECT_EQ(root->hitTest({15, 15}), beneath);
    above->setAlpha(1);
    above->setUserInteractionEnabled(false);
    EXPECT_EQ(root->hitTest({15, 15}), beneath);
    EXPECT_EQ(root->hitTest({150, 150}), root);
    EXPECT_EQ(root->hitTest({250, 10}), nullptr);
}

TEST(UIView, SubviewOrderAndSublayersMoveTogether) {
    auto parent = view({0, 0, 100, 100});
    auto own = graphics::Layer::layer();  // a layer the view keeps of its own, behind its subviews
    parent->layer()->addSublayer(own);
    auto a = view({}), b = view({}), c = view({});
    parent->addSubview(a);
    parent->addSubview(c);
    parent->insertSubviewBelowSubview(b, c);
    EXPECT_EQ(parent->subviews(), (std::vector<UIViewPtr>{a, b, c}));
    auto layers = [&] { return parent->layer()->sublayers(); };
    EXPECT_EQ(layers(), (std::vector<graphics::LayerPtr>{own, a->layer(), b->layer(), c->layer()}));

    parent->bringSubviewToFront(a);
    EXPECT_EQ(parent->subviews(), (std::vector<UIViewPtr>{b, c, a}));
    EXPECT_EQ(layers(), (std::vector<graphics::LayerPtr>{own, b->layer(), c->layer(), a->layer()}));
    parent->sendSubviewToBack(c);
    parent->insertSubviewAboveSubview(b, a);
    EXPECT_EQ(parent->subviews(), (std::vector<UIViewPtr>{c, a, b}));
    EXPECT_EQ(layers(), (std::vector<graphics::LayerPtr>{own, c->layer(), a->layer(), b->layer()}));

    auto other = view({});
    other->addSubview(a);  // moving elsewhere takes it out here
    EXPECT_EQ(parent->subviews(), (std::vector<UIViewPtr>{c, b}));
    EXPECT_EQ(a->superview(), other);
    b->removeFromSuperview();
    EXPECT_EQ(b->superview(), nullptr);
    EXPECT_EQ(b->layer()->superlayer(), nullptr);
    EXPECT_THROW(a->addSubview(other), foundation::Exception);
}

TEST(UIView, LearnsItsWindowWhenItsTreeEntersOrLeavesOne) {
    auto window = std::make_shared<uikit::UIWindow>(Rect(0, 0, 320, 480));
    auto container = view({});
    auto leaf = std::make_shared<MoveRecorder>(Rect());
    container->addSubview(leaf);
    EXPECT_EQ(leaf->window(), nullptr);
    EXPECT_TRUE(leaf->events.empty());

    window->addSubview(container);
    EXPECT_EQ(leaf->window(), window);
    EXPECT_EQ(window->window(), window);
    container->removeFromSuperview();
    EXPECT_EQ(leaf->window(), nullptr);
    EXPECT_EQ(leaf->events, (std::vector<std::string>{"will-enter", "did-enter", "will-leave", "did-leave"}));
}

TEST(UIView, TintIsInheritedUntilSet) {
    auto parent = view({});
    auto child = view({});
    parent->addSubview(child);
    const auto red = uikit::UIColor::colorWithRed(1, 0, 0, 1);
    EXPECT_EQ(child->tintColor(), parent->tintColor());
    parent->setTintColor(red);
    EXPECT_EQ(child->tintColor(), red);
    child->setTintColor(uikit::UIColor::whiteColor());
    EXPECT_EQ(child->tintColor(), uikit::UIColor::whiteColor());
    child->setTintColor(std::nullopt);
    EXPECT_EQ(child->tintColor(), red);
}

TEST(UIView, EndEditingResignsTheFirstResponderBelow) {
    auto form = view({});
    auto field = std::make_shared<Field>(Rect());
    auto elsewhere = std::make_shared<Field>(Rect());
    form->addSubview(field);

    EXPECT_FALSE(form->becomeFirstResponder());  // a plain view cannot
    ASSERT_TRUE(field->becomeFirstResponder());
    EXPECT_TRUE(elsewhere->endEditing(false));  // not below it: nothing happens
    EXPECT_TRUE(field->isFirstResponder());

    field->refuses = true;
    EXPECT_FALSE(form->endEditing(false));
    EXPECT_TRUE(field->isFirstResponder());
    EXPECT_TRUE(form->endEditing(true));
    EXPECT_FALSE(field->isFirstResponder());
    EXPECT_EQ(uikit::UIResponder::currentFirstResponder(), nullptr);

    field->refuses = false;
    ASSERT_TRUE(field->becomeFirstResponder());
    ASSERT_TRUE(elsewhere->becomeFirstResponder());  // takes the role over
    EXPECT_FALSE(field->isFirstResponder());
    elsewhere->resignFirstResponder();

    // A responder taken off the screen lets go, even one that refuses.
    auto window = std::make_shared<uikit::UIWindow>(Rect(0, 0, 320, 480));
    window->addSubview(form);
    ASSERT_TRUE(field->becomeFirstResponder());
    field->refuses = true;
    form->removeFromSuperview();
    EXPECT_FALSE(field->isFirstResponder());
}

}  // namespace

#include "uikit/NSLayoutConstraint.h"

namespace {

TEST(NSLayoutConstraint, HeldByViewsWithASettableConstant) {
    auto parent = std::make_shared<UIView>(Rect(0, 0, 100, 100));
    auto child = std::make_shared<UIView>(Rect(0, 0, 10, 10));
    parent->addSubview(child);
    auto height = uikit::NSLayoutConstraint::constraintWithItem(child, uikit::NSLayoutAttribute::Height,
                                                                uikit::NSLayoutRelation::Equal, nullptr,
                                                                uikit::NSLayoutAttribute::NotAnAttribute, 1, 40);
    parent->addConstraint(height);
    EXPECT_TRUE(height->isActive());
    parent->updateConstraintsIfNeeded();
    EXPECT_FALSE(parent->needsUpdateConstraints());
    height->setConstant(216);
    EXPECT_EQ(height->constant(), 216);
    EXPECT_TRUE(parent->needsUpdateConstraints());
    EXPECT_EQ(child->frame(), Rect(0, 0, 10, 10));  // nothing is solved

    auto row = uikit::NSLayoutConstraint::constraintsWithVisualFormat("H:|-8-[label(==40)]-[badge]|",
                                                                      {{"label", child}, {"badge", parent}});
    ASSERT_EQ(row.size(), 2u);
    EXPECT_EQ(row[0]->firstItem(), child);
    EXPECT_EQ(row[1]->firstItem(), parent);
    EXPECT_EQ(row[0]->visualFormat(), "H:|-8-[label(==40)]-[badge]|");
    parent->addConstraints(row);
    parent->removeConstraint(height);
    EXPECT_EQ(parent->constraints(), row);
    EXPECT_FALSE(height->isActive());
}

TEST(UIColor, NamedColoursComponentsAndAlpha) {
    using uikit::UIColor;
    double r = -1, g = -1, b = -1, a = -1, w = -1;
    ASSERT_TRUE(UIColor::colorWithRed(64 / 255.0, 158 / 255.0, 210 / 255.0, 1).getRed(&r, &g, &b, &a));
    EXPECT_DOUBLE_EQ(g, 158 / 255.0);
    EXPECT_FALSE(UIColor::colorWithRed(1, 0, 0, 1).getWhite(&w, &a));
    ASSERT_TRUE(UIColor::darkGrayColor().getWhite(&w, &a));
    EXPECT_DOUBLE_EQ(w, 1.0 / 3);
    ASSERT_TRUE(UIColor::lightGrayColor().getRed(&r, &g, &b, &a));  // a grey reads as equal RGB
    EXPECT_DOUBLE_EQ(r, 2.0 / 3);
    EXPECT_DOUBLE_EQ(b, 2.0 / 3);
    EXPECT_EQ(UIColor::clearColor().alpha(), 0);
    auto faded = UIColor::blackColor().colorWithAlphaComponent(0.4);
    EXPECT_EQ(faded.alpha(), 0.4);
    EXPECT_EQ(faded.withAlpha(1), UIColor::blackColor());
    EXPECT_FALSE(UIColor(graphics::Color::cmyk(0, 0, 0, 1)).getRed(&r, &g, &b, &a));
}

}  // namespace

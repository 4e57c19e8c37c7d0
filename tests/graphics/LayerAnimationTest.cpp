// Animation records on layers, transactions, and the shadow and clip the
// renderer draws.
#include <gtest/gtest.h>

#include "graphics/CairoContext.h"
#include "graphics/Layer.h"
#include "graphics/MutablePath.h"
#include "graphics/RecordingContext.h"
#include "graphics/Transaction.h"

using namespace graphics;

namespace {

const Pixel kBlue{0, 0, 255, 255};
const Pixel kOpaqueRed{255, 0, 0, 255};
const Pixel kNone{0, 0, 0, 0};

LayerPtr filled(const Rect& frame, const Color& color) {
    auto layer = Layer::layer();
    layer->setFrame(frame);
    layer->setBackgroundColor(color);
    return layer;
}

}  // namespace

TEST(LayerAnimation, RecordsAreCopiedKeptByKeyAndRemoved) {
    auto layer = Layer::layer();
    auto path = std::make_shared<MutablePath>();
    path->addRect(Rect(0, 0, 5, 5));
    auto stroke = LayerAnimation::animationWithKeyPath("strokeEnd");
    stroke->setFromValue(0.0);
    stroke->setToValue(1.0);
    stroke->setDuration(2);
    stroke->setFillMode(LayerAnimation::FillMode::Forwards);
    stroke->setRemovedOnCompletion(false);
    layer->addAnimation(stroke, "draw");
    LayerAnimation morph("path");
    morph.setToValue(PathPtr(path));
    layer->addAnimation(morph, "morph");
    stroke->setDuration(9);  // the layer keeps its own copy

    EXPECT_EQ(layer->animationKeys(), (std::vector<std::string>{"draw", "morph"}));
    auto kept = layer->animationForKey("draw");
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->duration(), 2);
    EXPECT_EQ(std::get<double>(kept->toValue()), 1.0);
    EXPECT_EQ(kept->fillMode(), LayerAnimation::FillMode::Forwards);
    EXPECT_FALSE(kept->isRemovedOnCompletion());
    EXPECT_EQ(std::get<PathPtr>(layer->animationForKey("morph")->toValue()), path);

    // The same key replaces in place.
    LayerAnimation turn("transform");
    turn.setToValue(Transform3D::makeAffineTransform(AffineTransform::makeScale(2, 2)));
    layer->addAnimation(turn, "draw");
    EXPECT_EQ(layer->animationKeys(), (std::vector<std::string>{"draw", "morph"}));
    EXPECT_EQ(layer->animationForKey("draw")->keyPath(), "transform");

    layer->removeAnimationForKey("draw");
    EXPECT_EQ(layer->animationForKey("draw"), nullptr);
    layer->removeAllAnimations();
    EXPECT_TRUE(layer->animationKeys().empty());
}

TEST(LayerAnimation, TransactionsRecordTheirFlagAndNest) {
    Transaction::clearCommitted();
    Transaction::setDisableActions(true);  // outside a transaction: nothing
    EXPECT_FALSE(Transaction::disableActions());
    Transaction::begin();
    Transaction::setDisableActions(true);
    Transaction::begin();
    EXPECT_TRUE(Transaction::disableActions());  // inherited
    Transaction::commit();
    Transaction::commit();
    Transaction::commit();  // none open: ignored
    EXPECT_EQ(Transaction::committed(), (std::vector<Transaction::Record>{{true}, {true}}));
    EXPECT_FALSE(Transaction::disableActions());
}

TEST(LayerRendering, MasksToBoundsClipsTheSublayers) {
    auto root = filled(Rect(0, 0, 20, 20), Color::rgb(0, 0, 1));
    auto child = filled(Rect(10, 10, 20, 20), Color::rgb(1, 0, 0));
    auto parent = filled(Rect(0, 0, 15, 15), Color::rgb(0, 0, 1));
    parent->addSublayer(child);
    root->setBackgroundColor(std::nullopt);
    root->addSublayer(parent);

    CairoContext open(20, 20);
    open.renderLayer(*root);
    EXPECT_EQ(open.bitmap().pixel(17, 17), kOpaqueRed);

    parent->setMasksToBounds(true);
    CairoContext clipped(20, 20);
    clipped.renderLayer(*root);
    EXPECT_EQ(clipped.bitmap().pixel(12, 12), kOpaqueRed);
    EXPECT_EQ(clipped.bitmap().pixel(17, 17), kNone);
    EXPECT_EQ(clipped.bitmap().pixel(5, 5), kBlue);
}

TEST(LayerRendering, ShadowIsDrawnOffsetUnderTheLayer) {
    auto root = Layer::layer();
    root->setFrame(Rect(0, 0, 30, 30));
    auto card = filled(Rect(5, 5, 10, 10), Color::rgb(0, 0, 1));
    root->addSublayer(card);
    EXPECT_EQ(card->shadowOpacity(), 0);  // no shadow by default
    card->setShadowColor(Color::rgb(1, 0, 0));
    card->setShadowOffset({10, 10});
    card->setShadowRadius(0);
    card->setShadowOpacity(1);

    CairoContext cairo(30, 30);
    cairo.renderLayer(*root);
    EXPECT_EQ(cairo.bitmap().pixel(22, 22), kOpaqueRed);  // the shadow
    EXPECT_EQ(cairo.bitmap().pixel(8, 8), kBlue);   // the layer over it
    EXPECT_EQ(cairo.bitmap().pixel(27, 27), kNone);

    // A shadow path gives the shape; the radius adds a soft rim.
    auto path = std::make_shared<MutablePath>();
    path->addRect(Rect(0, 0, 2, 2));
    card->setShadowPath(path);
    card->setShadowRadius(2);
    RecordingContext recording;
    recording.renderLayer(*card);
    auto fills = recording.operationsOfKind(RecordedOperation::Kind::FillPath);
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_EQ(fills[0].path, *path);
    EXPECT_EQ(fills[0].color, Color::rgb(1, 0, 0));
    EXPECT_EQ(recording.operationsOfKind(RecordedOperation::Kind::StrokePath).size(), 1u);
}

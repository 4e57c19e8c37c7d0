// The floor-plan views: the fast view's tiling, border and redraw rules and
// warnings, and the layered view with its hosting layer and placeholder.
#include <gtest/gtest.h>

#include "foundation/Log.h"
#include "graphics/RecordingContext.h"
#include "svg/sources/SVGXSourceString.h"
#include "svg/views/SVGXFastImageView.h"
#include "svg/views/SVGXLayeredImageView.h"

namespace svg {
namespace {

using Kind = graphics::RecordedOperation::Kind;

std::shared_ptr<SVGXImage> viewImage(const std::string& body) {
    return SVGXImage::imageWithSource(SVGXSourceString::sourceFromContentsOfString(
        R"(<svg xmlns="http://www.w3.org/2000/svg" width="40" height="20">)" + body + "</svg>"));
}

const std::string kRedRect = R"(<rect x="0" y="0" width="40" height="20" fill="#ff0000"/>)";

// The origins of the red fills: one per drawn tile.
std::vector<graphics::Point> redTiles(uikit::UIView& view) {
    graphics::RecordingContext context;
    view.display(context);
    std::vector<graphics::Point> origins;
    for (const auto& op : context.operationsOfKind(Kind::FillPath)) {
        if (op.color && op.color->rgba().red == 1) origins.push_back({op.ctm.tx, op.ctm.ty});
    }
    return origins;
}

TEST(FastImageViewTest, TilesByRatioWithAtLeastOneColumnAndRow) {
    auto view = SVGXFastImageView::initWithSVGXImage(viewImage(kRedRect));
    EXPECT_EQ(view->frame(), graphics::Rect(0, 0, 40, 20));
    EXPECT_EQ(view->backgroundColor(), graphics::Color::clear());
    view->setFrame({0, 0, 80, 60});

    EXPECT_EQ(redTiles(*view).size(), 1u);
    view->setTileRatio({0.5, 0.5});
    EXPECT_EQ(redTiles(*view).size(), 1u);
    view->setTileRatio({2, 3});
    EXPECT_EQ(redTiles(*view), (std::vector<graphics::Point>{{0, 0}, {40, 0}, {0, 20}, {40, 20}, {0, 40}, {40, 40}}));
    view->setTileRatio({2.2, 1});
    EXPECT_EQ(redTiles(*view).size(), 3u);

    graphics::RecordingContext context;
    view->display(context);
    EXPECT_TRUE(context.operationsOfKind(Kind::StrokePath).empty());
    view->setShowBorder(true);
    context.clear();
    view->display(context);
    auto strokes = context.operationsOfKind(Kind::StrokePath);
    ASSERT_EQ(strokes.size(), 1u);
    EXPECT_EQ(strokes[0].stroke->color, graphics::Color::black());
    EXPECT_EQ(strokes[0].path.boundingBox(), graphics::Rect(0, 0, 80, 60));

    // Without an image only the border is drawn.
    auto blank = SVGXFastImageView::initWithSVGXImage(nullptr);
    blank->setFrame({0, 0, 10, 10});
    EXPECT_TRUE(redTiles(*blank).empty());
}

TEST(FastImageViewTest, RedrawsOnChangesUnlessAutoRedrawIsOffAndWarns) {
    foundation::ScopedLogCapture log;
    auto view = SVGXFastImageView::initWithSVGXImage(viewImage(kRedRect));
    graphics::RecordingContext context;
    view->display(context);
    view->setShowBorder(true);
    EXPECT_TRUE(view->needsDisplay());
    view->display(context);

    view->setDisableAutoRedrawAtHighestResolution(true);
    view->setShowBorder(false);
    view->setTileRatio({2, 2});
    view->setFrame({0, 0, 5, 5});
    EXPECT_FALSE(view->needsDisplay());
    view->setNeedsDisplay();
    EXPECT_TRUE(view->needsDisplay());
    EXPECT_FALSE(log.contains("[SVGXFastImageView] WARNING"));

    auto gradient = viewImage(R"(<defs><linearGradient id="g"><stop offset="0" stop-color="#000"/></linearGradient></defs>)" +
                          kRedRect);
    EXPECT_FALSE(SVGXFastImageView::svgImageHasNoGradients(*gradient));
    EXPECT_TRUE(SVGXFastImageView::svgImageHasNoGradients(*view->image()));
    (void)SVGXFastImageView::initWithSVGXImage(gradient);
    int warnings = 0;
    for (const auto& line : log.lines()) warnings += line.find("ignores Apple's own masking layers") != std::string::npos;
    EXPECT_EQ(warnings, 2);

    log.clear();
    (void)SVGXFastImageView::initWithSVGXImage(nullptr);
    EXPECT_TRUE(log.contains("[SVGXFastImageView] WARNING: you have initialized an SVGXImageView with a blank image"));
    auto scaled = viewImage(kRedRect);
    scaled->setScale(2);
    view->setImage(scaled);
    EXPECT_TRUE(log.contains("ignores Apple's own transforms"));
}

TEST(FastImageViewTest, FollowsTheImageSizeAndItsLayersTransform) {
    auto plan = viewImage(kRedRect);
    auto view = SVGXFastImageView::initWithSVGXImage(plan);
    graphics::RecordingContext context;
    view->display(context);
    ASSERT_FALSE(view->needsDisplay());
    plan->setSize({20, 20});
    EXPECT_TRUE(view->needsDisplay());
    view->display(context);

    // Untiled, a transform also takes the image's tree out of any tree.
    auto host = graphics::Layer::layer();
    host->addSublayer(plan->CALayerTree());
    view->layer()->setAffineTransform(graphics::AffineTransform::makeScale(2, 2));
    EXPECT_TRUE(view->needsDisplay());
    EXPECT_FALSE(plan->CALayerTree()->superlayer());
    view->display(context);
    view->setTileRatio({2, 1});
    view->display(context);
    host->addSublayer(plan->CALayerTree());
    view->layer()->setAffineTransform(graphics::AffineTransform::identity());
    EXPECT_TRUE(view->needsDisplay());
    EXPECT_EQ(plan->CALayerTree()->superlayer(), host);
    view->display(context);

    // Auto-redraw off: neither change redraws.
    view->setDisableAutoRedrawAtHighestResolution(true);
    plan->setSize({30, 30});
    view->layer()->setAffineTransform(graphics::AffineTransform::makeScale(3, 3));
    EXPECT_FALSE(view->needsDisplay());
    // An image given while auto-redraw is off is not followed later.
    auto other = viewImage(kRedRect);
    view->setImage(other);
    view->setDisableAutoRedrawAtHighestResolution(false);
    view->display(context);
    other->setSize({5, 5});
    EXPECT_FALSE(view->needsDisplay());
    // The old image no longer reaches the view, nor a view that is gone.
    plan->setSize({40, 40});
    EXPECT_FALSE(view->needsDisplay());
    view.reset();
    other->setSize({6, 6});
}

TEST(LayeredImageViewTest, HostsTheImageTreeOrThePlaceholder) {
    auto plan = viewImage(kRedRect);
    auto view = SVGXLayeredImageView::initWithSVGXImage(plan);
    EXPECT_EQ(view->layer()->className(), "SVGXLayer");
    EXPECT_EQ(view->frame().size, plan->CALayerTree()->frame().size);
    ASSERT_EQ(view->layer()->sublayers().size(), 1u);
    EXPECT_EQ(view->layer()->sublayers()[0], plan->CALayerTree());
    view->setShowBorder(true);
    EXPECT_EQ(view->layer()->borderWidth(), 1.0);
    view->setShowBorder(false);
    EXPECT_EQ(view->layer()->borderWidth(), 0.0);

    auto other = viewImage(kRedRect);
    view->setImage(other);
    EXPECT_FALSE(plan->CALayerTree()->superlayer());
    ASSERT_EQ(view->layer()->sublayers().size(), 1u);
    EXPECT_EQ(view->layer()->sublayers()[0], other->CALayerTree());

    foundation::ScopedLogCapture log;
    auto missing = SVGXLayeredImageView::initWithSVGXImage(nullptr);
    EXPECT_TRUE(log.contains("[SVGXLayeredImageView] WARNING: you have initialized an [SVGXLayeredImageView]"));
    EXPECT_EQ(missing->frame(), graphics::Rect(0, 0, 100, 100));
    EXPECT_EQ(missing->backgroundColor(), graphics::Color::rgb(0, 1, 1));
    ASSERT_TRUE(missing->image());
    EXPECT_EQ(missing->image()->size(), graphics::Size(100, 100));
    auto purple = missing->image()->layerWithIdentifier("rect2985");
    ASSERT_TRUE(purple);
    auto shape = std::dynamic_pointer_cast<graphics::ShapeLayer>(purple);
    ASSERT_TRUE(shape);
    EXPECT_NEAR(shape->fillColor()->rgba().red, 0xbf / 255.0, 1e-3);
    EXPECT_TRUE(missing->image()->layerWithIdentifier("text3755"));
}

}  // namespace
}  // namespace svg

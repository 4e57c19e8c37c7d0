// Rendering layer trees through both backends, and the bitmap's PNG form.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "graphics/CairoContext.h"
#include "graphics/FontRegistry.h"
#include "graphics/GradientLayer.h"
#include "graphics/MutablePath.h"
#include "graphics/RecordingContext.h"
#include "graphics/ShapeLayer.h"
#include "graphics/TextLayer.h"
#include "graphics/TextMeasurer.h"

using namespace graphics;
using Kind = RecordedOperation::Kind;

namespace {

std::shared_ptr<ShapeLayer> redSquare(const Rect& frame) {
    auto path = std::make_shared<MutablePath>();
    path->addRect(Rect(0, 0, frame.width(), frame.height()));
    auto layer = ShapeLayer::layer();
    layer->setFrame(frame);
    layer->setPath(path);
    layer->setFillColor(Color::rgb(1, 0, 0));
    return layer;
}

const Pixel kRed{255, 0, 0, 255};

}  // namespace

TEST(Render, ShapeLayerThroughBothBackends) {
    auto layer = redSquare(Rect(0, 0, 10, 10));

    CairoContext cairo(10, 10);
    cairo.renderLayer(*layer);
    Bitmap image = cairo.bitmap();
    EXPECT_EQ(image.pixel(5, 5), kRed);

    RecordingContext recording;
    recording.renderLayer(*layer);
    auto fills = recording.operationsOfKind(Kind::FillPath);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].path, *layer->path());
    EXPECT_EQ(fills[0].color, Color::rgb(1, 0, 0));
    EXPECT_EQ(recording.operations().size(), 1u);  // no stroke by default

    // A sublayer is placed by its frame; a hidden one is not drawn at all;
    // a stroke follows the fill with the layer's settings.
    auto root = Layer::layer();
    root->setFrame(Rect(0, 0, 20, 20));
    auto placed = redSquare(Rect(10, 10, 10, 10));
    placed->setStrokeColor(Color::gray(0.5));
    placed->setLineDashPattern({2, 1});
    auto hidden = redSquare(Rect(0, 0, 10, 10));
    hidden->setHidden(true);
    root->addSublayer(placed);
    root->addSublayer(hidden);
    RecordingContext tree;
    tree.renderLayer(*root);
    auto treeFills = tree.operationsOfKind(Kind::FillPath);
    ASSERT_EQ(treeFills.size(), 1u);
    EXPECT_EQ(treeFills[0].ctm, AffineTransform::makeTranslation(10, 10));
    auto strokes = tree.operationsOfKind(Kind::StrokePath);
    ASSERT_EQ(strokes.size(), 1u);
    EXPECT_EQ(strokes[0].stroke->dashPattern, (std::vector<double>{2, 1}));
    EXPECT_EQ(tree.currentTransform(), AffineTransform());

    CairoContext canvas(20, 20);
    canvas.renderLayer(*root);
    Bitmap painted = canvas.bitmap();
    EXPECT_EQ(painted.pixel(15, 15), kRed);
    EXPECT_EQ(painted.pixel(5, 5).alpha, 0);
}

TEST(Render, AppearanceOfLayers) {
    // Opacity composites the whole layer once.
    auto faded = redSquare(Rect(0, 0, 4, 4));
    faded->setOpacity(0.5);
    faded->setBackgroundColor(Color::rgb(0, 0, 1));
    CairoContext cairo(4, 4);
    cairo.renderLayer(*faded);
    Pixel p = cairo.bitmap().pixel(2, 2);
    EXPECT_EQ(p.red, 255);
    EXPECT_NEAR(p.alpha, 128, 1);

    // An axial gradient layer runs top to bottom by default.
    auto gradient = GradientLayer::layer();
    gradient->setFrame(Rect(0, 0, 10, 100));
    gradient->setColors({Color::rgb(1, 0, 0), Color::rgb(0, 0, 1)});
    CairoContext ramp(10, 100);
    ramp.renderLayer(*gradient);
    Bitmap rampImage = ramp.bitmap();
    EXPECT_GT(rampImage.pixel(5, 1).red, 240);
    EXPECT_GT(rampImage.pixel(5, 98).blue, 240);
    gradient->setType("unknown");
    RecordingContext none;
    none.renderLayer(*gradient);
    EXPECT_TRUE(none.operationsOfKind(Kind::DrawLinearGradient).empty());

    // A wrapped text layer draws one line per measured line.
    auto text = TextLayer::layer();
    text->setFrame(Rect(0, 0, 70, 100));
    text->setFont(*FontRegistry::shared().fontWithName("Helvetica", 12));
    text->setFontSize(10);
    text->setWrapped(true);
    text->setString("one two three four");
    RecordingContext lines;
    lines.renderLayer(*text);
    auto drawn = lines.operationsOfKind(Kind::DrawText);
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0].text, "one two three");
    EXPECT_EQ(drawn[1].start.y - drawn[0].start.y, drawn[0].font->lineHeight());
}

TEST(Render, ClipsRulesAndGradientEnds) {
    // Even-odd leaves the hole of a same-direction ring unpainted.
    MutablePath ring;
    ring.addRect(Rect(0, 0, 20, 20));
    ring.addRect(Rect(5, 5, 10, 10));
    CairoContext cairo(20, 20);
    cairo.fillPath(ring, Color::rgb(1, 0, 0), FillRule::EvenOdd);
    EXPECT_EQ(cairo.bitmap().pixel(10, 10).alpha, 0);
    EXPECT_EQ(cairo.bitmap().pixel(2, 10), kRed);

    // A clip holds until the restore that undoes it.
    MutablePath left;
    left.addRect(Rect(0, 0, 10, 20));
    CairoContext clipped(20, 20);
    clipped.saveGState();
    clipped.clipToPath(left);
    clipped.fillPath(ring, Color::rgb(1, 0, 0));
    EXPECT_EQ(clipped.bitmap().pixel(15, 2).alpha, 0);
    clipped.restoreGState();
    clipped.fillPath(ring, Color::rgb(1, 0, 0));
    EXPECT_EQ(clipped.bitmap().pixel(15, 2), kRed);

    // Without the extend options a linear ramp paints only between its ends,
    // also when the user space is turned.
    Gradient ramp(ColorSpace::deviceRGB(), {Color::rgb(1, 0, 0), Color::rgb(0, 0, 1)});
    CairoContext bands(30, 10);
    bands.translateCTM(30, 0);
    bands.scaleCTM(-1, 1);
    bands.drawLinearGradient(ramp, {10, 5}, {20, 5}, 0);
    Bitmap image = bands.bitmap();
    EXPECT_EQ(image.pixel(3, 5).alpha, 0);
    EXPECT_EQ(image.pixel(15, 5).alpha, 255);
    EXPECT_EQ(image.pixel(27, 5).alpha, 0);
    CairoContext extended(30, 10);
    extended.drawLinearGradient(ramp, {10, 5}, {20, 5}, kGradientDrawsBeforeStartLocation);
    EXPECT_EQ(extended.bitmap().pixel(3, 5), kRed);
    EXPECT_EQ(extended.bitmap().pixel(27, 5).alpha, 0);
}

TEST(Render, RecordedStateFollowsThePairingRules) {
    RecordingContext recording;
    recording.translateCTM(10, 0);
    recording.scaleCTM(2, 2);
    // The later step acts first on user-space points.
    EXPECT_EQ(recording.currentTransform().apply(Point{1, 1}), (Point{12, 2}));
    recording.beginTransparencyLayer(0.5);
    recording.translateCTM(5, 5);
    recording.restoreGState();  // does not undo a layer begin
    EXPECT_EQ(recording.currentTransform().apply(Point{0, 0}), (Point{20, 10}));
    recording.endTransparencyLayer();
    EXPECT_EQ(recording.currentTransform().apply(Point{0, 0}), (Point{10, 0}));

    // Text alignment within the bounds.
    auto text = TextLayer::layer();
    text->setFrame(Rect(0, 0, 100, 50));
    text->setString("ab");
    text->setFontSize(10);
    double width = TextMeasurer::width(text->font().withSize(10), "ab");
    text->setAlignmentMode(TextAlignment::Right);
    RecordingContext right;
    right.renderLayer(*text);
    EXPECT_DOUBLE_EQ(right.operationsOfKind(Kind::DrawText).at(0).start.x, 100 - width);
    text->setAlignmentMode(TextAlignment::Center);
    RecordingContext centred;
    centred.renderLayer(*text);
    EXPECT_DOUBLE_EQ(centred.operationsOfKind(Kind::DrawText).at(0).start.x, (100 - width) / 2);
}

TEST(Render, BadInputLeavesTheContextUsable) {
    CairoContext cairo(10, 10);
    MutablePath square;
    square.addRect(Rect(0, 0, 10, 10));
    cairo.saveGState();
    cairo.scaleCTM(0, 0);
    cairo.fillPath(square, Color::rgb(0, 1, 0));
    StrokeStyle impossible;
    impossible.dashPattern = {0, 0};
    cairo.restoreGState();
    cairo.restoreGState();  // unbalanced: ignored
    cairo.strokePath(square, impossible);
    cairo.drawText("\xff\xfe bad", *FontRegistry::shared().fontWithName("Verdana", 8), {0, 8}, Color::black());
    cairo.endTransparencyLayer();
    MutablePath broken;
    broken.moveToPoint({0, 0});
    broken.addLineToPoint({NAN, 3});
    cairo.fillPath(broken, Color::black());
    cairo.fillPath(square, Color::rgb(1, 0, 0));
    EXPECT_EQ(cairo.bitmap().pixel(5, 5), kRed);
}

TEST(Render, BitmapPNG) {
    Bitmap image(3, 2);
    image.setPixel(0, 0, {10, 20, 30, 255});
    image.setPixel(2, 1, {255, 0, 0, 255});
    foundation::Data png = image.pngData();
    ASSERT_GT(png.length(), 8u);
    EXPECT_EQ(png.bytes()[1], 'P');
    auto decoded = Bitmap::fromPNGData(png);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(*decoded, image);
    EXPECT_FALSE(Bitmap::fromPNGData(foundation::Data::fromString("not a png")));
    EXPECT_TRUE(Bitmap(0, 5).pngData().empty());

    auto path = std::filesystem::temp_directory_path() / "qva-graphics-test.png";
    EXPECT_EQ(image.writePNG(path.string()), nullptr);
    EXPECT_TRUE(std::filesystem::exists(path));
    std::filesystem::remove(path);
    EXPECT_NE(image.writePNG("/nonexistent-dir/x.png"), nullptr);

    // An image drawn into a rectangle is stretched upright.
    CairoContext cairo(6, 4);
    cairo.drawImage(image, Rect(0, 0, 6, 4));
    Bitmap drawn = cairo.bitmap();
    EXPECT_EQ(drawn.pixel(0, 0), (Pixel{10, 20, 30, 255}));
    EXPECT_EQ(drawn.pixel(5, 3), kRed);
}

TEST(Render, ContextWritesItsPNGFromTheDrawingItself) {
    CairoContext cairo(7, 5);
    MutablePath square;
    square.addRect(Rect(1, 1, 3, 2));
    cairo.fillPath(square, Color::rgb(1, 0, 0));
    MutablePath veil;
    veil.addRect(Rect(4, 0, 3, 5));
    cairo.fillPath(veil, Color::rgb(0, 0, 1, 0.5));

    auto path = std::filesystem::temp_directory_path() / "qva-graphics-context-test.png";
    ASSERT_EQ(cairo.writePNG(path.string()), nullptr);
    std::ifstream file(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::filesystem::remove(path);
    auto decoded = Bitmap::fromPNGData(foundation::Data::fromString(bytes));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(*decoded, cairo.bitmap());

    auto failure = cairo.writePNG("/nonexistent-dir/x.png");
    ASSERT_NE(failure, nullptr);
    EXPECT_EQ(failure->domain(), foundation::kPOSIXErrorDomain);
    EXPECT_NE(CairoContext(0, 3).writePNG(path.string()), nullptr);
    EXPECT_FALSE(std::filesystem::exists(path));
}

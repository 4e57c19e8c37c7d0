// The layer deep clone and the layer tree exporter: what a clone keeps and
// drops, and the statements and names the exporter writes.
#include <gtest/gtest.h>

#include <algorithm>

#include "graphics/MutablePath.h"
#include "graphics/ShapeLayer.h"
#include "graphics/TextLayer.h"
#include "svg/layers/CALayerExporter.h"
#include "svg/layers/CALayer_Clone.h"
#include "svg/layers/CALayerWithChildHitTest.h"
#include "svg/layers/CAShapeLayerWithHitTest.h"

namespace svg {
namespace {

std::shared_ptr<CAShapeLayerWithHitTest> room(const std::string& name, const graphics::Color& fill) {
    auto path = std::make_shared<graphics::MutablePath>();
    path->moveToPoint({0, 0});
    path->addLineToPoint({10, 0});
    path->addLineToPoint({10, 5});
    path->closeSubpath();
    auto shape = CAShapeLayerWithHitTest::layer();
    shape->setName(name);
    shape->setPath(path);
    shape->setFillColor(fill);
    shape->setStrokeColor(graphics::Color::rgb(0, 0, 1));
    shape->setLineWidth(2.5);
    shape->setLineCap(graphics::LineCap::Round);
    shape->setLineJoin(graphics::LineJoin::Round);
    shape->setValue(foundation::Value(name), "SVGElementIdentifier");
    return shape;
}

TEST(CloneTest, KeepsClassesPathsAndColoursButNotLayerKeys) {
    auto group = CALayerWithChildHitTest::layer();
    group->setName("floor");
    group->setFrame({5, 5, 40, 30});
    group->addSublayer(room("a", graphics::Color::rgb(1, 0, 0)));
    group->addSublayer(room("b", graphics::Color::rgb(0, 1, 0)));
    auto mask = graphics::Layer::layer();
    group->setMask(mask);

    auto clone = cloneRecursively(*group);
    EXPECT_EQ(clone->className(), "CALayerWithChildHitTest");
    EXPECT_EQ(clone->frame(), group->frame());
    EXPECT_EQ(clone->name(), "floor");
    ASSERT_TRUE(clone->mask());
    EXPECT_NE(clone->mask(), mask);
    ASSERT_EQ(clone->sublayers().size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        auto source = std::dynamic_pointer_cast<graphics::ShapeLayer>(group->sublayers()[i]);
        auto copy = std::dynamic_pointer_cast<graphics::ShapeLayer>(clone->sublayers()[i]);
        ASSERT_TRUE(copy);
        EXPECT_EQ(copy->className(), "CAShapeLayerWithHitTest");
        EXPECT_EQ(copy->path(), source->path());
        EXPECT_EQ(copy->fillColor(), source->fillColor());
        EXPECT_EQ(copy->strokeColor(), source->strokeColor());
        EXPECT_EQ(copy->lineWidth(), 2.5);
        EXPECT_EQ(copy->lineCap(), graphics::LineCap::Round);
        // The join is not among the copied properties.
        EXPECT_EQ(copy->lineJoin(), graphics::LineJoin::Miter);
        EXPECT_EQ(copy->name(), source->name());
        EXPECT_TRUE(copy->valueForKey("SVGElementIdentifier").isNothing());
    }
    // The source tree is left where it was.
    EXPECT_EQ(group->sublayers()[0]->superlayer(), group);
}

// Every listed property away from its default.
void setEveryProperty(graphics::Layer& layer) {
    layer.setBounds({1, 2, 30, 40});
    layer.setPosition({7, 8});
    layer.setZPosition(4);
    layer.setAnchorPoint({0.25, 0.75});
    layer.setAnchorPointZ(-2);
    layer.setTransform(graphics::Transform3D::makeAffineTransform(graphics::AffineTransform::makeScale(2, 3)));
    layer.setHidden(true);
    layer.setDoubleSided(false);
    layer.setGeometryFlipped(true);
    layer.setSublayerTransform(
        graphics::Transform3D::makeAffineTransform(graphics::AffineTransform::makeTranslation(5, 6)));
    layer.setMasksToBounds(true);
    layer.setContents(std::make_shared<graphics::Bitmap>(2, 2));
    layer.setContentsRect({0.1, 0.2, 0.5, 0.5});
    layer.setContentsGravity("center");
    layer.setContentsScale(2);
    layer.setContentsCenter({0.3, 0.3, 0.4, 0.4});
    layer.setMinificationFilter("nearest");
    layer.setMagnificationFilter("trilinear");
    layer.setMinificationFilterBias(0.5);
    layer.setOpaque(true);
    layer.setNeedsDisplayOnBoundsChange(true);
    layer.setDrawsAsynchronously(true);
    layer.setEdgeAntialiasingMask(3);
    layer.setBackgroundColor(graphics::Color::rgb(0, 0, 1));
    layer.setCornerRadius(6);
    layer.setBorderWidth(1.5);
    layer.setBorderColor(graphics::Color::rgb(0, 1, 0));
    layer.setOpacity(0.5);
    layer.setCompositingFilter(foundation::Value("multiplyBlendMode"));
    layer.setFilters(foundation::Value::Array{foundation::Value("blur")});
    layer.setBackgroundFilters(foundation::Value::Array{foundation::Value("sepia")});
    layer.setShouldRasterize(true);
    layer.setRasterizationScale(3);
    layer.setShadowColor(graphics::Color::rgb(1, 0, 0));
    layer.setShadowOpacity(0.8);
    layer.setShadowOffset({2, 5});
    layer.setShadowRadius(9);
    auto shadow = std::make_shared<graphics::MutablePath>();
    shadow->addRect({0, 0, 3, 3});
    layer.setShadowPath(shadow);
    layer.setName("listed");
    layer.setStyle(foundation::Value::Dictionary{{"shadowRadius", foundation::Value(4.0)}});
}

void expectEveryPropertyKept(const graphics::Layer& copy, const graphics::Layer& source) {
    EXPECT_EQ(copy.bounds(), source.bounds());
    EXPECT_EQ(copy.position(), source.position());
    EXPECT_EQ(copy.zPosition(), source.zPosition());
    EXPECT_EQ(copy.anchorPoint(), source.anchorPoint());
    EXPECT_EQ(copy.anchorPointZ(), source.anchorPointZ());
    EXPECT_EQ(copy.transform(), source.transform());
    EXPECT_EQ(copy.isHidden(), source.isHidden());
    EXPECT_EQ(copy.isDoubleSided(), source.isDoubleSided());
    EXPECT_EQ(copy.isGeometryFlipped(), source.isGeometryFlipped());
    EXPECT_EQ(copy.sublayerTransform(), source.sublayerTransform());
    EXPECT_EQ(copy.masksToBounds(), source.masksToBounds());
    EXPECT_EQ(copy.contents(), source.contents());
    EXPECT_EQ(copy.contentsRect(), source.contentsRect());
    EXPECT_EQ(copy.contentsGravity(), source.contentsGravity());
    EXPECT_EQ(copy.contentsScale(), source.contentsScale());
    EXPECT_EQ(copy.contentsCenter(), source.contentsCenter());
    EXPECT_EQ(copy.minificationFilter(), source.minificationFilter());
    EXPECT_EQ(copy.magnificationFilter(), source.magnificationFilter());
    EXPECT_EQ(copy.minificationFilterBias(), source.minificationFilterBias());
    EXPECT_EQ(copy.isOpaque(), source.isOpaque());
    EXPECT_EQ(copy.needsDisplayOnBoundsChange(), source.needsDisplayOnBoundsChange());
    EXPECT_EQ(copy.drawsAsynchronously(), source.drawsAsynchronously());
    EXPECT_EQ(copy.edgeAntialiasingMask(), source.edgeAntialiasingMask());
    EXPECT_EQ(copy.backgroundColor(), source.backgroundColor());
    EXPECT_EQ(copy.cornerRadius(), source.cornerRadius());
    EXPECT_EQ(copy.borderWidth(), source.borderWidth());
    EXPECT_EQ(copy.borderColor(), source.borderColor());
    EXPECT_EQ(copy.opacity(), source.opacity());
    EXPECT_EQ(copy.compositingFilter(), source.compositingFilter());
    EXPECT_EQ(copy.filters(), source.filters());
    EXPECT_EQ(copy.backgroundFilters(), source.backgroundFilters());
    EXPECT_EQ(copy.shouldRasterize(), source.shouldRasterize());
    EXPECT_EQ(copy.rasterizationScale(), source.rasterizationScale());
    EXPECT_EQ(copy.shadowColor(), source.shadowColor());
    EXPECT_EQ(copy.shadowOpacity(), source.shadowOpacity());
    EXPECT_EQ(copy.shadowOffset(), source.shadowOffset());
    EXPECT_EQ(copy.shadowRadius(), source.shadowRadius());
    EXPECT_EQ(copy.shadowPath(), source.shadowPath());
    EXPECT_EQ(copy.name(), source.name());
    EXPECT_EQ(copy.style(), source.style());
}

TEST(CloneTest, MasksAndTextLayersKeepEveryListedValue) {
    auto layer = graphics::Layer::layer();
    auto mask = graphics::Layer::layer();
    setEveryProperty(*mask);
    layer->setMask(mask);
    auto clone = cloneRecursively(*layer);
    ASSERT_TRUE(clone->mask());
    EXPECT_NE(clone->mask(), mask);
    expectEveryPropertyKept(*clone->mask(), *mask);

    auto text = graphics::TextLayer::layer();
    setEveryProperty(*text);
    text->setString("Room 101");
    text->setFontSize(14);
    text->setForegroundColor(graphics::Color::rgb(0.2, 0.2, 0.2));
    text->setWrapped(true);
    text->setTruncationMode(graphics::TextTruncation::Middle);
    text->setAlignmentMode(graphics::TextAlignment::Center);
    auto textClone = std::dynamic_pointer_cast<graphics::TextLayer>(cloneRecursively(*text));
    ASSERT_TRUE(textClone);
    expectEveryPropertyKept(*textClone, *text);
    EXPECT_EQ(textClone->string(), "Room 101");
    EXPECT_EQ(textClone->font().name(), text->font().name());
    EXPECT_EQ(textClone->fontSize(), 14);
    EXPECT_EQ(textClone->foregroundColor(), text->foregroundColor());
    EXPECT_TRUE(textClone->isWrapped());
    EXPECT_EQ(textClone->truncationMode(), graphics::TextTruncation::Middle);
    EXPECT_EQ(textClone->alignmentMode(), graphics::TextAlignment::Center);
}

struct Recorder : CALayerExporterDelegate {
    std::vector<std::string> statements;
    int finished = 0;
    void layerExporterDidParseLayer(CALayerExporter&, const graphics::Layer&, const std::string& s) override {
        statements.push_back(s);
    }
    void layerExporterDidFinish(CALayerExporter&) override { ++finished; }
};

TEST(ExporterTest, WritesStatementsAndNamesLayersByParent) {
    Recorder recorder;
    CALayerExporter nothing(nullptr);
    nothing.setDelegate(&recorder);
    nothing.startExport();
    EXPECT_TRUE(recorder.statements.empty());
    EXPECT_EQ(recorder.finished, 0);

    auto view = std::make_shared<uikit::UIView>(graphics::Rect(0, 0, 20, 10));
    CALayerExporter bare(view);
    bare.setDelegate(&recorder);
    bare.startExport();
    EXPECT_EQ(recorder.statements,
              (std::vector<std::string>{"CALayer* root_layer0 = [[CALayer alloc] init];", "root_layer0.name = nil;",
                                        "root_layer0.bounds = CGRectMake(0.000000, 0.000000, 20.000000, 10.000000);",
                                        "root_layer0.frame = CGRectMake(0.000000, 0.000000, 20.000000, 10.000000);",
                                        "[root addSublayer:root_layer0];", "[root_layer0 release];"}));
    EXPECT_EQ(recorder.finished, 1);

    recorder.statements.clear();
    auto first = CALayerWithChildHitTest::layer();
    first->addSublayer(graphics::Layer::layer());
    first->addSublayer(graphics::Layer::layer());
    view->layer()->addSublayer(first);
    auto shape = room("room \"1\"", graphics::Color::rgb(1, 0, 0));
    shape->setStrokeColor(std::nullopt);
    shape->setLineDashPattern({2, 1});
    view->layer()->addSublayer(shape);
    bare.startExport();

    std::vector<std::string> allocations;
    for (const auto& s : recorder.statements) {
        if (s.find("alloc] init]") != std::string::npos) allocations.push_back(s.substr(s.find("* ") + 2));
    }
    EXPECT_EQ(allocations, (std::vector<std::string>{"root_layer0 = [[CALayer alloc] init];",
                                                     "root_layer0_layer1 = [[CALayerWithChildHitTest alloc] init];",
                                                     "root_layer0_layer1_layer2 = [[CALayer alloc] init];",
                                                     "root_layer0_layer1_layer3 = [[CALayer alloc] init];",
                                                     "root_layer0_layer2 = [[CAShapeLayerWithHitTest alloc] init];"}));
    auto at = std::find(recorder.statements.begin(), recorder.statements.end(),
                        "root_layer0_layer2.name = @\"room \"1\"\";");
    ASSERT_NE(at, recorder.statements.end());
    const std::string q = "root_layer0_layer2_path_pathref";
    std::vector<std::string> expected{
        "root_layer0_layer2.bounds = CGRectMake(0.000000, 0.000000, 0.000000, 0.000000);",
        "root_layer0_layer2.frame = CGRectMake(0.000000, 0.000000, 0.000000, 0.000000);",
        "CGMutablePathRef " + q + " = CGPathCreateMutable();",
        "\nCGPathMoveToPoint(" + q + ", NULL, 0.000000, 0.000000);\nCGPathAddLineToPoint(" + q +
            ", NULL, 10.000000, 0.000000);\nCGPathAddLineToPoint(" + q + ", NULL, 10.000000, 5.000000);\nCGPathCloseSubpath(" +
            q + ");",
        "root_layer0_layer2.path = " + q + ";",
        "CGColorSpaceRef root_layer0_layer2_fillColor_colorref_colorSpace = CGColorSpaceCreateDeviceRGB();",
        "CGFloat root_layer0_layer2_fillColor_colorref_colorComponents[] = {1.000000,0.000000,0.000000,1.000000};",
        "CGColorRef root_layer0_layer2_fillColor_colorref = CGColorCreate(root_layer0_layer2_fillColor_colorref_colorSpace, "
        "root_layer0_layer2_fillColor_colorref_colorComponents);",
        "root_layer0_layer2.fillColor = root_layer0_layer2_fillColor_colorref;",
        "root_layer0_layer2.fillRule = @\"non-zero\";",
        "root_layer0_layer2.strokeColor = 0;",
        "root_layer0_layer2.lineWidth = 2.500000;",
        "root_layer0_layer2.miterLimit = 10.000000;",
        "root_layer0_layer2.lineCap = @\"round\";",
        "root_layer0_layer2.lineJoin = @\"round\";",
        "root_layer0_layer2.lineDashPhase = 0.000000;",
        "root_layer0_layer2.lineDashPattern = NSArray;",
        "[root_layer0 addSublayer:root_layer0_layer2];",
        "[root_layer0_layer2 release];"};
    EXPECT_EQ(std::vector<std::string>(at + 1, recorder.statements.end()), expected);
}

}  // namespace
}  // namespace svg

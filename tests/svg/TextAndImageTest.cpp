// Text layers (font defaults, text clean-up, placement) and image layers
// (frame, contents from the registered map folder, names refused).
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <filesystem>

#include "graphics/TextLayer.h"
#include "graphics/TextMeasurer.h"
#include "svg/SVGTestSupport.h"
#include "svg/css/SVGLength.h"
#include "svg/dom/Text.h"
#include "svg/elements/SVGGElement.h"
#include "svg/elements/SVGImageElement.h"
#include "svg/elements/SVGSVGElement.h"
#include "svg/elements/SVGTextElement.h"
#include "svg/floorplan/SVGMapFolder.h"

namespace svg {
namespace {

using svg::testing::make;

std::shared_ptr<graphics::TextLayer> textLayer(const std::map<std::string, std::string>& attributes,
                                               const std::string& content,
                                               const std::map<std::string, std::string>& group = {}) {
    auto root = make<SVGSVGElement>("svg");
    auto g = make<SVGGElement>("g", group);
    root->appendChild(g);
    auto text = make<SVGTextElement>("text", attributes);
    g->appendChild(text);
    text->appendChild(Node::create(DOMNodeType::Text, "#text", content));
    return std::dynamic_pointer_cast<graphics::TextLayer>(text->newLayer());
}

class MapFolder : public SVGMapFolder {
public:
    explicit MapFolder(std::filesystem::path folder) : folder_(std::move(folder)) {}
    std::optional<std::string> pathOfMapFolderFile(const std::string& fileName) const override {
        return (folder_ / fileName).string();
    }

private:
    std::filesystem::path folder_;
};

TEST(TextAndImageTest, TextIsOneBlackLineAboveItsBaseline) {
    auto plain =
        textLayer({{"x", "10"}, {"y", "20"}, {"id", "label"}}, "\n  Room\n101  \n", {{"transform", "scale(2)"}});
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->string(), "Room 101");
    EXPECT_EQ(plain->fontSize(), 12);
    EXPECT_EQ(plain->font().name(), "Verdana");
    EXPECT_EQ(plain->name(), "label");
    graphics::Size size = graphics::TextMeasurer::measure(plain->font(), "Room 101");
    EXPECT_EQ(plain->bounds(), graphics::Rect(0, 0, size.width, size.height));
    EXPECT_EQ(plain->anchorPoint(), (graphics::Point{0, 0}));
    EXPECT_EQ(plain->position(), (graphics::Point{0, -2 * size.height}));
    EXPECT_EQ(plain->affineTransform(), graphics::AffineTransform::make(2, 0, 0, 2, 20, 40));
    EXPECT_EQ(plain->foregroundColor(), graphics::Color::black());
    EXPECT_EQ(plain->alignmentMode(), graphics::TextAlignment::Left);

    auto styled = textLayer({{"fill", "red"}}, "Hall", {{"font-family", "Helvetica"}, {"font-size", "20px"}});
    EXPECT_TRUE(styled->font().name() == "Helvetica" && styled->fontSize() == 20);
    EXPECT_EQ(styled->foregroundColor(), graphics::Color::black());
    EXPECT_EQ(textLayer({{"font-family", "NoSuchFace"}}, "x")->font().name(), "Verdana");
}

// A label's missing position attributes read as zero lengths, made once;
// before the attribute step there are none.
TEST(TextAndImageTest, MissingPositionsReadAsZeroLengths) {
    auto label = testing::make<SVGTextElement>("text", {{"x", "4"}, {"dy", "2.5"}});
    ASSERT_TRUE(label->x() && label->y() && label->dx() && label->dy() && label->rotate());
    EXPECT_EQ(label->x()->value(), 4);
    EXPECT_EQ(label->dy()->value(), 2.5f);
    EXPECT_EQ(label->y()->value(), 0);
    EXPECT_EQ(label->y()->pixelsValue(), 0);
    EXPECT_EQ(label->y()->unitType(), SVGLength::svgLengthFromNSString("")->unitType());
    EXPECT_EQ(label->rotate(), label->rotate());
    label->dx()->setValueInSpecifiedUnits(3);
    EXPECT_EQ(label->dx()->valueInSpecifiedUnits(), 3);

    auto unread = std::make_shared<SVGTextElement>("text", testing::kSVGNamespace, Element::AttributeDictionary{});
    EXPECT_FALSE(unread->x() || unread->y() || unread->dx() || unread->dy() || unread->rotate());
}

TEST(TextAndImageTest, ImagesComeOnlyFromTheMapFolder) {
    auto base = std::filesystem::temp_directory_path() / ("svg-maps-" + std::to_string(::getpid()));
    std::filesystem::create_directories(base / "maps");
    graphics::Bitmap bitmap(2, 1);
    bitmap.setPixel(0, 0, {255, 0, 0, 255});
    ASSERT_FALSE(bitmap.writePNG((base / "maps" / "plan.png").string()));
    ASSERT_FALSE(bitmap.writePNG((base / "outside.png").string()));

    auto root = make<SVGSVGElement>("svg");
    auto g = make<SVGGElement>("g", {{"transform", "translate(5,5)"}});
    root->appendChild(g);
    auto image = [&](const std::string& href) {
        auto element = make<SVGImageElement>(
            "image", {{"x", "10"}, {"y", "20px"}, {"width", "30"}, {"height", "40"}, {"href", href}});
        g->appendChild(element);
        return element->newLayer();
    };
    EXPECT_FALSE(image("plan.png")->contents());

    MapFolder folder(base / "maps");
    SVGMapFolder::registerMapFolder(&folder);
    auto shown = image("plan.png");
    ASSERT_TRUE(shown->contents());
    EXPECT_EQ(*shown->contents(), bitmap);
    EXPECT_EQ(shown->frame(), graphics::Rect(15, 25, 30, 40));
    for (const char* refused : {"missing.png", "../outside.png", "..", ".", "../maps/plan.png"}) {
        auto layer = image(refused);
        EXPECT_FALSE(layer->contents()) << refused;
        EXPECT_EQ(layer->frame(), graphics::Rect(15, 25, 30, 40));
    }
    SVGMapFolder::registerMapFolder(nullptr);
    std::filesystem::remove_all(base);

    auto turned = make<SVGImageElement>("image", {{"width", "30"}, {"height", "10"}, {"transform", "rotate(90)"}});
    EXPECT_FALSE(turned->href());
    graphics::Rect frame = turned->newLayer()->frame();
    EXPECT_TRUE(std::abs(frame.origin.x + 10) < 1e-9 && std::abs(frame.size.height - 30) < 1e-9);
}

}  // namespace
}  // namespace svg

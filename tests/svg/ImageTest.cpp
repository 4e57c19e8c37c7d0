// The image facade: size rules, the cached layer tree, look-up by id, the
// positioned and coloured copies, and the name cache with its purges.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "foundation/ApplicationHome.h"
#include "foundation/Exception.h"
#include "foundation/NotificationCenter.h"
#include "foundation/URL.h"
#include "graphics/DrawingContext.h"
#include "graphics/ShapeLayer.h"
#include "svg/elements/SVGSVGElement.h"
#include "svg/floorplan/SVGMapFolder.h"
#include "svg/image/SVGXImage.h"
#include "svg/layers/SVGHelperUtilities.h"
#include "svg/sources/SVGXSourceString.h"
#include "uikit/DeviceProfile.h"
#include "uikit/UIScreen.h"

namespace svg {
namespace {

namespace fs = std::filesystem;

std::shared_ptr<SVGXImage> image(const std::string& rootAttributes, const std::string& body) {
    return SVGXImage::imageWithSource(SVGXSourceString::sourceFromContentsOfString(
        "<svg xmlns=\"http://www.w3.org/2000/svg\" " + rootAttributes + ">" + body + "</svg>"));
}

// Map files of an account and event under the caches folder.
class CacheFolder : public SVGMapFolder {
public:
    std::optional<std::string> pathOfMapFolderFile(const std::string&) const override { return std::nullopt; }
    std::optional<std::string> pathOfMapFile(const std::string& fileName, const std::string& authToken,
                                             const std::string& eventId) const override {
        return (folder(authToken, eventId) / fileName).string();
    }
    static fs::path folder(const std::string& authToken, const std::string& eventId) {
        fs::path path = fs::path(foundation::ApplicationHome::cachesDirectory()) / "imaps" / authToken / eventId;
        fs::create_directories(path);
        return path;
    }
    static void write(const std::string& authToken, const std::string& eventId, const std::string& name,
                      const std::string& text) {
        std::ofstream(folder(authToken, eventId) / name) << text;
    }
};

TEST(ImageTest, SizeComesFromTheRootAndTheTreeIsBuiltOnce) {
    EXPECT_FALSE(image("", "<g/>") == nullptr);
    EXPECT_FALSE(SVGXImage::imageWithSource(SVGXSourceString::sourceFromContentsOfString("<g/>")));
    EXPECT_FALSE(SVGXImage::initWithContentsOfFile("/nonexistent.svg"));

    auto bare = image("", "");
    EXPECT_EQ(bare->size(), (graphics::Size{-1, -1}));
    EXPECT_FALSE(bare->hasSize());
    EXPECT_EQ(image("viewBox=\"0 0 30 40\"", "")->size(), (graphics::Size{30, 40}));

    auto sized =
        image("width=\"200\" height=\"100\" viewBox=\"0 0 400 200\"", "<rect id=\"r\" width=\"40\" height=\"20\"/>");
    EXPECT_EQ(sized->size(), (graphics::Size{200, 100}));
    auto tree = sized->CALayerTree();
    ASSERT_TRUE(tree);
    EXPECT_EQ(sized->CALayerTree(), tree);
    EXPECT_EQ(sized->layerWithIdentifier("r")->frame(), graphics::Rect(0, 0, 20, 10));
    // A new viewport, from the image or from anyone else, means a new tree.
    sized->setSize({400, 200});
    EXPECT_EQ(sized->size(), (graphics::Size{400, 200}));
    EXPECT_NE(sized->CALayerTree(), tree);
    EXPECT_EQ(sized->layerWithIdentifier("r")->frame(), graphics::Rect(0, 0, 40, 20));
    tree = sized->CALayerTree();
    sized->DOMTree()->setViewport(SVGRectMake(0, 0, 100, 50));
    EXPECT_NE(sized->CALayerTree(), tree);
}

TEST(ImageTest, LayersAreFoundByIdAndCopiedToTheirAbsolutePlace) {
    auto plan = image("width=\"100\" height=\"100\"", R"svg(
        <g id="wing" transform="translate(10,20)">
          <rect id="dup" x="5" y="5" width="10" height="10"/>
          <g id="inner"><rect id="room" x="30" y="40" width="20" height="10" fill="blue"/></g>
        </g>
        <rect id="dup" x="0" y="0" width="1" height="1"/>)svg");
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->layerWithIdentifier("dup")->frame(), graphics::Rect(0, 0, 10, 10));  // the first in pre-order
    EXPECT_FALSE(plan->layerWithIdentifier("missing"));
    EXPECT_FALSE(plan->layerWithIdentifier(std::nullopt));

    auto red = graphics::Color::rgb(1, 0, 0);
    auto layer = plan->newCopyPositionedAbsoluteLayerWithIdentifier("room", red);
    auto copy = std::dynamic_pointer_cast<graphics::ShapeLayer>(layer);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->frame(), graphics::Rect(40, 60, 20, 10));
    EXPECT_EQ(copy->fillColor(), red);
    EXPECT_EQ(copy->strokeColor(), red);
    EXPECT_TRUE(copy->valueForKey(kSVGElementIdentifierKey).isAbsent());
    EXPECT_FALSE(copy->superlayer());
    auto room = std::dynamic_pointer_cast<graphics::ShapeLayer>(plan->layerWithIdentifier("room"));
    EXPECT_EQ(copy->path(), room->path());
    EXPECT_NE(room->fillColor(), red);

    EXPECT_FALSE(plan->newCopyPositionedAbsoluteLayerWithIdentifier("inner", red));  // not a shape
    EXPECT_FALSE(plan->newCopyPositionedAbsoluteLayerWithIdentifier("missing", red));
    auto root = plan->CALayerTree();
    EXPECT_EQ(plan->newCopyPositionedAbsoluteOfLayer(root)->frame(), root->frame());
}

TEST(ImageTest, RendersExportsAndListsItsLayers) {
    auto plan = image(R"(id="plan" width="4" height="2")",
                      R"(<rect id="left" x="0" y="0" width="2" height="2" fill="#ff0000"/>)"
                      R"(<g><rect id="inner" x="2" y="0" width="2" height="1" fill="#0000ff"/></g>)");
    ASSERT_TRUE(plan);
    // At the main screen's scale: a 4 × 2 point image of 12 × 6 pixels.
    const auto savedProfile = uikit::DeviceProfile::current();
    uikit::DeviceProfile::apply(uikit::DeviceProfile::iPhone6Plus());
    ASSERT_EQ(uikit::UIScreen::mainScreen().scale(), 3);
    auto exported = plan->UIImage();
    uikit::DeviceProfile::apply(savedProfile);
    ASSERT_TRUE(exported);
    EXPECT_EQ(exported->scale(), 3);
    EXPECT_EQ(exported->size(), (graphics::Size{4, 2}));
    const auto& bitmap = exported->bitmap();
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->width(), 12);
    EXPECT_EQ(bitmap->height(), 6);
    EXPECT_EQ(bitmap->pixel(0, 5), (graphics::Pixel{255, 0, 0, 255}));
    EXPECT_EQ(bitmap->pixel(5, 2), (graphics::Pixel{255, 0, 0, 255}));
    EXPECT_EQ(bitmap->pixel(11, 0), (graphics::Pixel{0, 0, 255, 255}));
    EXPECT_EQ(bitmap->pixel(6, 2), (graphics::Pixel{0, 0, 255, 255}));
    EXPECT_EQ(bitmap->pixel(11, 5).alpha, 0);

    // Raw bytes, four a pixel, over black and without alpha; flipped, the
    // blue strip is at the bottom.
    auto bytes = plan->exportNSDataAntiAliased(false, 1, graphics::InterpolationQuality::None, true);
    ASSERT_TRUE(bytes);
    ASSERT_EQ(bytes->length(), 4u * 4 * 2);
    auto at = [&](int x, int y) {
        const uint8_t* pixel = bytes->bytes() + (y * 4 + x) * 4;
        return std::vector<uint8_t>(pixel, pixel + 4);
    };
    EXPECT_EQ(at(3, 1), (std::vector<uint8_t>{0, 0, 255, 255}));
    EXPECT_EQ(at(3, 0), (std::vector<uint8_t>{0, 0, 0, 255}));
    EXPECT_EQ(at(0, 0), (std::vector<uint8_t>{255, 0, 0, 255}));

    // The group has no id, so what is below it is left out.
    auto layers = plan->dictionaryOfLayers();
    EXPECT_EQ(layers.size(), 2u);
    EXPECT_EQ(layers.at("plan"), plan->CALayerTree());
    EXPECT_EQ(layers.at("left"), plan->layerWithIdentifier("left"));
    EXPECT_FALSE(layers.contains("inner"));

    // Without a size there is nothing to export.
    auto sizeless = image("", R"(<rect width="2" height="2"/>)");
    EXPECT_FALSE(sizeless->UIImage());
    EXPECT_FALSE(sizeless->exportNSDataAntiAliased(true, 1, graphics::InterpolationQuality::Default, false));
    EXPECT_FALSE(plan->newCopyPositionedAbsoluteOfLayer(plan->layerWithIdentifier("left"), graphics::Color::black()));
    EXPECT_FALSE(SVGXImage::imageWithData(foundation::Data::fromString("<svg/>")));
    EXPECT_FALSE(SVGXImage::animatedImageNamed("plan.svg", 1));
}

TEST(ImageTest, AddressesAreReadAsFilesOrThroughTheURLSource) {
    fs::path folder = fs::path(foundation::ApplicationHome::cachesDirectory()) / "url-test";
    fs::create_directories(folder);
    std::ofstream(folder / "plan.svg") << R"(<svg xmlns="http://www.w3.org/2000/svg" width="7" height="3"/>)";
    auto local = SVGXImage::imageWithContentsOfURL(foundation::URL::fileURLWithPath((folder / "plan.svg").string()));
    ASSERT_TRUE(local);
    EXPECT_EQ(local->size(), (graphics::Size{7, 3}));
    EXPECT_FALSE(SVGXImage::initWithContentsOfURL(foundation::URL::fileURLWithPath((folder / "none.svg").string())));
    // Other addresses go through the URL source, which fetches none here.
    auto remote = foundation::URL::URLWithString("http://127.0.0.1:9/plan.svg");
    ASSERT_TRUE(remote);
    EXPECT_FALSE(SVGXImage::imageWithContentsOfURL(*remote));
    fs::remove_all(folder);
}

TEST(ImageTest, TheNameCacheHandsOutOneImagePerName) {
    CacheFolder folder;
    SVGMapFolder::registerMapFolder(&folder);
    SVGXImage::clearCachedResources();
    const std::string plan = "<svg xmlns=\"http://www.w3.org/2000/svg\"><rect id=\"r\"/></svg>";

    EXPECT_FALSE(SVGXImage::imageNamed("late.svg", "token", "7"));
    EXPECT_FALSE(SVGXImage::cacheLineNamed("late.svg"));
    CacheFolder::write("token", "7", "late.svg", plan);
    EXPECT_TRUE(SVGXImage::imageNamed("late.svg", "token", "7"));
    EXPECT_FALSE(SVGXImage::imageNamed("../late.svg", "token", "7"));

    CacheFolder::write("token", "7", "floor.svg", plan);
    auto first = SVGXImage::imageNamed("floor.svg", "token", "7");
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->cameFromGlobalCache());
    EXPECT_EQ(first->nameUsedToInstantiate(), "floor.svg");
    EXPECT_EQ(SVGXImage::cacheLineNamed("floor.svg")->numberOfInstances(), 0);
    // The name alone is the key: another account gets the same image.
    EXPECT_EQ(SVGXImage::imageNamed("floor.svg", "other", "8"), first);
    EXPECT_EQ(SVGXImage::cacheLineNamed("floor.svg")->numberOfInstances(), 1);

    try {
        SVGXImage::imageNamed("floor.svg");
        ADD_FAILURE() << "imageNamed without account returned";
    } catch (const foundation::Exception& exception) {
        EXPECT_EQ(exception.name(), kSVGXImageNamedWithdrawnException);
    }

    // An older copy ending does not take a newer load of its name with it.
    SVGXImage::clearCachedResources();
    EXPECT_FALSE(SVGXImage::cacheLineNamed("floor.svg"));
    auto second = SVGXImage::imageNamed("floor.svg", "token", "7");
    EXPECT_NE(second, first);
    first.reset();
    EXPECT_EQ(SVGXImage::imageNamed("floor.svg", "token", "7"), second);

    foundation::NotificationCenter::defaultCenter().postNotificationName(
        kUIApplicationDidReceiveMemoryWarningNotification);
    EXPECT_FALSE(SVGXImage::cacheLineNamed("floor.svg"));
    EXPECT_FALSE(SVGXImage::cacheLineNamed("late.svg"));
    EXPECT_TRUE(second->CALayerTree());
    SVGMapFolder::registerMapFolder(nullptr);
}

}  // namespace
}  // namespace svg

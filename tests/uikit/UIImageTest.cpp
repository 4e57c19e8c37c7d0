// Images by name from the application's resources, their variants, and the
// image contexts that draw paths, images and layer trees into new images.
#include <gtest/gtest.h>

#include <fstream>

#include "support/TemporaryDirectory.h"
#include "foundation/Bundle.h"
#include "graphics/Layer.h"
#include "graphics/MutablePath.h"
#include "uikit/DeviceProfile.h"
#include "uikit/UIApplication.h"
#include "uikit/UIGraphicsImageContext.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
#include "uikit/UIView.h"

namespace {

using namespace uikit;

class Images : public ::testing::Test {
protected:
    void TearDown() override { UIApplication::sharedApplication().resetForTests(); }
};

graphics::Pixel imagePixelOf(const graphics::Color& color) {
    auto c = color.rgba();
    return {uint8_t(c.red * 255 + 0.5), uint8_t(c.green * 255 + 0.5), uint8_t(c.blue * 255 + 0.5),
            uint8_t(c.alpha * 255 + 0.5)};
}

TEST_F(Images, NamedImagesComeFromTheBuiltResources) {
    DeviceProfile::apply(DeviceProfile::iPhone6());
    auto launch = UIImage::imageNamed("loading_portrait_iphone-667h@2x.png");
    ASSERT_NE(launch, nullptr);
    EXPECT_DOUBLE_EQ(launch->scale(), 2);
    EXPECT_EQ(launch->size(), (graphics::Size{375, 667}));
    EXPECT_EQ(launch->bitmap()->width(), 750);
    // Without the suffix and the extension, the variant of the screen's scale.
    auto same = UIImage::imageNamed("loading_portrait_iphone-667h");
    ASSERT_NE(same, nullptr);
    EXPECT_DOUBLE_EQ(same->scale(), 2);
    EXPECT_EQ(*same->bitmap(), *launch->bitmap());
    // A picture with its own colour has a darker edge; a stretchable bar
    // background none (it would tile as seams); an icon is a mark on a clear
    // ground, so that a tint shows the mark and not a square.
    auto frame = UIImage::imageNamed("start_tutorial_phone_frame");
    ASSERT_NE(frame, nullptr);
    auto inside = frame->bitmap()->pixel(10, 10), edge = frame->bitmap()->pixel(0, 10);
    EXPECT_EQ(inside.alpha, 255);
    EXPECT_LT(edge.red + edge.green + edge.blue, inside.red + inside.green + inside.blue);
    auto bar = UIImage::imageNamed("iOS7_navigation_bar_background");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->bitmap()->pixel(0, 10), bar->bitmap()->pixel(10, 10));
    // Dark: the status bar's light content and the bars' white buttons
    // stand on it.
    EXPECT_LT(bar->bitmap()->pixel(10, 10).red, 40);
    auto icon = UIImage::imageNamed("favStarActive");
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->size(), (graphics::Size{22, 22}));
    auto ground = icon->bitmap()->pixel(0, 0), mark = icon->bitmap()->pixel(11, 11);
    EXPECT_EQ(ground.alpha, 0);
    EXPECT_EQ(mark.alpha, 255);
    EXPECT_NE(UIImage::imageNamed("session_header_placeholder.jpg"), nullptr);
    EXPECT_NE(UIImage::imageNamed("start_tutorial_3"), nullptr);

    EXPECT_EQ(UIImage::imageNamed("no_such_picture.png"), nullptr);
    EXPECT_EQ(UIImage::imageNamed(""), nullptr);
}

TEST_F(Images, VariantsAndFilesKeepWhatTheyWereGiven) {
    auto base = UIImage::imageNamed("textbox_background");
    ASSERT_NE(base, nullptr);
    auto resizable = base->resizableImageWithCapInsets({0, 6, 0, 0});
    EXPECT_EQ(resizable->capInsets(), (UIEdgeInsets{0, 6, 0, 0}));
    EXPECT_EQ(resizable->resizingMode(), UIImageResizingMode::Tile);
    auto stretched = base->resizableImageWithCapInsets(UIEdgeInsetsZero, UIImageResizingMode::Stretch);
    EXPECT_EQ(stretched->resizingMode(), UIImageResizingMode::Stretch);
    EXPECT_EQ(base->capInsets(), UIEdgeInsetsZero);  // the original is untouched
    auto tinted = base->imageWithRenderingMode(UIImageRenderingMode::AlwaysTemplate);
    EXPECT_EQ(tinted->renderingMode(), UIImageRenderingMode::AlwaysTemplate);
    EXPECT_EQ(tinted->bitmap(), base->bitmap());

    // PNG data and files, with the scale a file name announces.
    TemporaryDirectory directory;
    auto data = base->PNGRepresentation();
    {
        std::ofstream out(directory / "copy@3x.png", std::ios::binary);
        out.write(reinterpret_cast<const char*>(data.bytes()), std::streamsize(data.length()));
    }
    auto file = UIImage::imageWithContentsOfFile(directory / "copy@3x.png");
    ASSERT_NE(file, nullptr);
    EXPECT_DOUBLE_EQ(file->scale(), 3);
    EXPECT_DOUBLE_EQ(file->size().width, base->size().width * base->scale() / 3);
    EXPECT_EQ(UIImage::imageWithContentsOfFile(directory / "missing.png"), nullptr);
    EXPECT_EQ(UIImage::imageWithData(foundation::Data::fromString("GIF89a"), 1), nullptr);
    EXPECT_TRUE(UIImage().isEmpty());
    EXPECT_EQ(UIImage().size(), (graphics::Size{0, 0}));

    auto animated = UIImage::animatedImageWithImages({base, nullptr, base}, 0.5);
    ASSERT_NE(animated, nullptr);
    EXPECT_EQ(animated->images().size(), 2u);
    EXPECT_EQ(animated->size(), base->size());
    EXPECT_DOUBLE_EQ(animated->duration(), 0.5);
}

TEST_F(Images, ImageContextRendersALayerTreeAtItsScale) {
    auto color = graphics::Color::rgb(0.2, 0.6, 0.4);
    auto layer = graphics::Layer::layer();
    layer->setAnchorPoint({0, 0});
    layer->setFrame({{0, 0}, {10, 10}});
    layer->setBackgroundColor(color);
    auto sublayer = graphics::Layer::layer();
    sublayer->setAnchorPoint({0, 0});
    sublayer->setFrame({{5, 5}, {5, 5}});
    sublayer->setBackgroundColor(color);
    layer->addSublayer(sublayer);

    UIGraphicsBeginImageContextWithOptions({10, 10}, false, 2);
    ASSERT_NE(UIGraphicsGetCurrentContext(), nullptr);
    layer->renderInContext(*UIGraphicsGetCurrentContext());
    auto image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    EXPECT_EQ(UIGraphicsGetCurrentContext(), nullptr);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->bitmap()->width(), 20);
    EXPECT_EQ(image->bitmap()->height(), 20);
    EXPECT_EQ(image->size(), (graphics::Size{10, 10}));
    for (int y = 0; y < 20; y += 3) {
        for (int x = 0; x < 20; x += 3) EXPECT_EQ(image->bitmap()->pixel(x, y), imagePixelOf(color)) << x << "," << y;
    }

    // Scale 0 takes the screen's; contexts nest; an image drawn into one
    // fills the rect it is given.
    DeviceProfile profile = DeviceProfile::iPhone6Plus();
    DeviceProfile::apply(profile);
    UIGraphicsBeginImageContextWithOptions({4, 4}, false, 0);
    UIGraphicsBeginImageContext({1, 1});
    graphics::MutablePath dot;
    dot.addRect({{0, 0}, {1, 1}});
    UIGraphicsGetCurrentContext()->fillPath(dot, color);
    auto inner = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    inner->drawInRect({{0, 0}, {4, 4}});
    auto outer = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    EXPECT_DOUBLE_EQ(outer->scale(), 3);
    EXPECT_EQ(outer->bitmap()->width(), 12);
    EXPECT_EQ(outer->bitmap()->pixel(11, 11), imagePixelOf(color));
    EXPECT_EQ(UIGraphicsGetImageFromCurrentImageContext(), nullptr);
}

TEST_F(Images, ImageViewPlacesItsImageByContentMode) {
    auto icon = UIImage::imageNamed("note");  // 22 × 22
    auto view = std::make_shared<UIImageView>(icon);
    EXPECT_EQ(view->frame().size, icon->size());
    EXPECT_FALSE(view->isUserInteractionEnabled());
    view->setFrame({{0, 0}, {44, 88}});
    EXPECT_EQ(view->imageRect(), (graphics::Rect{{0, 0}, {44, 88}}));
    view->setContentMode(UIViewContentMode::ScaleAspectFit);
    EXPECT_EQ(view->imageRect(), (graphics::Rect{{0, 22}, {44, 44}}));
    view->setContentMode(UIViewContentMode::ScaleAspectFill);
    EXPECT_EQ(view->imageRect(), (graphics::Rect{{-22, 0}, {88, 88}}));
    view->setContentMode(UIViewContentMode::Center);
    EXPECT_EQ(view->imageRect(), (graphics::Rect{{11, 33}, {22, 22}}));
    auto highlighted = UIImage::imageNamed("favStarActive");
    view->setHighlightedImage(highlighted);
    EXPECT_EQ(view->currentImage(), icon);
    view->setHighlighted(true);
    EXPECT_EQ(view->currentImage(), highlighted);
}

}  // namespace

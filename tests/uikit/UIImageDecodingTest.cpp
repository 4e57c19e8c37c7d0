#include <gtest/gtest.h>

#include "graphics/DecodedImage.h"
#include "service/TestImages.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"

namespace {

foundation::Data dataOf(const std::string& bytes) { return foundation::Data(bytes.data(), bytes.size()); }

TEST(UIImageDecoding, EveryFormatGoesThroughTheDecoder) {
    auto photo = uikit::UIImage::imageWithData(dataOf(testservice::makeJPEG(40, 20)), 2);
    ASSERT_TRUE(photo);
    EXPECT_EQ(photo->size(), (graphics::Size{20, 10}));
    ASSERT_TRUE(photo->decodedImage());
    EXPECT_EQ(photo->decodedImage()->colorModel, graphics::ColorSpace::Model::RGB);
    EXPECT_EQ(photo->bitmap()->width(), 40);

    auto animated = uikit::UIImage::imageWithData(dataOf(testservice::makeAnimatedGIF(6, 4, 3)));
    ASSERT_TRUE(animated);
    ASSERT_EQ(animated->images().size(), 3u);
    EXPECT_DOUBLE_EQ(animated->duration(), 0.3);
    EXPECT_EQ(animated->size(), (graphics::Size{6, 4}));
    EXPECT_EQ(animated->decodedImage()->frames.size(), 3u);

    auto deep = uikit::UIImage::imageWithData(dataOf(testservice::makePNG(3, 3, 16)));
    ASSERT_TRUE(deep);
    EXPECT_EQ(deep->decodedImage()->bitsPerComponent, 16);
    EXPECT_FALSE(uikit::UIImage::imageWithData(dataOf("BM not read here")));
}

TEST(UIImageDecoding, AttachedObjectsLiveAndDieWithTheView) {
    auto object = std::make_shared<int>(7);
    std::weak_ptr<int> watch = object;
    {
        auto view = std::make_shared<uikit::UIImageView>();
        view->setAttachedObject("count", std::move(object));
        EXPECT_EQ(*std::static_pointer_cast<int>(view->attachedObject("count")), 7);
        EXPECT_FALSE(view->attachedObject("other"));
        EXPECT_FALSE(watch.expired());
    }
    EXPECT_TRUE(watch.expired());
}

}  // namespace

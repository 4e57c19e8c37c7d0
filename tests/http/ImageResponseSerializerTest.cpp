// The image response serializer over bodies made by the test image writer:
// what is inflated and what is handed back as decoded, animated GIFs, CMYK
// JPEGs, the content-type gate and archiving.
#include <gtest/gtest.h>

#include "foundation/HTTPURLResponse.h"
#include "foundation/KeyedArchiver.h"
#include "graphics/DecodedImage.h"
#include "http/QNImageResponseSerializer.h"
#include "http/QNNetworking.h"
#include "http/QNSerializerArchiving.h"
#include "service/TestImages.h"
#include "uikit/UIImage.h"

using namespace foundation;
using uikit::UIImagePtr;

namespace {

std::shared_ptr<URLResponse> imageResponse(const std::string& contentType) {
    HTTPHeaders headers;
    headers.set("Content-Type", contentType);
    return std::make_shared<HTTPURLResponse>(URL::URLWithString("http://h/image"), 200, headers);
}

Data imageDataOf(const std::string& bytes) { return Data(bytes.data(), bytes.size()); }

UIImagePtr serialize(const QNImageResponseSerializer& serializer, const std::string& type, const std::string& body,
                     ErrorPtr* error = nullptr) {
    ErrorPtr ignored;
    return serializer.responseObjectForResponse(imageResponse(type), imageDataOf(body), error ? error : &ignored)
        .objectAs<uikit::UIImage>();
}

bool inflated(const UIImagePtr& image) { return image && image->decodedImage() && image->decodedImage()->drawn; }

TEST(ImageResponseSerializer, InflatesPNGAndJPEGWithinTheBound) {
    auto serializer = QNImageResponseSerializer::serializer();
    serializer->setImageScale(2);

    auto square = serialize(*serializer, "image/png", testservice::makePNG(1024, 1024));
    ASSERT_TRUE(square);
    EXPECT_TRUE(inflated(square));
    EXPECT_EQ(square->scale(), 2);
    EXPECT_EQ(square->size(), (graphics::Size{512, 512}));
    EXPECT_EQ(square->decodedImage()->alphaInfo(), graphics::ImageAlphaInfo::PremultipliedFirst);

    auto wide = serialize(*serializer, "image/png", testservice::makePNG(1025, 1024));
    ASSERT_TRUE(wide);
    EXPECT_FALSE(inflated(wide));
    EXPECT_EQ(wide->decodedImage()->width, 1025);
    EXPECT_EQ(wide->scale(), 2);

    auto deep = serialize(*serializer, "image/png", testservice::makePNG(8, 8, 16, testservice::PNGKind::RGB));
    ASSERT_TRUE(deep);
    EXPECT_FALSE(inflated(deep));
    EXPECT_EQ(deep->decodedImage()->bitsPerComponent, 16);

    auto photo = serialize(*serializer, "image/jpeg", testservice::makeJPEG(40, 30));
    ASSERT_TRUE(inflated(photo));
    EXPECT_EQ(photo->decodedImage()->alphaInfo(), graphics::ImageAlphaInfo::NoneSkipFirst);

    // A CMYK JPEG goes the general way and is then drawn into RGB.
    auto cmyk = serialize(*serializer, "image/jpeg", testservice::makeJPEG(40, 30, true));
    ASSERT_TRUE(inflated(cmyk));
    EXPECT_EQ(cmyk->decodedImage()->colorModel, graphics::ColorSpace::Model::RGB);
    graphics::Pixel corner = cmyk->bitmap()->pixel(39, 29);
    EXPECT_NEAR(corner.red, 255, 12);
    EXPECT_NEAR(corner.blue, 160, 12);

    // A PNG served under another image type is decoded in general, then drawn.
    EXPECT_TRUE(inflated(serialize(*serializer, "image/x-icon", testservice::makePNG(4, 4))));
}

TEST(ImageResponseSerializer, AnimatedGIFsAndUninflatedImagesComeBackAsDecoded) {
    auto serializer = QNImageResponseSerializer::serializer();
    auto gif = serialize(*serializer, "image/gif", testservice::makeAnimatedGIF(6, 4, 3));
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->images().size(), 3u);
    EXPECT_FALSE(inflated(gif));

    serializer->setAutomaticallyInflatesResponseImage(false);
    serializer->setImageScale(3);
    auto plain = serialize(*serializer, "image/png", testservice::makePNG(30, 12));
    ASSERT_TRUE(plain);
    EXPECT_FALSE(inflated(plain));
    EXPECT_EQ(plain->scale(), 3);
    EXPECT_EQ(plain->size(), (graphics::Size{10, 4}));
    EXPECT_EQ(plain->decodedImage()->alphaInfo(), graphics::ImageAlphaInfo::Last);

    // Nothing to decode: nothing comes back, and no error either.
    ErrorPtr error;
    EXPECT_FALSE(serialize(*serializer, "image/png", "not a picture", &error));
    EXPECT_FALSE(error);
    EXPECT_FALSE(QNInflatedImageForResponse(imageResponse("image/png"), Data(), 1));
    EXPECT_FALSE(QNInflatedImageForResponse(imageResponse("image/png"), std::nullopt, 1));
}

TEST(ImageResponseSerializer, OnlyTheTenImageTypesPass) {
    auto serializer = QNImageResponseSerializer::serializer();
    EXPECT_EQ(serializer->acceptableContentTypes()->size(), 10u);
    ErrorPtr error;
    auto webp = serializer->responseObjectForResponse(imageResponse("image/webp"), imageDataOf(testservice::makePNG(2, 2)), &error);
    EXPECT_TRUE(webp.isAbsent());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain(), kQNURLResponseSerializationErrorDomain);
    EXPECT_EQ(error->code(), -1016);
}

TEST(ImageResponseSerializer, CopiesAndArchivesKeepBothSettings) {
    auto serializer = QNImageResponseSerializer::serializer();
    serializer->setImageScale(3);
    serializer->setAutomaticallyInflatesResponseImage(false);
    serializer->setAcceptableContentTypes(std::set<std::string>{"image/png"});

    auto copy = std::dynamic_pointer_cast<QNImageResponseSerializer>(serializer->copy());
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->imageScale(), 3);
    EXPECT_FALSE(copy->automaticallyInflatesResponseImage());

    QNRegisterSerializerArchiveClasses();
    auto restored = KeyedUnarchiver::unarchiveObjectOfClass<QNImageResponseSerializer>(
        KeyedArchiver::archivedDataWithRootObject(Value(serializer)));
    ASSERT_TRUE(restored);
    EXPECT_EQ(restored->imageScale(), 3);
    EXPECT_FALSE(restored->automaticallyInflatesResponseImage());
    EXPECT_EQ(restored->acceptableContentTypes(), (std::set<std::string>{"image/png"}));
}

}  // namespace

#include "http/QNImageResponseSerializer.h"

#include "foundation/HTTPURLResponse.h"
#include "http/QNImageInflation.h"
#include "uikit/UIImage.h"
#include "uikit/UIScreen.h"

using foundation::Data;
using foundation::ErrorPtr;
using foundation::Value;
using uikit::UIImage;
using uikit::UIImagePtr;

namespace {

constexpr const char* kImageScaleArchiveKey = "imageScale";
constexpr const char* kInflatesArchiveKey = "automaticallyInflatesResponseImage";

}  // namespace

QNImageResponseSerializer::QNImageResponseSerializer() : imageScale_(uikit::UIScreen::mainScreen().scale()) {
    setAcceptableContentTypes(std::set<std::string>{"image/tiff", "image/jpeg", "image/gif", "image/png", "image/ico",
                                                    "image/x-icon", "image/bmp", "image/x-bmp", "image/x-xbitmap",
                                                    "image/x-win-bitmap"});
}

std::shared_ptr<QNImageResponseSerializer> QNImageResponseSerializer::serializer() {
    return std::make_shared<QNImageResponseSerializer>();
}

Value QNImageResponseSerializer::responseObjectForResponse(const std::shared_ptr<foundation::URLResponse>& response,
                                                           const std::optional<Data>& data, ErrorPtr* error) const {
    if (!shouldDecodeBody(response, data, error)) return Value();
    UIImagePtr image;
    if (automaticallyInflatesResponseImage_) {
        image = QNInflatedImageForResponse(response, data, imageScale_);
    } else if (data) {
        image = QNImageFromDataAtScale(*data, imageScale_);
    }
    return Value(image);
}

std::shared_ptr<QNHTTPResponseSerializer> QNImageResponseSerializer::copy() const {
    auto copy = std::make_shared<QNImageResponseSerializer>();
    copyConfigurationTo(*copy);
    copy->imageScale_ = imageScale_;
    copy->automaticallyInflatesResponseImage_ = automaticallyInflatesResponseImage_;
    return copy;
}

void QNImageResponseSerializer::encodeWithCoder(foundation::KeyedArchiver& coder) const {
    QNHTTPResponseSerializer::encodeWithCoder(coder);
    coder.encodeDouble(imageScale_, kImageScaleArchiveKey);
    coder.encodeBool(automaticallyInflatesResponseImage_, kInflatesArchiveKey);
}

std::shared_ptr<QNImageResponseSerializer> QNImageResponseSerializer::initWithCoder(
    const foundation::KeyedUnarchiver& coder) {
    auto serializer = std::make_shared<QNImageResponseSerializer>();
    serializer->decodeConfiguration(coder);
    serializer->imageScale_ = coder.decodeDoubleForKey(kImageScaleArchiveKey);
    serializer->automaticallyInflatesResponseImage_ = coder.decodeBoolForKey(kInflatesArchiveKey);
    return serializer;
}

UIImagePtr QNImageFromDataAtScale(const Data& data, double scale) {
    UIImagePtr decoded = UIImage::imageWithData(data);
    if (!decoded || !decoded->images().empty()) return decoded;
    return UIImage::imageWithDecodedImage(decoded->decodedImage(), scale);
}

UIImagePtr QNInflatedImageForResponse(const std::shared_ptr<foundation::URLResponse>& response,
                                      const std::optional<Data>& data, double scale) {
    if (!data || data->empty()) return nullptr;
    graphics::DecodedImagePtr source;
    if (response && response->MIMEType()) source = QNDirectlyDecodedImage(*response->MIMEType(), *data);
    UIImagePtr fallBack = QNImageFromDataAtScale(*data, scale);
    if (!source) {
        if (!fallBack || !fallBack->images().empty()) return fallBack;
        source = fallBack->decodedImage();
        if (!source) return nullptr;
    }
    auto inflated = QNInflatedDecodedImage(*source);
    if (!inflated) return fallBack;
    return UIImage::imageWithDecodedImage(inflated, scale);
}

// Turns an image response into a decoded image (a uikit::UIImage in the
// result's object slot) at the screen's scale and, unless told not to,
// pre-renders PNG and JPEG images into a plain device-RGB bitmap on the queue
// where the response is serialized, so the image handed on is ready to draw.
// Configured once, then only read, so one serializer serves concurrent calls.
#pragma once

#include <memory>
#include <optional>

#include "http/QNHTTPResponseSerializer.h"

namespace foundation {
class URLResponse;
}
namespace uikit {
class UIImage;
}

class QNImageResponseSerializer : public QNHTTPResponseSerializer {
public:
    // The ten image types; the main screen's scale; inflation on.
    QNImageResponseSerializer();
    static std::shared_ptr<QNImageResponseSerializer> serializer();

    double imageScale() const { return imageScale_; }
    void setImageScale(double scale) { imageScale_ = scale; }
    bool automaticallyInflatesResponseImage() const { return automaticallyInflatesResponseImage_; }
    void setAutomaticallyInflatesResponseImage(bool inflates) { automaticallyInflatesResponseImage_ = inflates; }

    // After the common gate: the image (inflated when asked), or absent.
    foundation::Value responseObjectForResponse(const std::shared_ptr<foundation::URLResponse>& response,
                                                const std::optional<foundation::Data>& data,
                                                foundation::ErrorPtr* error) const override;

    std::shared_ptr<QNHTTPResponseSerializer> copy() const override;
    static constexpr const char* kClassName = "QNImageResponseSerializer";
    std::string className() const override { return kClassName; }
    void encodeWithCoder(foundation::KeyedArchiver& coder) const override;
    static std::shared_ptr<QNImageResponseSerializer> initWithCoder(const foundation::KeyedUnarchiver& coder);

private:
    double imageScale_;
    bool automaticallyInflatesResponseImage_ = true;
};

// The data decoded by the general decoder: an animated image as decoded,
// else a new image of the decoded bitmap at the scale; null when the data
// does not decode.
std::shared_ptr<uikit::UIImage> QNImageFromDataAtScale(const foundation::Data& data, double scale);

// PNG and JPEG bodies (by the response's MIME type) decoded directly, a CMYK
// JPEG and the other types by the general decoder, then redrawn into a
// device-RGB bitmap when within 1024 × 1024 pixels and 8 bits per component;
// otherwise the generally decoded image. Null for no or empty data.
std::shared_ptr<uikit::UIImage> QNInflatedImageForResponse(const std::shared_ptr<foundation::URLResponse>& response,
                                                          const std::optional<foundation::Data>& data, double scale);

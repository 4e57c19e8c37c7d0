// Decoders of the raster formats images arrive in: PNG (libpng), JPEG
// (libjpeg-turbo) and GIF (giflib, every frame). They read outside data, so
// every size is checked before memory is taken: an image of more than
// kMaximumPixels pixels (per frame, and in all frames together) or with a
// side beyond Bitmap::kMaximumSide gives nothing. Data that is not an image
// of the asked format gives nothing; TIFF, ICO and BMP are not read.
#pragma once

#include <cstdint>

#include "foundation/Data.h"
#include "graphics/DecodedImage.h"

namespace graphics {

class ImageDecoder {
public:
    static constexpr uint64_t kMaximumPixels = uint64_t(1) << 24;

    enum class Format { Unknown, PNG, JPEG, GIF };
    // By the leading signature bytes.
    static Format formatOfData(const foundation::Data& data);

    // Whatever format the signature names.
    static DecodedImagePtr decode(const foundation::Data& data);
    // Bits per component and alpha from the file's header and transparency
    // chunk; a palette image reads as 8-bit RGB.
    static DecodedImagePtr decodePNG(const foundation::Data& data);
    // Grey, RGB and CMYK (Adobe's inverted form too, and YCCK); CMYK comes
    // out with the CMYK colour model and pixels converted to RGB.
    static DecodedImagePtr decodeJPEG(const foundation::Data& data);
    // Every frame composed onto the logical screen, with its disposal and
    // transparency, and its delay.
    static DecodedImagePtr decodeGIF(const foundation::Data& data);
};

}  // namespace graphics

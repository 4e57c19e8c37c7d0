// The pre-rendering the image response serializer does on its own queue, on
// decoded images: which bodies are decoded directly by their MIME type, the
// alpha kind a device-RGB redraw gets, and the redraw itself within the
// memory bound (1024 × 1024 pixels, 8 bits per component).
#pragma once

#include <cstdint>
#include <string>

#include "foundation/Data.h"
#include "graphics/DecodedImage.h"

// Pixels above which an image is handed back without redrawing.
inline constexpr uint64_t kQNMaximumInflatedPixels = 1024 * 1024;

// "image/png" through the PNG decoder and "image/jpeg" through the JPEG
// decoder (exact match); null for any other type, for data that does not
// decode, and for a CMYK JPEG, which is left to the general decoder.
graphics::DecodedImagePtr QNDirectlyDecodedImage(const std::string& mimeType, const foundation::Data& data);

// The bitmap information for the redraw: no alpha becomes no alpha skipping
// the first byte; the two skipping kinds stay; every other kind becomes alpha
// premultiplied first. The bits beside the alpha kind stay.
uint32_t QNInflatedBitmapInfo(uint32_t bitmapInfo);

// The image's first bitmap redrawn into a device-RGB bitmap context of its
// size and bits per component; null when it is too large, has more than 8
// bits per component or no such context can be made.
graphics::DecodedImagePtr QNInflatedDecodedImage(const graphics::DecodedImage& image);

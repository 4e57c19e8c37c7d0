// Bitmap storage and its PNG form. PNG encoding and decoding go through
// cairo's image surfaces; the pixel conversion keeps straight alpha on our
// side and premultiplied alpha on cairo's.
#include "graphics/Bitmap.h"

#include <cairo.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>

#include "graphics/CairoSurface.h"

namespace graphics {

Bitmap::Bitmap(int width, int height)
    : width_(std::clamp(width, 0, kMaximumSide)),
      height_(std::clamp(height, 0, kMaximumSide)),
      bytes_(size_t(width_) * size_t(height_) * 4, 0) {}

Pixel Bitmap::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return {};
    const uint8_t* p = &bytes_[(size_t(y) * width_ + x) * 4];
    return {p[0], p[1], p[2], p[3]};
}

void Bitmap::setPixel(int x, int y, Pixel px) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    uint8_t* p = &bytes_[(size_t(y) * width_ + x) * 4];
    p[0] = px.red;
    p[1] = px.green;
    p[2] = px.blue;
    p[3] = px.alpha;
}

namespace detail {

cairo_surface_t* surfaceFromBitmap(const Bitmap& bitmap) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, bitmap.width(), bitmap.height());
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) return surface;
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < bitmap.height(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + size_t(y) * stride);
        for (int x = 0; x < bitmap.width(); ++x) {
            Pixel p = bitmap.pixel(x, y);
            auto pre = [&](uint8_t c) { return uint32_t((c * p.alpha + 127) / 255); };
            row[x] = (uint32_t(p.alpha) << 24) | (pre(p.red) << 16) | (pre(p.green) << 8) | pre(p.blue);
        }
    }
    cairo_surface_mark_dirty(surface);
    return surface;
}

Bitmap bitmapFromSurface(cairo_surface_t* surface) {
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS ||
        cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE) {
        return Bitmap(0, 0);
    }
    cairo_surface_flush(surface);
    cairo_format_t format = cairo_image_surface_get_format(surface);
    if (format != CAIRO_FORMAT_ARGB32 && format != CAIRO_FORMAT_RGB24) return Bitmap(0, 0);
    Bitmap bitmap(cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface));
    const unsigned char* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < bitmap.height(); ++y) {
        auto* row = reinterpret_cast<const uint32_t*>(data + size_t(y) * stride);
        for (int x = 0; x < bitmap.width(); ++x) {
            uint32_t v = row[x];
            uint32_t a = format == CAIRO_FORMAT_RGB24 ? 255 : v >> 24;
            auto straight = [&](uint32_t c) { return uint8_t(a == 0 ? 0 : std::min<uint32_t>(255, (c * 255 + a / 2) / a)); };
            bitmap.setPixel(x, y, {straight((v >> 16) & 0xff), straight((v >> 8) & 0xff), straight(v & 0xff), uint8_t(a)});
        }
    }
    return bitmap;
}

}  // namespace detail

namespace {

cairo_status_t appendToFile(void* closure, const unsigned char* bytes, unsigned int length) {
    auto& file = *static_cast<std::ofstream*>(closure);
    file.write(reinterpret_cast<const char*>(bytes), std::streamsize(length));
    return file ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}

foundation::ErrorPtr notWritten(const std::string& path, int code, const std::string& why) {
    return foundation::Error::withDescription(foundation::kPOSIXErrorDomain, code, "Could not write " + path + ": " + why);
}

}  // namespace

namespace detail {

foundation::ErrorPtr writeSurfacePNG(cairo_surface_t* surface, const std::string& path) {
    // PNG has no form for an image without pixels.
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS ||
        cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE || cairo_image_surface_get_width(surface) == 0 ||
        cairo_image_surface_get_height(surface) == 0) {
        return notWritten(path, EINVAL, "the image has no pixels");
    }
    errno = 0;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    cairo_status_t status = CAIRO_STATUS_WRITE_ERROR;
    if (file) status = cairo_surface_write_to_png_stream(surface, appendToFile, &file);
    if (file) file.flush();
    if (!file || status != CAIRO_STATUS_SUCCESS) {
        int code = errno ? errno : EIO;
        return notWritten(path, code, std::strerror(code));
    }
    return nullptr;
}

}  // namespace detail

namespace {

cairo_status_t appendToData(void* closure, const unsigned char* bytes, unsigned int length) {
    static_cast<foundation::Data*>(closure)->append(bytes, length);
    return CAIRO_STATUS_SUCCESS;
}

struct Reader {
    const foundation::Data* data;
    size_t offset = 0;
};

cairo_status_t readFromData(void* closure, unsigned char* bytes, unsigned int length) {
    auto* r = static_cast<Reader*>(closure);
    if (r->data->length() - r->offset < length) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(bytes, r->data->bytes() + r->offset, length);
    r->offset += length;
    return CAIRO_STATUS_SUCCESS;
}

}  // namespace

foundation::Data Bitmap::pngData() const {
    foundation::Data out;
    // PNG has no form for an image without pixels.
    if (width_ == 0 || height_ == 0) return out;
    cairo_surface_t* surface = detail::surfaceFromBitmap(*this);
    cairo_surface_write_to_png_stream(surface, appendToData, &out);
    cairo_surface_destroy(surface);
    return out;
}

foundation::ErrorPtr Bitmap::writePNG(const std::string& path) const {
    if (width_ == 0 || height_ == 0) return notWritten(path, EINVAL, "the image has no pixels");
    cairo_surface_t* surface = detail::surfaceFromBitmap(*this);
    foundation::ErrorPtr error = detail::writeSurfacePNG(surface, path);
    cairo_surface_destroy(surface);
    return error;
}

std::shared_ptr<Bitmap> Bitmap::fromPNGData(const foundation::Data& data) {
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (data.length() < 8 || std::memcmp(data.bytes(), kSignature, 8) != 0) return nullptr;
    Reader reader{&data};
    cairo_surface_t* surface = cairo_image_surface_create_from_png_stream(readFromData, &reader);
    std::shared_ptr<Bitmap> result;
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
        result = std::make_shared<Bitmap>(detail::bitmapFromSurface(surface));
    }
    cairo_surface_destroy(surface);
    return result;
}

}  // namespace graphics

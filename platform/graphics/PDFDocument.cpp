#include "graphics/PDFDocument.h"

#include <cairo.h>
#include <poppler.h>

#include <cmath>

#include "graphics/CairoSurface.h"
#include "graphics/ImageDecoder.h"

namespace graphics {

struct PDFDocument::Impl {
    PopplerDocument* document = nullptr;
    ~Impl() {
        if (document) g_object_unref(document);
    }
};

std::shared_ptr<PDFDocument> PDFDocument::fromData(const foundation::Data& data) {
    if (data.length() == 0) return nullptr;
    // poppler keeps a reference to the bytes for the document's lifetime.
    GBytes* bytes = g_bytes_new(data.bytes(), data.length());
    GError* error = nullptr;
    PopplerDocument* document = poppler_document_new_from_bytes(bytes, nullptr, &error);
    g_bytes_unref(bytes);
    if (error) g_error_free(error);
    if (!document) return nullptr;
    auto impl = std::make_unique<Impl>();
    impl->document = document;
    return std::shared_ptr<PDFDocument>(new PDFDocument(std::move(impl)));
}

PDFDocument::PDFDocument(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

PDFDocument::~PDFDocument() = default;

int PDFDocument::pageCount() const { return poppler_document_get_n_pages(impl_->document); }

Size PDFDocument::pageSize(int index) const {
    if (index < 0 || index >= pageCount()) return {};
    PopplerPage* page = poppler_document_get_page(impl_->document, index);
    if (!page) return {};
    double width = 0;
    double height = 0;
    poppler_page_get_size(page, &width, &height);
    g_object_unref(page);
    if (!std::isfinite(width) || !std::isfinite(height) || width < 0 || height < 0) return {};
    return {width, height};
}

BitmapPtr PDFDocument::renderPage(int index, double scale) const {
    if (!(scale > 0) || !std::isfinite(scale)) return nullptr;
    const Size size = pageSize(index);
    const double width = std::ceil(size.width * scale);
    const double height = std::ceil(size.height * scale);
    if (!(width >= 1) || !(height >= 1) || width > Bitmap::kMaximumSide || height > Bitmap::kMaximumSide ||
        width * height > double(ImageDecoder::kMaximumPixels))
        return nullptr;
    PopplerPage* page = poppler_document_get_page(impl_->document, index);
    if (!page) return nullptr;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(width), int(height));
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_scale(cr, scale, scale);
    poppler_page_render(page, cr);
    cairo_destroy(cr);
    g_object_unref(page);
    auto bitmap = std::make_shared<Bitmap>(detail::bitmapFromSurface(surface));
    cairo_surface_destroy(surface);
    if (bitmap->width() == 0) return nullptr;
    return bitmap;
}

}  // namespace graphics

// Drives the PDF reader (poppler behind platform/graphics/PDFDocument) over
// arbitrary bytes as the document preview reads a downloaded file: open it,
// count its pages and draw the first one small.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "graphics/ImageDecoder.h"
#include "graphics/PDFDocument.h"

// Drawing text loads fontconfig's caches, which it keeps for the process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    auto document = graphics::PDFDocument::fromData(foundation::Data(bytes, size));
    if (!document) return 0;
    if (document->pageCount() < 0) std::abort();
    const graphics::Size page = document->pageSize(0);
    if (!(page.width >= 0) || !(page.height >= 0)) std::abort();
    if (auto bitmap = document->renderPage(0, 0.25)) {
        if (uint64_t(bitmap->width()) * uint64_t(bitmap->height()) > graphics::ImageDecoder::kMaximumPixels) std::abort();
        if (bitmap->pixel(0, 0).alpha != 255) std::abort();
    }
    return 0;
}

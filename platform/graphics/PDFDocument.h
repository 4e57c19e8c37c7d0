// A PDF file as poppler reads it: its pages, each page's size in points, and
// a page drawn to pixels through poppler's cairo renderer, as a person sees
// it on paper (white behind it). The file is outside data: a document
// poppler cannot open (damaged, encrypted, not a PDF) gives nothing, and a
// page is drawn only at sizes within ImageDecoder's pixel limit.
#pragma once

#include <memory>

#include "foundation/Data.h"
#include "graphics/Bitmap.h"
#include "graphics/Geometry.h"

namespace graphics {

class PDFDocument {
public:
    // Null when poppler cannot open the data.
    static std::shared_ptr<PDFDocument> fromData(const foundation::Data& data);
    ~PDFDocument();
    PDFDocument(const PDFDocument&) = delete;
    PDFDocument& operator=(const PDFDocument&) = delete;

    int pageCount() const;
    // Zero outside the document.
    Size pageSize(int index) const;
    // The page at `scale` pixels per point; null outside the document, for
    // a scale that is not positive, or when the pixels would pass the limit.
    BitmapPtr renderPage(int index, double scale) const;

private:
    struct Impl;
    explicit PDFDocument(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace graphics

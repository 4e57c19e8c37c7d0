#include "service/TestDocuments.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include <sstream>

namespace testservice {

namespace {

constexpr double kPageWidth = 595;
constexpr double kPageHeight = 842;
constexpr double kMargin = 56;
constexpr double kTitleSize = 24;
constexpr double kTextSize = 12;
constexpr double kLeading = 18;

cairo_status_t appendToString(void* closure, const unsigned char* bytes, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(bytes), length);
    return CAIRO_STATUS_SUCCESS;
}

// Greedy wrapping at spaces by the face's own widths; answers the y below.
double showWrapped(cairo_t* cr, const std::string& text, double y) {
    std::istringstream words(text);
    std::string line;
    auto flush = [&] {
        cairo_move_to(cr, kMargin, y);
        cairo_show_text(cr, line.c_str());
        y += kLeading;
        line.clear();
    };
    for (std::string word; words >> word;) {
        std::string candidate = line.empty() ? word : line + " " + word;
        cairo_text_extents_t extents;
        cairo_text_extents(cr, candidate.c_str(), &extents);
        if (!line.empty() && extents.x_advance > kPageWidth - 2 * kMargin) flush();
        line = line.empty() ? word : line + " " + word;
    }
    if (!line.empty()) flush();
    return y;
}

}  // namespace

std::string makePDF(const std::string& title, const std::vector<std::string>& paragraphs) {
    std::string out;
    cairo_surface_t* surface = cairo_pdf_surface_create_for_stream(appendToString, &out, kPageWidth, kPageHeight);
    // A fixed date keeps the bytes the same from run to run.
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATE_DATE, "2026-01-01T00:00:00Z");
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_TITLE, title.c_str());
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, kTitleSize);
    cairo_move_to(cr, kMargin, kMargin + kTitleSize);
    cairo_show_text(cr, title.c_str());
    double y = kMargin + kTitleSize + 16;
    cairo_set_source_rgb(cr, 0.29, 0.56, 0.85);
    cairo_rectangle(cr, kMargin, y, kPageWidth - 2 * kMargin, 3);
    cairo_fill(cr);
    y += 3 + 32;
    cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, kTextSize);
    for (const auto& paragraph : paragraphs) y = showWrapped(cr, paragraph, y) + kLeading / 2;
    cairo_show_page(cr);
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    const bool failed = cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return failed ? std::string() : out;
}

}  // namespace testservice

// A page drawn by poppler from a PDF that cairo wrote (as the local service
// serves its documents), and the files it refuses.
#include <gtest/gtest.h>

#include <limits>

#include "graphics/PDFDocument.h"
#include "service/TestDocuments.h"

namespace {

using graphics::PDFDocument;

bool isPaper(const graphics::Pixel& p) { return p.red > 250 && p.green > 250 && p.blue > 250 && p.alpha == 255; }

// Rows [top, bottom) hold a pixel darker than mid grey.
bool hasInkInRows(const graphics::Bitmap& page, int top, int bottom) {
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < page.width(); ++x)
            if (page.pixel(x, y).red < 128) return true;
    return false;
}

TEST(PDFDocumentTest, TheFirstPageIsDrawnOnWhiteAtTheAskedScale) {
    auto document = PDFDocument::fromData(foundation::Data::fromString(testservice::makePDF("Venue guide", {"Doors open at eight."})));
    ASSERT_TRUE(document);
    EXPECT_EQ(document->pageCount(), 1);
    EXPECT_EQ(document->pageSize(0), graphics::Size(595, 842));
    EXPECT_EQ(document->pageSize(1), graphics::Size());

    auto page = document->renderPage(0, 0.5);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->width(), 298);
    EXPECT_EQ(page->height(), 421);
    EXPECT_TRUE(isPaper(page->pixel(2, 2)));
    // The title and text stand at the top; the rest of the page is paper.
    EXPECT_TRUE(hasInkInRows(*page, 0, page->height() / 4));
    EXPECT_FALSE(hasInkInRows(*page, page->height() / 2, page->height()));
}

TEST(PDFDocumentTest, DataPopplerCannotDrawGivesNothing) {
    EXPECT_FALSE(PDFDocument::fromData(foundation::Data()));
    EXPECT_FALSE(PDFDocument::fromData(foundation::Data::fromString("plain text, not a document")));
    auto document = PDFDocument::fromData(foundation::Data::fromString(testservice::makePDF("Plan", {})));
    ASSERT_TRUE(document);
    EXPECT_FALSE(document->renderPage(1, 1));
    EXPECT_FALSE(document->renderPage(-1, 1));
    EXPECT_FALSE(document->renderPage(0, 0));
    EXPECT_FALSE(document->renderPage(0, std::numeric_limits<double>::infinity()));
    // 595 × 842 points at 10 pixels each pass the pixel limit.
    EXPECT_FALSE(document->renderPage(0, 10));
}

}  // namespace

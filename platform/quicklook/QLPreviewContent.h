// What the preview shows of a file, read once when the item is asked for:
// a PDF's first page drawn by poppler, a picture (PNG, JPEG, GIF) through the
// image decoder, and for any other file, or one that does not read as its
// kind, its title, kind and size. The kind follows the file's bytes first
// and its extension after, so a PDF cached under another name still shows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "foundation/URL.h"
#include "graphics/Bitmap.h"

namespace quicklook {

struct QLPreviewContent {
    enum class Kind { Missing, PDF, Picture, Other };

    // The file at the item's location; Missing for an address that is not a
    // file or a file that cannot be read.
    static QLPreviewContent ofItem(const foundation::URL& item, const std::optional<std::string>& title);

    Kind kind = Kind::Missing;
    // The first page (drawn at kPixelsPerPoint) or the picture's first frame.
    graphics::BitmapPtr image;
    int pageCount = 0;
    // The item's title, else the file's name.
    std::string title;
    // "PDF document", "JPEG image", "Word document", "TXT document"...
    std::string kindName;
    uint64_t byteCount = 0;
    // "812 bytes", "14 KB", "2.3 MB".
    std::string sizeText() const;

    // A page is drawn at twice its size in points, so it stays sharp on a
    // screenshot at the screen's scale.
    static constexpr double kPixelsPerPoint = 2;
};

}  // namespace quicklook

// Which map files are floor plans. A level of a venue may link, beside its
// SVG plans, a PNG or JPEG background: that file is downloaded and kept for
// the screens, but it is no SVG, so the parse run leaves it alone rather
// than counting it as a plan that failed.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace MapFileKind {

// A raster image by the file reference's extension (".png", ".jpg",
// ".jpeg", any case; ".svg" is a plan), or, for any other name, by the
// first bytes of the file at the path asked for (the PNG or JPEG
// signature). An unreadable file is not called an image.
bool isRasterImage(const std::string& fileReference, const std::function<std::optional<std::string>()>& path);

}  // namespace MapFileKind

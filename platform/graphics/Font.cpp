// Font values: the size is sanitised once here so metrics never turn
// negative or non-finite.
#include "graphics/Font.h"

#include <cmath>

namespace graphics {

Font::Font(std::string name, double pointSize, FontMetrics metrics)
    : name_(std::move(name)),
      pointSize_(std::isfinite(pointSize) && pointSize > 0 ? pointSize : 0.0),
      metrics_(metrics) {}

}  // namespace graphics

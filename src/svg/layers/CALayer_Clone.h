// Deep copy of a layer and everything below it. Colours, paths and images are
// shared with the source; string-keyed layer values are left behind, so a
// clone keeps only the name of the element it came from.
#pragma once

#include "graphics/Layer.h"

namespace svg {

// A new layer of the source's own class; the source is left untouched.
graphics::LayerPtr cloneRecursively(const graphics::Layer& layer);

}  // namespace svg

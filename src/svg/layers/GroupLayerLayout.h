// The layout the two group kinds share: the group's layer is framed on the
// union of a starting rectangle and its sublayers' frames, and the sublayers
// move by the frame's origin so they stay where they are drawn. The kinds
// differ only in where the union starts.
#pragma once

#include "graphics/Layer.h"

namespace svg {

void frameLayerAroundSublayers(graphics::Layer& layer, const graphics::Rect& start);

}  // namespace svg

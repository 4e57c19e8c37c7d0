// Group layout. Sublayers are moved by their position rather than re-framed,
// so one that carries a transform (a use element's) moves with its transform
// intact.
#include "svg/layers/GroupLayerLayout.h"

namespace svg {

void frameLayerAroundSublayers(graphics::Layer& layer, const graphics::Rect& start) {
    graphics::Rect united = start;
    for (const auto& sublayer : layer.sublayers()) united = united.unionWith(sublayer->frame());
    if (united.isNull()) return;
    layer.setFrame(united);
    for (const auto& sublayer : layer.sublayers()) {
        graphics::Point position = sublayer->position();
        sublayer->setPosition({position.x - united.origin.x, position.y - united.origin.y});
    }
}

}  // namespace svg

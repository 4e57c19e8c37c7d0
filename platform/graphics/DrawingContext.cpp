// The shared parts of every drawing context.
#include "graphics/DrawingContext.h"

#include "graphics/Layer.h"

namespace graphics {

void DrawingContext::renderLayer(const Layer& layer) { layer.renderInContext(*this); }

}  // namespace graphics

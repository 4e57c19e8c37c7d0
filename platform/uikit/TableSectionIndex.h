// A table's section index, drawn over its rows along the right edge of what
// is in view, as the platform draws it: the titles stacked in the tint,
// centred top to bottom.
#pragma once

namespace graphics {
class DrawingContext;
}

namespace uikit {

class UITableView;

void drawSectionIndex(UITableView& table, graphics::DrawingContext& context);

}  // namespace uikit

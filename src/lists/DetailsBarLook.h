// The navigation bar's own look, kept while details screens restyle the bar
// (transparent over their header, or white with the header's strip) and given
// back when the last of them leaves it, so the screen under them finds its bar
// as it left it. Several details screens may hold one bar at once (one pushed
// on another): the look is kept by the first and given back by the last.
// Main thread only.
#pragma once

#include <memory>

namespace uikit {
class UINavigationBar;
}

namespace DetailsBarLook {

// A details screen starts holding the bar (keeping its look if nobody holds it).
void hold(const std::shared_ptr<uikit::UINavigationBar>& bar);
// A details screen is about to restyle the bar before it holds it (its view
// loads before it appears): the look is kept now if nobody holds the bar.
void keep(const std::shared_ptr<uikit::UINavigationBar>& bar);
// A details screen without a header to show through the bar shows the bar's
// own look (kept now if nobody holds the bar), without giving it back.
void showKept(const std::shared_ptr<uikit::UINavigationBar>& bar);
// A details screen stops holding the bar; the last one gives the look back.
void release(const std::shared_ptr<uikit::UINavigationBar>& bar);

}  // namespace DetailsBarLook

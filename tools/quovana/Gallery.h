// The gallery: a storyboard of its own holding a few screens of stock
// controls, something to drive and look at with the app mode before (and
// beside) the app's own screens. Its root is a navigation controller over a
// grouped table: a row per stock control, a row pushing a second screen (a
// text view and a web view with a link), a row that slides a coloured view
// away (10 s after 0.3 s), rows pushing the search page (GallerySearch.h),
// the pull-to-refresh page (GalleryPullToRefresh.h), the "Effects and
// badges" page (GalleryEffects.h) and the "Home title view" page
// (GalleryHomeTitle.h), an "Alert" item on the right and, on the pad, a
// "Form sheet" item on the left. What the gallery's screens are asked for
// (a text field's changes, a link, the slide's end) shows in the app's log.
#pragma once

#include <memory>

namespace uikit {
class UIStoryboard;
}

namespace quovana {

inline constexpr const char* kGalleryStoryboardName = "Gallery";
// The navigation controller over the table (the initial scene).
inline constexpr const char* kGalleryRootScene = "galleryRoot";
inline constexpr const char* kGalleryControlsScene = "galleryControls";
inline constexpr const char* kGallerySecondScene = "gallerySecondScreen";
inline constexpr const char* kGalleryFormSheetScene = "galleryFormSheet";

// Registers the gallery's storyboard, filling it on first use; answers it.
std::shared_ptr<uikit::UIStoryboard> registerGalleryStoryboard();

}  // namespace quovana

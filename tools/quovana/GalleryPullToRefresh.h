// The gallery's "Pull to refresh" page: a list of numbered rows on the app's
// own list base with pull to refresh on, so the app mode can pull it, watch
// the spinner and the band, and see in the log which pulls reached the list.
#pragma once

#include <memory>

namespace uikit {
class UIViewController;
}

namespace quovana {

inline constexpr const char* kGalleryPullToRefreshScene = "galleryPullToRefresh";
// Logged each time a pull reaches the list (at most once per 10 s).
inline constexpr const char* kGalleryListRefreshedMessage = "Gallery list refreshed";

// A new page, its view not yet loaded.
std::shared_ptr<uikit::UIViewController> makeGalleryPullToRefreshController();

}  // namespace quovana

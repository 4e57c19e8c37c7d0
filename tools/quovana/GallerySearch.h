// The gallery's "Search" page: forty countries in a list under a search bar
// (the app's own, with the placeholder "Search") whose search display
// controller filters them by name or by capital (the scopes "Name" and
// "Capital"). A chosen result stays selected and shows in the app's log.
#pragma once

#include <memory>

namespace uikit {
class UIViewController;
}

namespace quovana {

inline constexpr const char* kGallerySearchScene = "gallerySearch";

// A new page, its view not yet loaded.
std::shared_ptr<uikit::UIViewController> makeGallerySearchController();

}  // namespace quovana

// The filter screens' scenes in a device storyboard: the navigation
// controller a list's filter segue opens (rooted at the filters screen),
// the filters screen with its Apply and Cancel buttons, and the values
// screen, with the segues between them and back to the list. Main thread only.
#pragma once

namespace uikit {
class UIStoryboard;
}

namespace FilterScreenScenes {

// What a list's filter segue names as its destination.
inline constexpr const char* kFiltersNavigationScene = "filtersNavigationController";
inline constexpr const char* kFiltersScene = "FiltersTableViewController";
inline constexpr const char* kSelectFilterScene = "SelectFilterTableViewController";
// The list's action that "applyFiltersSegID" unwinds to: it takes the
// filters screen's `filtersArray` (the segue's source) with filterCollectionBy.
inline constexpr const char* kListApplyFiltersAction = "unwindOnFiltersApplyButtonPressed:";
// Outlet names of the filters screen's bar buttons.
inline constexpr const char* kApplyButtonOutlet = "applyButton";
inline constexpr const char* kCancelButtonOutlet = "cancelButton";

void addScenes(uikit::UIStoryboard& storyboard);

}  // namespace FilterScreenScenes

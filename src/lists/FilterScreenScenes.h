// The filter screens' scenes in a device storyboard: the navigation
// controller a list's filter segue opens (rooted at the filters screen),
// the filters screen with its Apply and Cancel buttons, and the values
// screen, with the segues between them and back to the list. Main thread only.
#pragma once

#include <functional>
#include <memory>
#include <string>

class FiltersTableViewController;
namespace uikit {
class UIPopoverController;
class UIStoryboard;
class UIStoryboardSegue;
}  // namespace uikit

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

// A list scene's segue to the filters screen: a popover on the pad, modal
// on the phone. The list hands the screen its filters in prepareForSegue
// (prepareListFiltersSegue).
void addListFiltersSegue(uikit::UIStoryboard& storyboard, const std::string& listScene, const char* identifier,
                         bool pad);
// That segue about to run: its filters screen (inside the navigation
// controller) goes to prepare; answers the popover the screen opens in on
// the pad, null elsewhere.
std::shared_ptr<uikit::UIPopoverController> prepareListFiltersSegue(
    uikit::UIStoryboardSegue& segue, const std::function<void(FiltersTableViewController&)>& prepare);

}  // namespace FilterScreenScenes

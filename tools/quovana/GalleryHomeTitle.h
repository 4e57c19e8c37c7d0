// The gallery's "Home title view" page: the home screen's title block at a
// phone header's size for a meeting's name, description, city and period,
// once plain and once with an important message holding a link, above the
// session row in each of its looks (plain, cancelled, invitation, personal
// entry with a note).
#pragma once

#include <cstdint>
#include <memory>

namespace uikit {
class UIStoryboard;
class UITableView;
class UITableViewCell;
}  // namespace uikit

namespace quovana {

inline constexpr const char* kGalleryHomeTitleScene = "galleryHomeTitle";
// The page's row in the gallery's "Screens" section.
inline constexpr int64_t kGalleryHomeTitleRow = 5;

// The row's cell, which pushes the page.
std::shared_ptr<uikit::UITableViewCell> galleryHomeTitleCell(uikit::UITableView& table);
// Registers the page and the push from its row in the scene `fromScene`.
void addGalleryHomeTitle(uikit::UIStoryboard& storyboard, const char* fromScene);

}  // namespace quovana

// The gallery's "Effects and badges" page: a picture with its blurred and
// tinted looks side by side, a segmented control with count badges over its
// segments, and a line of HTML shown as plain text.
#pragma once

#include <cstdint>
#include <memory>

namespace uikit {
class UIStoryboard;
class UITableView;
class UITableViewCell;
}  // namespace uikit

namespace quovana {

inline constexpr const char* kGalleryEffectsScene = "galleryEffects";
// The page's row in the gallery's "Screens" section.
inline constexpr int64_t kGalleryEffectsRow = 4;

// The row's cell, which pushes the page.
std::shared_ptr<uikit::UITableViewCell> galleryEffectsCell(uikit::UITableView& table);
// Registers the page and the push from its row in the scene `fromScene`.
void addGalleryEffects(uikit::UIStoryboard& storyboard, const char* fromScene);

}  // namespace quovana

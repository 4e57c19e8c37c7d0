// The editing rules that the personal-note cell and the note view share:
// editing starts only online (else the offline alert), the change rule's
// measuring, and the end rule (trimmed text put back, placeholder, whether
// the owner hears of it). Main thread only.
#pragma once

#include <optional>
#include <string>

#include "uikit/NSAttributedString.h"

namespace uikit {
class UILabel;
class UITextView;
}  // namespace uikit

namespace PersonalNoteEditing {

inline constexpr const char* kOfflineTitle = "No internet connection!";
inline constexpr const char* kOfflineMessage = "Personal notes cannot be edited in offline mode.";

// Online: true. Offline: the alert, and false.
bool mayBeginEditing();
// The text the view would hold after the change.
std::string changedText(const uikit::UITextView& view, uikit::NSRange range, const std::string& replacement);
// The height of `text` in the view's font within (width - 15, twice the height).
double measuredHeight(const uikit::UITextView& view, const std::string& text);
// Trims the view's text and puts it back, shows the placeholder when empty;
// the trimmed text when it differs from `before` (the owner is to hear of it).
std::optional<std::string> endEditing(uikit::UITextView& view, uikit::UILabel* placeholder, const std::string& before,
                                      std::string& after);

}  // namespace PersonalNoteEditing

#include "programme/PersonalNoteEditing.h"

#include <algorithm>

#include "Utils/Utils.h"
#include "foundation/StringUtils.h"
#include "uikit/UIAlertView.h"
#include "uikit/UILabel.h"
#include "uikit/UITextView.h"

namespace PersonalNoteEditing {

bool mayBeginEditing() {
    if (Utils::isInternetReachable()) return true;
    auto alert = std::make_shared<uikit::UIAlertView>(std::string(kOfflineTitle), std::string(kOfflineMessage));
    alert->addButtonWithTitle("OK");
    alert->show();
    return false;
}

std::string changedText(const uikit::UITextView& view, uikit::NSRange range, const std::string& replacement) {
    const std::u16string text = foundation::StringUtils::toUTF16(view.text());
    const size_t location = std::min(range.location, text.size());
    const size_t length = std::min(range.length, text.size() - location);
    return foundation::StringUtils::fromUTF16(text.substr(0, location)) + replacement +
           foundation::StringUtils::fromUTF16(text.substr(location + length));
}

double measuredHeight(const uikit::UITextView& view, const std::string& text) {
    const auto bounds = view.frame().size;
    return Utils::getMeasuredSizeOfLabelWithText(text, view.font(), graphics::Size{bounds.width - 15, 2 * bounds.height})
        .height;
}

std::optional<std::string> endEditing(uikit::UITextView& view, uikit::UILabel* placeholder, const std::string& before,
                                      std::string& after) {
    after = foundation::StringUtils::trim(view.text());
    view.setText(after);
    if (placeholder) placeholder->setHidden(!after.empty());
    if (after == before) return std::nullopt;
    return after;
}

}  // namespace PersonalNoteEditing

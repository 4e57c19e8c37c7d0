// An editable text row: a text view that shows its text light grey while it
// can be edited and black while it cannot.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "uikit/UITableViewCell.h"

namespace uikit {
class UITextView;
class UITextViewDelegate;
}  // namespace uikit

class TextViewEditCell : public uikit::UITableViewCell {
public:
    using uikit::UITableViewCell::UITableViewCell;

    std::shared_ptr<uikit::UITextView> theTextView() const { return theTextView_.lock(); }
    void setTheTextView(const std::shared_ptr<uikit::UITextView>& view) { theTextView_ = view; }

    void configureWithText(std::optional<std::string> text, bool isEditable,
                           const std::shared_ptr<uikit::UITextViewDelegate>& delegate);

    std::string className() const override { return "TextViewEditCell"; }

private:
    std::weak_ptr<uikit::UITextView> theTextView_;
};

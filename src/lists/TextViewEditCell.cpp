#include "lists/TextViewEditCell.h"

#include "uikit/UIColor.h"
#include "uikit/UITextView.h"

void TextViewEditCell::configureWithText(std::optional<std::string> text, bool isEditable,
                                         const std::shared_ptr<uikit::UITextViewDelegate>& delegate) {
    auto textView = theTextView_.lock();
    if (!textView) return;
    textView->setText(text.value_or(std::string()));
    textView->setEditable(isEditable);
    textView->setDelegate(delegate);
    textView->setTextColor(isEditable ? uikit::UIColor::lightGrayColor() : uikit::UIColor::blackColor());
}

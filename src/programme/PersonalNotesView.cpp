#include "programme/PersonalNotesView.h"

#include "programme/PersonalNoteEditing.h"
#include "programme/PersonalNotesViewDelegate.h"
#include "uikit/UIFont.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"

void PersonalNotesView::initDataContent(const std::optional<std::string>& note) {
    const graphics::Size size = frame().size;
    const auto font = uikit::UIFont::fontWithName(kFontName, kFontSize);

    backgroundImageView_ = std::make_shared<uikit::UIImageView>(graphics::Rect{0, 0, size.width, size.height});
    backgroundImageView_->setImage(uikit::UIImage::imageNamed(kBackgroundImageName));
    backgroundImageView_->setContentMode(uikit::UIViewContentMode::ScaleToFill);
    addSubview(backgroundImageView_);

    textView_ = std::make_shared<uikit::UITextView>(graphics::Rect{15, 0, size.width - 30, size.height - 20});
    textView_->setEditable(true);
    textView_->setScrollEnabled(false);
    textView_->setBackgroundColor(graphics::Color::clear());
    textView_->setFont(font);
    textView_->setDelegate(std::dynamic_pointer_cast<uikit::UITextViewDelegate>(shared_from_this()));
    addSubview(textView_);

    placeholderLabel_ = std::make_shared<uikit::UILabel>(graphics::Rect{20, 5, size.width - 60, 20});
    placeholderLabel_->setBackgroundColor(graphics::Color::clear());
    placeholderLabel_->setText(std::string(kPlaceholderText));
    placeholderLabel_->setFont(font);
    addSubview(placeholderLabel_);

    const bool hasNote = note && !note->empty();
    if (hasNote) textView_->setText(*note);
    placeholderLabel_->setHidden(hasNote);
}

bool PersonalNotesView::textViewShouldBeginEditing(uikit::UITextView&) {
    return PersonalNoteEditing::mayBeginEditing();
}

void PersonalNotesView::textViewDidBeginEditing(uikit::UITextView& view) {
    if (placeholderLabel_) placeholderLabel_->setHidden(true);
    noteContentBeforeFocus_ = view.text();
}

bool PersonalNotesView::textViewShouldChangeTextInRange(uikit::UITextView& view, uikit::NSRange range,
                                                        const std::string& replacement) {
    const std::string newText = PersonalNoteEditing::changedText(view, range, replacement);
    return PersonalNoteEditing::measuredHeight(view, newText) <= view.frame().size.height;
}

void PersonalNotesView::textViewDidEndEditing(uikit::UITextView& view) {
    auto changed =
        PersonalNoteEditing::endEditing(view, placeholderLabel_.get(), noteContentBeforeFocus_, noteContentAfterFocus_);
    if (changed)
        if (auto owner = delegate()) owner->endEditingNote(*changed);
}

// The personal-note editor as a plain view: a note-paper picture, a text
// view and a placeholder, with the note cell's offline refusal and its begin
// and end rules; a change is refused when its text would not fit the text
// view's own height, and no height changes are sent. Built by
// initDataContent; the owner hears of a changed note. Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "uikit/UITextView.h"
#include "uikit/UIView.h"

class PersonalNotesViewDelegate;
namespace uikit {
class UIImageView;
class UILabel;
}  // namespace uikit

class PersonalNotesView : public uikit::UIView, public uikit::UITextViewDelegate {
public:
    static constexpr const char* kBackgroundImageName = "post_note.png";
    static constexpr const char* kFontName = "BradleyHandITCTT-Bold";
    static constexpr double kFontSize = 14;
    static constexpr const char* kPlaceholderText = "Tap to add personal notes";

    using uikit::UIView::UIView;

    // Builds the picture, the text view and the placeholder over the frame,
    // holding `note` (the placeholder shows when it is none or empty).
    void initDataContent(const std::optional<std::string>& note);

    std::shared_ptr<PersonalNotesViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(const std::shared_ptr<PersonalNotesViewDelegate>& delegate) { delegate_ = delegate; }
    const std::shared_ptr<uikit::UITextView>& textView() const { return textView_; }
    const std::shared_ptr<uikit::UILabel>& placeholderLabel() const { return placeholderLabel_; }
    const std::shared_ptr<uikit::UIImageView>& backgroundImageView() const { return backgroundImageView_; }

    bool textViewShouldBeginEditing(uikit::UITextView& view) override;
    void textViewDidBeginEditing(uikit::UITextView& view) override;
    bool textViewShouldChangeTextInRange(uikit::UITextView& view, uikit::NSRange range,
                                         const std::string& replacement) override;
    void textViewDidEndEditing(uikit::UITextView& view) override;

    std::string className() const override { return "PersonalNotesView"; }

private:
    std::weak_ptr<PersonalNotesViewDelegate> delegate_;
    std::shared_ptr<uikit::UIImageView> backgroundImageView_;
    std::shared_ptr<uikit::UITextView> textView_;
    std::shared_ptr<uikit::UILabel> placeholderLabel_;
    std::string noteContentBeforeFocus_;
    std::string noteContentAfterFocus_;
};

// The personal-note row of the session and participant details: a text view
// typed into directly, a placeholder while the note is empty, and a note
// icon tinted like the cell. Editing starts only online; the text may not
// grow past 136 points; when editing ends, the trimmed text goes back into
// the view and, when it changed, to the owner (personalNotesDelegate), which
// sends it. Nib "QVAPersonalNoteCell", reuse identifier
// "personalNoteCellIdentifier". Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "uikit/UITableViewCell.h"
#include "uikit/UITextView.h"

class QVAPersonalNotesViewDelegate;
namespace uikit {
class UIImageView;
class UILabel;
}  // namespace uikit

class QVAPersonalNoteCell : public uikit::UITableViewCell, public uikit::UITextViewDelegate {
public:
    static constexpr double kMaximumNoteHeight = 136;
    static constexpr const char* kPlaceholderText = "Tap to add personal notes";

    using uikit::UITableViewCell::UITableViewCell;

    static std::string cellNibName();
    static std::string cellIdentifier() { return "personalNoteCellIdentifier"; }
    static std::shared_ptr<QVAPersonalNoteCell> loadFromNib();

    // A non-empty note hides the placeholder and fills the view; none or an
    // empty one changes nothing.
    void configureWithNoteContent(const std::optional<std::string>& note);
    void resignFirstResponderOnTextView();
    void becomeFirstResponderOnTextView();
    bool isPersonalNotesFirstResponder() const;

    // Outlets (weak) and the owner (weak).
    std::shared_ptr<uikit::UITextView> notesTextView() const { return notesTextView_.lock(); }
    void setNotesTextView(const std::shared_ptr<uikit::UITextView>& view);
    std::shared_ptr<uikit::UILabel> placeholderLabel() const { return placeholderLabel_.lock(); }
    void setPlaceholderLabel(const std::shared_ptr<uikit::UILabel>& label) { placeholderLabel_ = label; }
    std::shared_ptr<uikit::UIImageView> noteIcon() const { return noteIcon_.lock(); }
    void setNoteIcon(const std::shared_ptr<uikit::UIImageView>& view) { noteIcon_ = view; }
    std::shared_ptr<QVAPersonalNotesViewDelegate> personalNotesDelegate() const { return personalNotesDelegate_.lock(); }
    void setPersonalNotesDelegate(const std::shared_ptr<QVAPersonalNotesViewDelegate>& d) { personalNotesDelegate_ = d; }
    const std::string& noteContentBeforeFocus() const { return noteContentBeforeFocus_; }
    const std::string& noteContentAfterFocus() const { return noteContentAfterFocus_; }

    // --- The text view's delegate ---
    bool textViewShouldBeginEditing(uikit::UITextView& view) override;
    void textViewDidBeginEditing(uikit::UITextView& view) override;
    bool textViewShouldChangeTextInRange(uikit::UITextView& view, uikit::NSRange range,
                                         const std::string& replacement) override;
    void textViewDidEndEditing(uikit::UITextView& view) override;

    // The icon redrawn as a template image, so it takes the tint colour.
    void drawRect(const graphics::Rect& rect) override;

    std::string className() const override { return "QVAPersonalNoteCell"; }

private:
    std::weak_ptr<uikit::UITextView> notesTextView_;
    std::weak_ptr<uikit::UILabel> placeholderLabel_;
    std::weak_ptr<uikit::UIImageView> noteIcon_;
    std::weak_ptr<QVAPersonalNotesViewDelegate> personalNotesDelegate_;
    std::string noteContentBeforeFocus_;
    std::string noteContentAfterFocus_;
};

#include "programme/QVAPersonalNoteCell.h"

#include "programme/PersonalNoteEditing.h"
#include "programme/QVAPersonalNotesViewDelegate.h"
#include "uikit/UIColor.h"
#include "uikit/UIFont.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UINib.h"

namespace {

constexpr const char* kPersonalNoteCellNibName = "QVAPersonalNoteCell";
constexpr double kPersonalNoteCellWidth = 320;
constexpr double kPersonalNoteCellHeight = 54;
constexpr double kPersonalNoteIconSide = 22;
constexpr double kPersonalNoteTextLeft = 45;

std::vector<foundation::ObjectPtr> personalNoteCellNib(const foundation::ObjectPtr&) {
    auto cell = std::make_shared<QVAPersonalNoteCell>(uikit::UITableViewCellStyle::Default,
                                                      QVAPersonalNoteCell::cellIdentifier());
    cell->setFrame({0, 0, kPersonalNoteCellWidth, kPersonalNoteCellHeight});
    cell->setSelectionStyle(uikit::UITableViewCellSelectionStyle::None);
    auto content = cell->contentView();
    content->setFrame({0, 0, kPersonalNoteCellWidth, kPersonalNoteCellHeight});

    auto icon = std::make_shared<uikit::UIImageView>(
        graphics::Rect{15, (kPersonalNoteCellHeight - kPersonalNoteIconSide) / 2, kPersonalNoteIconSide,
                       kPersonalNoteIconSide});
    icon->setImage(uikit::UIImage::imageNamed("note.png"));
    icon->setOutletName(std::string("noteIcon"));
    content->addSubview(icon);
    cell->setNoteIcon(icon);

    const graphics::Rect textFrame{kPersonalNoteTextLeft, 8, kPersonalNoteCellWidth - kPersonalNoteTextLeft - 10,
                                   kPersonalNoteCellHeight - 16};
    auto text = std::make_shared<uikit::UITextView>(textFrame);
    text->setFont(uikit::UIFont::fontWithName("HelveticaNeue-Light", 14));
    text->setScrollEnabled(false);
    text->setBackgroundColor(graphics::Color::clear());
    text->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);
    text->setOutletName(std::string("notesTextView"));
    content->addSubview(text);
    cell->setNotesTextView(text);

    auto placeholder = std::make_shared<uikit::UILabel>(
        graphics::Rect{kPersonalNoteTextLeft + 5, 16, textFrame.size.width - 10, 20});
    placeholder->setText(std::string(QVAPersonalNoteCell::kPlaceholderText));
    placeholder->setFont(uikit::UIFont::fontWithName("HelveticaNeue-Light", 14));
    placeholder->setTextColor(uikit::UIColor::colorWithWhite(0, 0.35));
    placeholder->setUserInteractionEnabled(false);
    placeholder->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
    placeholder->setOutletName(std::string("placeholderLabel"));
    content->addSubview(placeholder);
    cell->setPlaceholderLabel(placeholder);
    return {cell};
}

}  // namespace

std::string QVAPersonalNoteCell::cellNibName() {
    if (!uikit::UINib::hasNibNamed(kPersonalNoteCellNibName))
        uikit::UINib::registerNib(kPersonalNoteCellNibName, personalNoteCellNib);
    return kPersonalNoteCellNibName;
}

std::shared_ptr<QVAPersonalNoteCell> QVAPersonalNoteCell::loadFromNib() {
    auto objects = uikit::UINib::nibWithNibName(cellNibName())->instantiateWithOwner(nullptr);
    return objects.empty() ? nullptr : std::dynamic_pointer_cast<QVAPersonalNoteCell>(objects.front());
}

void QVAPersonalNoteCell::setNotesTextView(const std::shared_ptr<uikit::UITextView>& view) {
    notesTextView_ = view;
    if (view) view->setDelegate(std::dynamic_pointer_cast<uikit::UITextViewDelegate>(shared_from_this()));
}

void QVAPersonalNoteCell::configureWithNoteContent(const std::optional<std::string>& note) {
    if (!note || note->empty()) return;
    if (auto placeholder = placeholderLabel()) placeholder->setHidden(true);
    if (auto text = notesTextView()) text->setText(*note);
}

void QVAPersonalNoteCell::resignFirstResponderOnTextView() {
    if (auto text = notesTextView()) text->resignFirstResponder();
}

void QVAPersonalNoteCell::becomeFirstResponderOnTextView() {
    if (auto text = notesTextView()) text->becomeFirstResponder();
}

bool QVAPersonalNoteCell::isPersonalNotesFirstResponder() const {
    auto text = notesTextView();
    return text && text->isFirstResponder();
}

bool QVAPersonalNoteCell::textViewShouldBeginEditing(uikit::UITextView&) {
    return PersonalNoteEditing::mayBeginEditing();
}

void QVAPersonalNoteCell::textViewDidBeginEditing(uikit::UITextView& view) {
    if (auto placeholder = placeholderLabel()) placeholder->setHidden(true);
    noteContentBeforeFocus_ = view.text();
}

bool QVAPersonalNoteCell::textViewShouldChangeTextInRange(uikit::UITextView& view, uikit::NSRange range,
                                                          const std::string& replacement) {
    const std::string newText = PersonalNoteEditing::changedText(view, range, replacement);
    const double currentHeight = PersonalNoteEditing::measuredHeight(view, view.text());
    const double newHeight = PersonalNoteEditing::measuredHeight(view, newText);
    if (newHeight > kMaximumNoteHeight) return false;
    if (newHeight != currentHeight)
        if (auto owner = personalNotesDelegate()) owner->refreshNoteCellHeightWithText(newText);
    return true;
}

void QVAPersonalNoteCell::textViewDidEndEditing(uikit::UITextView& view) {
    auto changed = PersonalNoteEditing::endEditing(view, placeholderLabel().get(), noteContentBeforeFocus_,
                                                   noteContentAfterFocus_);
    if (changed)
        if (auto owner = personalNotesDelegate()) owner->endEditingNote(*changed);
}

void QVAPersonalNoteCell::drawRect(const graphics::Rect& rect) {
    uikit::UITableViewCell::drawRect(rect);
    auto icon = noteIcon();
    if (icon && icon->image() && icon->image()->renderingMode() != uikit::UIImageRenderingMode::AlwaysTemplate)
        icon->setImage(icon->image()->imageWithRenderingMode(uikit::UIImageRenderingMode::AlwaysTemplate));
}

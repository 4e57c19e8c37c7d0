// A multi-line text view. Editable views take the keyboard as text fields do
// (should-begin, did-begin, keyboard shown; did-end, keyboard hidden on
// resigning). A person's typing (typeText, for tests and the app mode) goes
// character by character through should-change-text, and each change is
// followed by did-change; setting the text in code tells nobody. Its size
// comes from the text measurer inside the text container's insets (8 points
// above and below, 5 points of line padding on each side). Scrolling is only
// recorded here.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "uikit/NSAttributedString.h"
#include "uikit/UIEdgeInsets.h"
#include "uikit/UIFont.h"
#include "uikit/UIView.h"

namespace uikit {

class UITextView;

using UIDataDetectorTypes = unsigned;
inline constexpr UIDataDetectorTypes UIDataDetectorTypeNone = 0;
inline constexpr UIDataDetectorTypes UIDataDetectorTypePhoneNumber = 1u << 0;
inline constexpr UIDataDetectorTypes UIDataDetectorTypeLink = 1u << 1;
inline constexpr UIDataDetectorTypes UIDataDetectorTypeAddress = 1u << 2;
inline constexpr UIDataDetectorTypes UIDataDetectorTypeCalendarEvent = 1u << 3;
inline constexpr UIDataDetectorTypes UIDataDetectorTypeAll = ~0u;

class UITextViewDelegate {
public:
    virtual ~UITextViewDelegate() = default;
    virtual bool textViewShouldBeginEditing(UITextView& view) {
        (void)view;
        return true;
    }
    virtual void textViewDidBeginEditing(UITextView& view) { (void)view; }
    virtual void textViewDidEndEditing(UITextView& view) { (void)view; }
    // The range counts UTF-16 units of the present text.
    virtual bool textViewShouldChangeTextInRange(UITextView& view, NSRange range, const std::string& replacement) {
        (void)view, (void)range, (void)replacement;
        return true;
    }
    virtual void textViewDidChange(UITextView& view) { (void)view; }
};

class UITextView : public UIView {
public:
    static constexpr UIEdgeInsets kTextContainerInset{8, 0, 8, 0};
    static constexpr double kLineFragmentPadding = 5;

    explicit UITextView(const graphics::Rect& frame = {});

    const std::string& text() const { return text_; }
    void setText(std::string text);
    // Null unless attributed text was set; setting the text drops it.
    const NSAttributedStringPtr& attributedText() const { return attributedText_; }
    void setAttributedText(NSAttributedStringPtr text);
    // Helvetica 12 unless set.
    const UIFontPtr& font() const { return font_; }
    void setFont(UIFontPtr font);
    const graphics::Color& textColor() const { return textColor_; }
    void setTextColor(std::optional<graphics::Color> color);
    NSTextAlignment textAlignment() const { return textAlignment_; }
    void setTextAlignment(NSTextAlignment alignment);

    bool isEditable() const { return editable_; }
    void setEditable(bool editable);
    bool isSelectable() const { return selectable_; }
    void setSelectable(bool selectable) { selectable_ = selectable; }
    UIDataDetectorTypes dataDetectorTypes() const { return dataDetectorTypes_; }
    void setDataDetectorTypes(UIDataDetectorTypes types);
    bool isScrollEnabled() const { return scrollEnabled_; }
    void setScrollEnabled(bool enabled) { scrollEnabled_ = enabled; }

    std::shared_ptr<UITextViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(const std::shared_ptr<UITextViewDelegate>& delegate) { delegate_ = delegate; }

    // The cursor (an empty range) or the selection, in UTF-16 units; setting
    // the text puts the cursor at its end.
    NSRange selectedRange() const;
    void setSelectedRange(NSRange range);

    // Brings the range into view; the last range asked for is kept (nothing
    // scrolls here).
    void scrollRangeToVisible(NSRange range) { scrolledToRange_ = range; }
    const std::optional<NSRange>& scrolledToRange() const { return scrolledToRange_; }

    bool isEditing() const { return editing_; }
    bool canBecomeFirstResponder() const override { return editable_; }
    bool becomeFirstResponder() override;

    // A person typing at the end of the text; becomes first responder first.
    // False when the view cannot take input.
    bool typeText(const std::string& text);
    bool deleteBackward();
    // Replaces a UTF-16 range as typing does (delegate asked, did-change).
    bool replaceCharactersInRange(NSRange range, const std::string& replacement);

    graphics::Size sizeThatFits(graphics::Size size) const override;
    void drawRect(const graphics::Rect& rect) override;

    std::string className() const override { return "UITextView"; }

protected:
    void didBecomeFirstResponder() override;
    void didResignFirstResponder() override;

private:
    std::string text_;
    NSAttributedStringPtr attributedText_;
    UIFontPtr font_;
    graphics::Color textColor_ = graphics::Color::black();
    NSTextAlignment textAlignment_ = NSTextAlignment::Natural;
    bool editable_ = true;
    bool selectable_ = true;
    UIDataDetectorTypes dataDetectorTypes_ = UIDataDetectorTypeNone;
    bool scrollEnabled_ = true;
    std::weak_ptr<UITextViewDelegate> delegate_;
    bool editing_ = false;
    std::optional<NSRange> selectedRange_;
    std::optional<NSRange> scrolledToRange_;
};

using UITextViewPtr = std::shared_ptr<UITextView>;

}  // namespace uikit

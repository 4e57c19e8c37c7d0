// A one-line text field. It takes the keyboard when it becomes first
// responder (if its delegate lets it begin): the delegate hears did-begin,
// the field sends editing-did-begin and the keyboard shows; resigning ends
// editing the same way round and hides the keyboard. A person's typing
// (typeText, for tests and the app mode) goes character by character through
// the delegate's should-change-characters, then sends editing-changed; the
// return key asks should-return. Setting the text in code tells nobody.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "uikit/NSAttributedString.h"
#include "uikit/UIControl.h"
#include "uikit/UIFont.h"

namespace uikit {

class UITextField;

enum class UITextBorderStyle { None = 0, Line = 1, Bezel = 2, RoundedRect = 3 };
enum class UIKeyboardType {
    Default = 0,
    ASCIICapable = 1,
    NumbersAndPunctuation = 2,
    URL = 3,
    NumberPad = 4,
    PhonePad = 5,
    NamePhonePad = 6,
    EmailAddress = 7,
    DecimalPad = 8,
    Twitter = 9,
    WebSearch = 10,
};
enum class UITextAutocorrectionType { Default = 0, No = 1, Yes = 2 };
enum class UITextAutocapitalizationType { None = 0, Words = 1, Sentences = 2, AllCharacters = 3 };
enum class UIReturnKeyType { Default = 0, Go = 1, Google = 2, Join = 3, Next = 4, Route = 5, Search = 6, Send = 7, Yahoo = 8, Done = 9 };

class UITextFieldDelegate {
public:
    virtual ~UITextFieldDelegate() = default;
    virtual bool textFieldShouldBeginEditing(UITextField& field) {
        (void)field;
        return true;
    }
    virtual void textFieldDidBeginEditing(UITextField& field) { (void)field; }
    virtual void textFieldDidEndEditing(UITextField& field) { (void)field; }
    // The range counts UTF-16 units of the present text.
    virtual bool textFieldShouldChangeCharactersInRange(UITextField& field, NSRange range,
                                                        const std::string& replacement) {
        (void)field, (void)range, (void)replacement;
        return true;
    }
    virtual bool textFieldShouldReturn(UITextField& field) {
        (void)field;
        return true;
    }
};

class UITextField : public UIControl {
public:
    explicit UITextField(const graphics::Rect& frame = {});

    // Never nil, as on the platform: empty unless set, and nil sets it empty.
    const std::optional<std::string>& text() const { return text_; }
    void setText(std::optional<std::string> text);
    std::optional<std::string> placeholder() const;
    void setPlaceholder(std::optional<std::string> placeholder);
    const NSAttributedStringPtr& attributedPlaceholder() const { return attributedPlaceholder_; }
    void setAttributedPlaceholder(NSAttributedStringPtr placeholder);

    // The system font of 17 points unless set.
    const UIFontPtr& font() const { return font_; }
    void setFont(UIFontPtr font);
    const graphics::Color& textColor() const { return textColor_; }
    void setTextColor(std::optional<graphics::Color> color);
    NSTextAlignment textAlignment() const { return textAlignment_; }
    void setTextAlignment(NSTextAlignment alignment);

    bool isSecureTextEntry() const { return secure_; }
    void setSecureTextEntry(bool secure);
    UIKeyboardType keyboardType() const { return keyboardType_; }
    void setKeyboardType(UIKeyboardType type) { keyboardType_ = type; }
    UITextAutocorrectionType autocorrectionType() const { return autocorrection_; }
    void setAutocorrectionType(UITextAutocorrectionType type) { autocorrection_ = type; }
    UITextAutocapitalizationType autocapitalizationType() const { return autocapitalization_; }
    void setAutocapitalizationType(UITextAutocapitalizationType type) { autocapitalization_ = type; }
    UIReturnKeyType returnKeyType() const { return returnKeyType_; }
    void setReturnKeyType(UIReturnKeyType type) { returnKeyType_ = type; }
    UITextBorderStyle borderStyle() const { return borderStyle_; }
    void setBorderStyle(UITextBorderStyle style);

    std::shared_ptr<UITextFieldDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(const std::shared_ptr<UITextFieldDelegate>& delegate) { delegate_ = delegate; }

    bool isEditing() const { return editing_; }
    bool canBecomeFirstResponder() const override { return isEnabled(); }
    bool becomeFirstResponder() override;

    // A person typing at the end of the text; becomes first responder first.
    // Characters the delegate refuses are left out. False when the field
    // cannot take input.
    bool typeText(const std::string& text);
    // A person pressing delete: the last character goes, if the delegate lets it.
    bool deleteBackward();
    // A person pressing return: asks should-return, sends editing-did-end-on-exit.
    bool pressReturn();
    // Replaces a UTF-16 range of the text as typing does (delegate asked,
    // editing-changed sent). False when refused or out of range.
    bool replaceCharactersInRange(NSRange range, const std::string& replacement);

    // What the field shows: the text (as dots when secure) or the placeholder.
    std::string displayText() const;

    graphics::Size sizeThatFits(graphics::Size size) const override;
    void drawRect(const graphics::Rect& rect) override;

    std::string className() const override { return "UITextField"; }

protected:
    void didBecomeFirstResponder() override;
    void didResignFirstResponder() override;

private:
    std::optional<std::string> text_ = std::string();
    std::optional<std::string> placeholder_;
    NSAttributedStringPtr attributedPlaceholder_;
    UIFontPtr font_;
    graphics::Color textColor_ = graphics::Color::black();
    NSTextAlignment textAlignment_ = NSTextAlignment::Natural;
    bool secure_ = false;
    UIKeyboardType keyboardType_ = UIKeyboardType::Default;
    UITextAutocorrectionType autocorrection_ = UITextAutocorrectionType::Default;
    UITextAutocapitalizationType autocapitalization_ = UITextAutocapitalizationType::Sentences;
    UIReturnKeyType returnKeyType_ = UIReturnKeyType::Default;
    UITextBorderStyle borderStyle_ = UITextBorderStyle::None;
    std::weak_ptr<UITextFieldDelegate> delegate_;
    bool editing_ = false;
};

using UITextFieldPtr = std::shared_ptr<UITextField>;

// The UTF-8 characters of a text, one string each.
std::vector<std::string> splitCharacters(const std::string& text);

}  // namespace uikit

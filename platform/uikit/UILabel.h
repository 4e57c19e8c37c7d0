// A label: read-only text in one font and colour, or attributed text. Its
// size comes from the text measurer: sizeThatFits wraps at the given width
// (else at the preferred maximum layout width) when more than one line is
// allowed, and counts at most numberOfLines lines (0: any number). A label
// that adjusts its font size to the width shows a single line in a smaller
// font, down to the minimum scale factor, when the text would not fit.
// Labels take no touches unless told to.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "uikit/NSAttributedString.h"
#include "uikit/NSStringDrawing.h"
#include "uikit/UIAppearance.h"
#include "uikit/UIFont.h"
#include "uikit/UIView.h"

namespace uikit {

class UILabelAppearance;

class UILabel : public UIView {
public:
    // The appearance key of the highlighted text colour.
    static constexpr const char* kHighlightedTextColorKey = "highlightedTextColor";

    explicit UILabel(const graphics::Rect& frame = {});

    // Values for every label, or for labels inside the given containers
    // (innermost first), applied when a label enters a window.
    static UILabelAppearance appearance();
    template <class... Containers>
    static UILabelAppearance appearanceWhenContainedIn();

    // Setting the text drops attributed text; null clears both.
    std::optional<std::string> text() const;
    void setText(std::optional<std::string> text);
    // Null unless attributed text was set; setting it sets the text too.
    const NSAttributedStringPtr& attributedText() const { return attributedText_; }
    void setAttributedText(NSAttributedStringPtr text);

    // The system font of 17 points unless set; null goes back to it.
    const UIFontPtr& font() const { return font_; }
    void setFont(UIFontPtr font);
    // Black unless set.
    const graphics::Color& textColor() const { return textColor_; }
    void setTextColor(std::optional<graphics::Color> color);
    const std::optional<graphics::Color>& highlightedTextColor() const { return highlightedTextColor_; }
    void setHighlightedTextColor(std::optional<graphics::Color> color);
    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool highlighted);
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);
    // The colour the text is drawn in now: highlighted, disabled or plain.
    graphics::Color currentTextColor() const;

    // 1 unless set; 0 means any number.
    size_t numberOfLines() const { return numberOfLines_; }
    void setNumberOfLines(size_t lines);
    NSTextAlignment textAlignment() const { return textAlignment_; }
    void setTextAlignment(NSTextAlignment alignment);
    NSLineBreakMode lineBreakMode() const { return lineBreakMode_; }
    void setLineBreakMode(NSLineBreakMode mode);
    double preferredMaxLayoutWidth() const { return preferredMaxLayoutWidth_; }
    void setPreferredMaxLayoutWidth(double width);

    bool adjustsFontSizeToFitWidth() const { return adjustsFontSizeToFitWidth_; }
    void setAdjustsFontSizeToFitWidth(bool adjusts);
    double minimumScaleFactor() const { return minimumScaleFactor_; }
    void setMinimumScaleFactor(double factor);
    // The font the text is shown in at the current width: the font, or a
    // smaller one when the label adjusts its font size.
    UIFontPtr effectiveFont() const;

    // The lines as shown in the current bounds.
    std::vector<NSStringDrawing::Line> visibleLines() const;

    graphics::Size sizeThatFits(graphics::Size size) const override;
    void drawRect(const graphics::Rect& rect) override;

    std::string className() const override { return "UILabel"; }

private:
    std::vector<NSStringDrawing::Line> layOut(double width, const UIFontPtr& font) const;
    void changed();

    std::optional<std::string> text_;
    NSAttributedStringPtr attributedText_;
    UIFontPtr font_;
    graphics::Color textColor_ = graphics::Color::black();
    std::optional<graphics::Color> highlightedTextColor_;
    bool highlighted_ = false;
    bool enabled_ = true;
    size_t numberOfLines_ = 1;
    NSTextAlignment textAlignment_ = NSTextAlignment::Natural;
    NSLineBreakMode lineBreakMode_ = NSLineBreakMode::ByTruncatingTail;
    double preferredMaxLayoutWidth_ = 0;
    bool adjustsFontSizeToFitWidth_ = false;
    double minimumScaleFactor_ = 0;
};

using UILabelPtr = std::shared_ptr<UILabel>;

class UILabelAppearance {
public:
    explicit UILabelAppearance(UIAppearance::Proxy<UILabel> proxy) : proxy_(std::move(proxy)) {}
    void setHighlightedTextColor(std::optional<graphics::Color> color) const {
        proxy_.set(UILabel::kHighlightedTextColorKey, [color](UILabel& label) { label.setHighlightedTextColor(color); });
    }

private:
    UIAppearance::Proxy<UILabel> proxy_;
};

inline UILabelAppearance UILabel::appearance() { return UILabelAppearance(UIAppearance::appearance<UILabel>()); }

template <class... Containers>
UILabelAppearance UILabel::appearanceWhenContainedIn() {
    return UILabelAppearance(UIAppearance::appearanceWhenContainedIn<UILabel, Containers...>());
}

}  // namespace uikit

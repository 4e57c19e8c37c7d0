// How the lines of a paragraph sit: their alignment and how a line that does
// not fit is broken or cut. A value; the mutable form of the platform is the
// same value with its setters.
#pragma once

namespace uikit {

enum class NSTextAlignment { Left = 0, Center = 1, Right = 2, Justified = 3, Natural = 4 };

enum class NSLineBreakMode {
    ByWordWrapping = 0,
    ByCharWrapping = 1,
    ByClipping = 2,
    ByTruncatingHead = 3,
    ByTruncatingTail = 4,
    ByTruncatingMiddle = 5,
};

class NSParagraphStyle {
public:
    static NSParagraphStyle defaultParagraphStyle() { return {}; }

    NSTextAlignment alignment() const { return alignment_; }
    void setAlignment(NSTextAlignment alignment) { alignment_ = alignment; }
    NSLineBreakMode lineBreakMode() const { return lineBreakMode_; }
    void setLineBreakMode(NSLineBreakMode mode) { lineBreakMode_ = mode; }

    bool operator==(const NSParagraphStyle&) const = default;

private:
    NSTextAlignment alignment_ = NSTextAlignment::Natural;
    NSLineBreakMode lineBreakMode_ = NSLineBreakMode::ByWordWrapping;
};

}  // namespace uikit

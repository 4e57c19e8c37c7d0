// Text with attributes over ranges: font, colour, paragraph style and
// strikethrough, the ones this system's screens set. Ranges count UTF-16
// units, as the platform's do. The attributes are kept as runs that cover the
// whole string without gaps; a run carries only what was set on it, and an
// attribute never set reads as absent (the reader's default applies).
// Immutable once made, except through the mutable form's operations, which
// this class offers directly (the app builds its texts by appending).
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Object.h"
#include "foundation/StringUtils.h"
#include "graphics/Color.h"
#include "uikit/NSParagraphStyle.h"
#include "uikit/UIFont.h"

namespace uikit {

using NSRange = foundation::StringUtils::Range;

enum NSUnderlineStyle : int { NSUnderlineStyleNone = 0, NSUnderlineStyleSingle = 1, NSUnderlineStyleThick = 2, NSUnderlineStyleDouble = 9 };

// The platform's attribute dictionary, with its keys as members.
struct TextAttributes {
    UIFontPtr font;                                  // NSFontAttributeName
    std::optional<graphics::Color> foregroundColor;  // NSForegroundColorAttributeName
    std::optional<NSParagraphStyle> paragraphStyle;  // NSParagraphStyleAttributeName
    std::optional<int> strikethroughStyle;           // NSStrikethroughStyleAttributeName

    bool empty() const { return !font && !foregroundColor && !paragraphStyle && !strikethroughStyle; }
    // The receiver with every attribute that `other` sets taken from `other`.
    TextAttributes mergedWith(const TextAttributes& other) const;
    bool operator==(const TextAttributes& other) const;
};

class NSAttributedString;
using NSAttributedStringPtr = std::shared_ptr<NSAttributedString>;

class NSAttributedString : public foundation::Object {
public:
    struct Run {
        NSRange range;
        TextAttributes attributes;
    };

    NSAttributedString() = default;
    explicit NSAttributedString(std::string string, TextAttributes attributes = {});
    static NSAttributedStringPtr make(std::string string, TextAttributes attributes = {}) {
        return std::make_shared<NSAttributedString>(std::move(string), std::move(attributes));
    }

    const std::string& string() const { return string_; }
    // In UTF-16 units.
    size_t length() const { return length_; }
    const std::vector<Run>& runs() const { return runs_; }
    // The attributes at a UTF-16 position, with the run's range. Reading past
    // the end is a programming error, as on the platform.
    const TextAttributes& attributesAtIndex(size_t index, NSRange* effectiveRange = nullptr) const;

    // The mutable operations. A range reaching past the end is a programming
    // error (foundation::Exception, NSRangeException).
    void appendString(std::string string, TextAttributes attributes = {});
    void appendAttributedString(const NSAttributedString& other);
    // Replaces the attributes over the range.
    void setAttributes(const TextAttributes& attributes, NSRange range);
    // Sets the given attributes over the range, keeping the others.
    void addAttributes(const TextAttributes& attributes, NSRange range);

    std::string className() const override { return "NSAttributedString"; }
    std::string description() const override { return string_; }
    bool isEqual(const foundation::Object& other) const override;

private:
    void requireRange(NSRange range) const;
    // Splits runs so that one starts at `position`.
    void splitAt(size_t position);
    // Splits the runs at the range's ends and changes the attributes of those inside.
    void changeRunsIn(NSRange range, const std::function<void(TextAttributes&)>& change);
    // Joins neighbours with equal attributes.
    void coalesce();

    std::string string_;
    size_t length_ = 0;
    std::vector<Run> runs_;
};

}  // namespace uikit

#include "uikit/NSAttributedString.h"

#include <functional>

#include "foundation/Exception.h"

namespace uikit {

TextAttributes TextAttributes::mergedWith(const TextAttributes& other) const {
    TextAttributes merged = *this;
    if (other.font) merged.font = other.font;
    if (other.foregroundColor) merged.foregroundColor = other.foregroundColor;
    if (other.paragraphStyle) merged.paragraphStyle = other.paragraphStyle;
    if (other.strikethroughStyle) merged.strikethroughStyle = other.strikethroughStyle;
    return merged;
}

bool TextAttributes::operator==(const TextAttributes& other) const {
    return sameFont(font, other.font) && foregroundColor == other.foregroundColor &&
           paragraphStyle == other.paragraphStyle && strikethroughStyle == other.strikethroughStyle;
}

NSAttributedString::NSAttributedString(std::string string, TextAttributes attributes) {
    appendString(std::move(string), std::move(attributes));
}

const TextAttributes& NSAttributedString::attributesAtIndex(size_t index, NSRange* effectiveRange) const {
    for (const auto& run : runs_) {
        if (index >= run.range.location && index < run.range.location + run.range.length) {
            if (effectiveRange) *effectiveRange = run.range;
            return run.attributes;
        }
    }
    throw foundation::Exception(foundation::kRangeException, "index beyond the end of the attributed string");
}

void NSAttributedString::appendString(std::string string, TextAttributes attributes) {
    size_t added = foundation::StringUtils::length16(string);
    if (added == 0) return;
    runs_.push_back({{length_, added}, std::move(attributes)});
    string_ += string;
    length_ += added;
    coalesce();
}

void NSAttributedString::appendAttributedString(const NSAttributedString& other) {
    size_t offset = length_;
    string_ += other.string_;
    length_ += other.length_;
    for (auto run : other.runs_) {
        run.range.location += offset;
        runs_.push_back(std::move(run));
    }
    coalesce();
}

void NSAttributedString::setAttributes(const TextAttributes& attributes, NSRange range) {
    changeRunsIn(range, [&](TextAttributes& run) { run = attributes; });
}

void NSAttributedString::addAttributes(const TextAttributes& attributes, NSRange range) {
    changeRunsIn(range, [&](TextAttributes& run) { run = run.mergedWith(attributes); });
}

void NSAttributedString::changeRunsIn(NSRange range, const std::function<void(TextAttributes&)>& change) {
    requireRange(range);
    if (range.length == 0) return;
    splitAt(range.location);
    splitAt(range.location + range.length);
    for (auto& run : runs_) {
        if (run.range.location >= range.location && run.range.location < range.location + range.length)
            change(run.attributes);
    }
    coalesce();
}

bool NSAttributedString::isEqual(const foundation::Object& other) const {
    auto text = dynamic_cast<const NSAttributedString*>(&other);
    if (!text || text->string_ != string_ || text->runs_.size() != runs_.size()) return false;
    for (size_t i = 0; i < runs_.size(); ++i) {
        if (!(runs_[i].range == text->runs_[i].range) || !(runs_[i].attributes == text->runs_[i].attributes))
            return false;
    }
    return true;
}

void NSAttributedString::requireRange(NSRange range) const {
    if (range.location > length_ || range.length > length_ - range.location)
        throw foundation::Exception(foundation::kRangeException, "range beyond the end of the attributed string");
}

void NSAttributedString::splitAt(size_t position) {
    for (size_t i = 0; i < runs_.size(); ++i) {
        auto& run = runs_[i];
        if (position > run.range.location && position < run.range.location + run.range.length) {
            Run tail{{position, run.range.location + run.range.length - position}, run.attributes};
            run.range.length = position - run.range.location;
            runs_.insert(runs_.begin() + static_cast<std::ptrdiff_t>(i) + 1, std::move(tail));
            return;
        }
    }
}

void NSAttributedString::coalesce() {
    std::vector<Run> joined;
    for (auto& run : runs_) {
        if (!joined.empty() && joined.back().attributes == run.attributes)
            joined.back().range.length += run.range.length;
        else
            joined.push_back(std::move(run));
    }
    runs_ = std::move(joined);
}

}  // namespace uikit

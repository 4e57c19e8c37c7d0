// Measuring and wrapping text. Advance widths come from one table of our
// own, in thousandths of an em, scaled by the face's width factor and the
// point size; nothing here asks the machine about fonts.
#include "graphics/TextMeasurer.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "graphics/Utf8.h"

namespace graphics {

namespace {

constexpr double kTolerance = 1e-9;

int asciiAdvance(char c) {
    static constexpr std::string_view kNarrow = "ijl.,:;'!|`";
    static constexpr std::string_view kSlim = "ftrI()[]{}\"-/\\";
    static constexpr std::string_view kWideLower = "mw";
    static constexpr std::string_view kWideUpper = "MW";
    if (c == ' ') return 280;
    if (c == '\t') return 1120;
    if (kNarrow.find(c) != std::string_view::npos) return 240;
    if (kSlim.find(c) != std::string_view::npos) return 330;
    if (kWideLower.find(c) != std::string_view::npos) return 830;
    if (kWideUpper.find(c) != std::string_view::npos) return 900;
    if (c >= '0' && c <= '9') return 560;
    if (c >= 'a' && c <= 'z') return 520;
    if (c >= 'A' && c <= 'Z') return 660;
    if (c == '%') return 880;
    if (c == '@') return 1000;
    return 600;
}

bool isWide(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1FAFF) || (c >= 0x20000 && c <= 0x3FFFD);
}

int advance(char32_t c) {
    if (c < 0x80) return c < 0x20 && c != '\t' ? 0 : c == 0x7F ? 0 : asciiAdvance(char(c));
    if (c <= 0x9F) return 0;
    if ((c >= 0x300 && c <= 0x36F) || (c >= 0x200B && c <= 0x200F) || c == 0xFEFF) return 0;
    return isWide(c) ? 1000 : 560;
}

double scaleOf(const Font& font) { return font.metrics().widthScale * font.pointSize() / 1000.0; }

double rawWidth(std::string_view text) {
    double units = 0;
    for (size_t i = 0; i < text.size();) units += advance(detail::decodeUtf8(text, i));
    return units;
}

bool isSpace(char c) { return c == ' ' || c == '\t'; }

std::vector<std::string_view> paragraphs(std::string_view text) {
    std::vector<std::string_view> result;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || text[i] == '\r') {
            result.push_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            start = i + 1;
        }
    }
    if (start < text.size()) result.push_back(text.substr(start));
    return result;
}

// Greedy wrapping of one paragraph.
class LineBreaker {
public:
    LineBreaker(double scale, double maxWidth, std::vector<TextLine>& out) : scale_(scale), max_(maxWidth), out_(out) {}

    void run(std::string_view para) {
        size_t i = 0;
        // Leading blanks belong to the first line as they are.
        while (i < para.size() && isSpace(para[i])) ++i;
        line_ = std::string(para.substr(0, i));
        width_ = rawWidth(line_) * scale_;
        hasWord_ = false;
        while (i < para.size()) {
            size_t wordEnd = i;
            while (wordEnd < para.size() && !isSpace(para[wordEnd])) ++wordEnd;
            addWord(para.substr(i, wordEnd - i));
            size_t spaceEnd = wordEnd;
            while (spaceEnd < para.size() && isSpace(para[spaceEnd])) ++spaceEnd;
            pendingSpaces_ = para.substr(wordEnd, spaceEnd - wordEnd);
            i = spaceEnd;
        }
        out_.push_back({line_, width_});
    }

private:
    void addWord(std::string_view word) {
        double wordWidth = rawWidth(word) * scale_;
        double spaceWidth = rawWidth(pendingSpaces_) * scale_;
        if (hasWord_ && width_ + spaceWidth + wordWidth > max_ + kTolerance) {
            out_.push_back({line_, width_});
            line_.clear();
            width_ = 0;
            hasWord_ = false;
        } else if (hasWord_) {
            line_ += pendingSpaces_;
            width_ += spaceWidth;
        }
        if (width_ + wordWidth <= max_ + kTolerance) {
            line_ += word;
            width_ += wordWidth;
            hasWord_ = true;
            return;
        }
        // Too wide even for a line of its own: break between characters,
        // keeping at least one character on every line.
        for (size_t i = 0; i < word.size();) {
            size_t start = i;
            char32_t c = detail::decodeUtf8(word, i);
            double w = advance(c) * scale_;
            if (hasWord_ && width_ + w > max_ + kTolerance) {
                out_.push_back({line_, width_});
                line_.clear();
                width_ = 0;
            }
            line_ += word.substr(start, i - start);
            width_ += w;
            hasWord_ = true;
        }
    }

    double scale_;
    double max_;
    std::vector<TextLine>& out_;
    std::string line_;
    double width_ = 0;
    bool hasWord_ = false;
    std::string_view pendingSpaces_;
};

}  // namespace

std::vector<TextLine> TextMeasurer::lines(const Font& font, std::string_view text, double maxWidth) {
    if (!(maxWidth > 0)) maxWidth = kNoLimit;
    std::vector<TextLine> result;
    double scale = scaleOf(font);
    for (std::string_view para : paragraphs(text)) LineBreaker(scale, maxWidth, result).run(para);
    return result;
}

Size TextMeasurer::measure(const Font& font, std::string_view text, double maxWidth) {
    std::vector<TextLine> all = lines(font, text, maxWidth);
    double width = 0;
    for (const TextLine& line : all) width = std::max(width, line.width);
    return {width, font.lineHeight() * double(all.size())};
}

double TextMeasurer::width(const Font& font, std::string_view text) { return rawWidth(text) * scaleOf(font); }

}  // namespace graphics

#include "uikit/NSStringDrawing.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "graphics/DrawingContext.h"
#include "graphics/MutablePath.h"
#include "graphics/TextMeasurer.h"

namespace uikit::NSStringDrawing {

namespace {

double lineHeightOf(const UIFont& font, bool fontLeading) {
    return font.ascender() + font.descender() + (fontLeading ? font.leading() : 0);
}

double limitOf(double width) { return width > 0 && std::isfinite(width) ? width : graphics::TextMeasurer::kNoLimit; }

// Splits at "\n", "\r\n" and "\r"; a trailing break adds no paragraph.
std::vector<std::string_view> paragraphs(std::string_view text) {
    std::vector<std::string_view> result;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n' && text[i] != '\r') continue;
        result.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) result.push_back(text.substr(start));
    return result;
}

void appendLines(std::vector<Line>& out, std::string_view paragraph, const UIFontPtr& font, double width,
                 bool fontLeading) {
    double height = lineHeightOf(*font, fontLeading);
    auto lines = graphics::TextMeasurer::lines(font->font(), paragraph, limitOf(width));
    // An empty paragraph between two breaks still takes a line.
    if (lines.empty()) lines.push_back({});
    for (auto& line : lines) out.push_back({std::move(line.text), line.width, font, height});
}

void cap(std::vector<Line>& lines, size_t maximumLines) {
    if (maximumLines > 0 && lines.size() > maximumLines) lines.resize(maximumLines);
}

}  // namespace

UIFontPtr defaultFont() {
    static const UIFontPtr font = UIFont::fontWithName("Helvetica", 12);
    return font;
}

std::vector<Line> layOut(std::string_view text, const UIFontPtr& font, double width, size_t maximumLines,
                         bool fontLeading) {
    std::vector<Line> lines;
    const UIFontPtr& used = font ? font : defaultFont();
    for (auto paragraph : paragraphs(text)) {
        appendLines(lines, paragraph, used, width, fontLeading);
        if (maximumLines > 0 && lines.size() >= maximumLines) break;
    }
    cap(lines, maximumLines);
    return lines;
}

std::vector<Line> layOut(const NSAttributedString& text, double width, size_t maximumLines, bool fontLeading) {
    std::vector<Line> lines;
    const std::string& string = text.string();
    size_t start = 0;  // byte offset of the paragraph
    for (auto paragraph : paragraphs(string)) {
        start = static_cast<size_t>(paragraph.data() - string.data());
        size_t from = foundation::StringUtils::utf16Position(string, start);
        size_t to = foundation::StringUtils::utf16Position(string, start + paragraph.size());
        UIFontPtr largest;
        for (const auto& run : text.runs()) {
            size_t runEnd = run.range.location + run.range.length;
            bool overlaps = run.range.location < to && runEnd > from;
            bool emptyParagraphInside = from == to && run.range.location <= from && from < runEnd;
            if (!overlaps && !emptyParagraphInside) continue;
            const UIFontPtr& font = run.attributes.font ? run.attributes.font : defaultFont();
            if (!largest || font->lineHeight() > largest->lineHeight()) largest = font;
        }
        appendLines(lines, paragraph, largest ? largest : defaultFont(), width, fontLeading);
        if (maximumLines > 0 && lines.size() >= maximumLines) break;
    }
    cap(lines, maximumLines);
    return lines;
}

graphics::Size sizeOfLines(const std::vector<Line>& lines) {
    graphics::Size size{0, 0};
    for (const auto& line : lines) {
        size.width = std::max(size.width, line.width);
        size.height += line.height;
    }
    return size;
}

namespace {

graphics::Rect bound(graphics::Size size, unsigned options, const std::function<std::vector<Line>(double)>& layOutAt) {
    bool multiline = options & NSStringDrawingUsesLineFragmentOrigin;
    auto lines = layOutAt(multiline ? size.width : 0);
    if (!multiline && lines.size() > 1) {
        // One line: the paragraphs run on as if their breaks were spaces.
        Line joined = lines.front();
        for (size_t i = 1; i < lines.size(); ++i) {
            joined.width += lines[i].width;
            joined.height = std::max(joined.height, lines[i].height);
        }
        lines = {joined};
    }
    if ((options & NSStringDrawingTruncatesLastVisibleLine) && size.height > 0 && std::isfinite(size.height)) {
        double height = 0;
        size_t fitting = 0;
        for (const auto& line : lines) {
            if (fitting > 0 && height + line.height > size.height) break;
            height += line.height;
            ++fitting;
        }
        lines.resize(fitting);
    }
    return {{0, 0}, sizeOfLines(lines)};
}

}  // namespace

graphics::Rect boundingRectWithSize(std::string_view text, graphics::Size size, unsigned options,
                                    const TextAttributes& attributes) {
    bool leading = options & NSStringDrawingUsesFontLeading;
    return bound(size, options,
                 [&](double width) { return layOut(text, attributes.font, width, 0, leading); });
}

graphics::Rect boundingRectWithSize(const NSAttributedString& text, graphics::Size size, unsigned options) {
    bool leading = options & NSStringDrawingUsesFontLeading;
    return bound(size, options, [&](double width) { return layOut(text, width, 0, leading); });
}

graphics::Size sizeWithAttributes(std::string_view text, const TextAttributes& attributes) {
    return boundingRectWithSize(text, {0, 0}, 0, attributes).size;
}

void drawLines(graphics::DrawingContext& context, const std::vector<Line>& lines, const graphics::Rect& rect,
               NSTextAlignment alignment, const graphics::Color& color, bool strikethrough) {
    double y = rect.origin.y;
    for (const auto& line : lines) {
        if (y >= rect.origin.y + rect.size.height) break;
        double x = rect.origin.x;
        if (alignment == NSTextAlignment::Center) x += (rect.size.width - line.width) / 2;
        else if (alignment == NSTextAlignment::Right) x += rect.size.width - line.width;
        double baseline = y + line.font->ascender();
        context.drawText(line.text, line.font->font(), {x, baseline}, color);
        if (strikethrough && line.width > 0) {
            // Through the middle of the lower-case letters.
            double thickness = std::max(1.0, line.font->pointSize() / 14);
            graphics::MutablePath bar;
            bar.addRect({{x, baseline - line.font->ascender() * 0.3 - thickness / 2}, {line.width, thickness}});
            context.fillPath(bar, color);
        }
        y += line.height;
    }
}

namespace {

// Where each run starts, as a byte offset into the UTF-8 string (runs count
// UTF-16 units).
std::vector<size_t> attributedRunByteStarts(const NSAttributedString& text) {
    const std::string& s = text.string();
    std::vector<size_t> starts;
    size_t byte = 0, units = 0;
    for (const auto& run : text.runs()) {
        while (byte < s.size() && units < run.range.location) {
            auto lead = static_cast<unsigned char>(s[byte]);
            size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
            units += length == 4 ? 2 : 1;
            byte = std::min(s.size(), byte + length);
        }
        starts.push_back(byte);
    }
    return starts;
}

}  // namespace

void drawAttributedLines(graphics::DrawingContext& context, const NSAttributedString& text,
                         const std::vector<Line>& lines, const graphics::Rect& rect, NSTextAlignment alignment,
                         const graphics::Color& color, bool runColours) {
    const auto& runs = text.runs();
    if (runs.empty()) {
        drawLines(context, lines, rect, alignment, color);
        return;
    }
    const std::string& whole = text.string();
    const std::vector<size_t> starts = attributedRunByteStarts(text);
    auto runAt = [&](size_t byte) {
        size_t found = 0;
        for (size_t i = 0; i < starts.size() && starts[i] <= byte; ++i) found = i;
        return found;
    };
    size_t cursor = 0;
    double y = rect.origin.y;
    for (const auto& line : lines) {
        if (y >= rect.origin.y + rect.size.height) break;
        size_t at = line.text.empty() ? std::string::npos : whole.find(line.text, cursor);
        NSTextAlignment placed = alignment;
        if (at != std::string::npos) {
            if (const auto& style = runs[runAt(at)].attributes.paragraphStyle) placed = style->alignment();
        }
        double x = rect.origin.x;
        if (placed == NSTextAlignment::Center) x += (rect.size.width - line.width) / 2;
        else if (placed == NSTextAlignment::Right) x += rect.size.width - line.width;
        for (size_t i = 0; i < runs.size(); ++i) {
            size_t runStart = starts[i], runEnd = i + 1 < starts.size() ? starts[i + 1] : whole.size();
            size_t from = at == std::string::npos ? 0 : std::max(at, runStart);
            size_t to = at == std::string::npos ? line.text.size() : std::min(at + line.text.size(), runEnd);
            if (at != std::string::npos && from >= to) continue;
            std::string piece = at == std::string::npos ? line.text : whole.substr(from, to - from);
            const auto& attributes = runs[i].attributes;
            graphics::Color ink = attributes.foregroundColor && runColours ? *attributes.foregroundColor : color;
            Line segment{piece, graphics::TextMeasurer::width(line.font->font(), piece), line.font, line.height};
            drawLines(context, {segment}, {{x, y}, {segment.width + 1, line.height}}, NSTextAlignment::Left, ink,
                      attributes.strikethroughStyle.value_or(0) != 0);
            x += segment.width;
            if (at == std::string::npos) break;
        }
        if (at != std::string::npos) cursor = at + line.text.size();
        y += line.height;
    }
}

}  // namespace uikit::NSStringDrawing

// A tag-dropping scan of HTML into styled lines, enough to show a short page
// (a note, a tutorial text) as a browser would set its words; no document
// model, no box layout.
#include "uikit/HTMLText.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <optional>
#include <utility>
#include <vector>

#include "foundation/StringUtils.h"
#include "graphics/Color.h"
#include "graphics/Utf8.h"
#include "uikit/NSParagraphStyle.h"
#include "uikit/UIFont.h"

namespace uikit {

namespace {

constexpr double kHTMLDefaultFontSize = 16;

// What an element gives the text inside it.
struct HTMLTextStyle {
    std::string tag;
    double fontSize = kHTMLDefaultFontSize;
    std::string family;  // empty: the system font
    bool bold = false;
    std::optional<graphics::Color> color;
    NSTextAlignment alignment = NSTextAlignment::Natural;
};

struct HTMLTextPiece {
    std::string text;
    HTMLTextStyle style;
    uint64_t styleGeneration = 0;
};

struct HTMLTextLine {
    std::vector<HTMLTextPiece> pieces;
    // Where the line's text starts (its break, for a blank line).
    HTMLTextStyle style;
};

bool isHTMLBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

std::string lowercaseHTML(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return lower;
}

std::string trimmedHTMLValue(std::string_view text) {
    size_t from = 0, to = text.size();
    while (from < to && isHTMLBlank(text[from])) ++from;
    while (to > from && isHTMLBlank(text[to - 1])) --to;
    return std::string(text.substr(from, to - from));
}

bool isHTMLTagAmong(const std::string& name, std::initializer_list<const char*> names) {
    return std::any_of(names.begin(), names.end(), [&](const char* each) { return name == each; });
}

bool isHTMLBlockTag(const std::string& name) {
    return isHTMLTagAmong(name, {"p", "div", "h1", "h2", "h3", "h4", "h5", "h6", "li", "tr", "ul", "ol", "hr",
                                 "table", "body", "center", "blockquote", "pre", "dl", "dt", "dd"});
}

bool isHTMLVoidTag(const std::string& name) {
    return isHTMLTagAmong(name, {"br", "hr", "img", "meta", "link", "input", "area", "base", "col", "embed",
                                 "param", "source", "track", "wbr"});
}

// Elements whose content is never shown.
bool isHTMLSkippedTag(const std::string& name) { return isHTMLTagAmong(name, {"head", "title", "script", "style"}); }

// The character reference at the text's start: its text (a blank for the
// ones that are blanks to the layout) and its length; nothing when it is none.
std::optional<std::pair<std::string, size_t>> htmlCharacterReference(std::string_view text) {
    static const std::pair<const char*, const char*> named[] = {
        {"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&nbsp;", " "}};
    for (const auto& [name, replacement] : named) {
        if (text.substr(0, std::strlen(name)) == name) return std::pair{std::string(replacement), std::strlen(name)};
    }
    if (text.size() < 4 || text[1] != '#') return std::nullopt;
    const bool hex = text[2] == 'x' || text[2] == 'X';
    size_t i = hex ? 3 : 2;
    const size_t digitsStart = i;
    uint32_t codePoint = 0;
    auto isDigit = [hex](char c) {
        return hex ? std::isxdigit(static_cast<unsigned char>(c)) : std::isdigit(static_cast<unsigned char>(c));
    };
    while (i < text.size() && i - digitsStart < 8 && isDigit(text[i])) {
        const char c = char(std::tolower(static_cast<unsigned char>(text[i])));
        codePoint = codePoint * (hex ? 16 : 10) + uint32_t(c <= '9' ? c - '0' : c - 'a' + 10);
        ++i;
    }
    if (i == digitsStart || i >= text.size() || text[i] != ';') return std::nullopt;
    std::string decoded;
    if (codePoint < 0x20 || (codePoint >= 0x7F && codePoint < 0xA0)) decoded = " ";
    else if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint < 0xE000))
        graphics::detail::appendUtf8(decoded, 0xFFFD);
    else
        graphics::detail::appendUtf8(decoded, codePoint);
    return std::pair{decoded, i + 1};
}

// The value of an attribute of a start tag's inside ("a href='x' style=y").
std::optional<std::string> htmlAttribute(std::string_view tag, std::string_view wanted) {
    size_t i = 0;
    while (i < tag.size() && !isHTMLBlank(tag[i]) && tag[i] != '/') ++i;  // the tag's name
    while (i < tag.size()) {
        while (i < tag.size() && (isHTMLBlank(tag[i]) || tag[i] == '/')) ++i;
        const size_t nameStart = i;
        while (i < tag.size() && !isHTMLBlank(tag[i]) && tag[i] != '=' && tag[i] != '/') ++i;
        const std::string name = lowercaseHTML(tag.substr(nameStart, i - nameStart));
        while (i < tag.size() && isHTMLBlank(tag[i])) ++i;
        std::string value;
        if (i < tag.size() && tag[i] == '=') {
            ++i;
            while (i < tag.size() && isHTMLBlank(tag[i])) ++i;
            if (i < tag.size() && (tag[i] == '"' || tag[i] == '\'')) {
                const size_t end = tag.find(tag[i], i + 1);
                const size_t stop = end == std::string_view::npos ? tag.size() : end;
                value = std::string(tag.substr(i + 1, stop - i - 1));
                i = end == std::string_view::npos ? tag.size() : end + 1;
            } else {
                const size_t valueStart = i;
                while (i < tag.size() && !isHTMLBlank(tag[i])) ++i;
                value = std::string(tag.substr(valueStart, i - valueStart));
            }
        }
        if (!name.empty() && name == wanted) return value;
        if (name.empty() && i == nameStart) ++i;
    }
    return std::nullopt;
}

std::optional<double> htmlCSSNumber(std::string_view text, size_t* used) {
    std::string number(text);
    char* end = nullptr;
    const double value = std::strtod(number.c_str(), &end);
    if (end == number.c_str() || !std::isfinite(value)) return std::nullopt;
    *used = size_t(end - number.c_str());
    return value;
}

std::optional<graphics::Color> htmlCSSColour(const std::string& value) {
    static const std::pair<const char*, graphics::Color> named[] = {
        {"black", graphics::Color::black()},
        {"white", graphics::Color::white()},
        {"gray", graphics::Color::gray(128 / 255.0)},
        {"grey", graphics::Color::gray(128 / 255.0)},
        {"silver", graphics::Color::gray(192 / 255.0)},
        {"red", graphics::Color::rgb(1, 0, 0)},
        {"green", graphics::Color::rgb(0, 128 / 255.0, 0)},
        {"blue", graphics::Color::rgb(0, 0, 1)},
        {"yellow", graphics::Color::rgb(1, 1, 0)},
        {"orange", graphics::Color::rgb(1, 165 / 255.0, 0)},
        {"transparent", graphics::Color::clear()},
    };
    for (const auto& [name, colour] : named) {
        if (value == name) return colour;
    }
    if (!value.empty() && value[0] == '#') {
        const std::string digits = value.substr(1);
        if (!std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isxdigit(c); }))
            return std::nullopt;
        auto component = [&](size_t at, size_t length) {
            const double read = double(std::strtoul(digits.substr(at, length).c_str(), nullptr, 16));
            return length == 1 ? read * 17 / 255 : read / 255;
        };
        if (digits.size() == 3 || digits.size() == 4) {
            return graphics::Color::rgb(component(0, 1), component(1, 1), component(2, 1),
                                        digits.size() == 4 ? component(3, 1) : 1);
        }
        if (digits.size() == 6 || digits.size() == 8) {
            return graphics::Color::rgb(component(0, 2), component(2, 2), component(4, 2),
                                        digits.size() == 8 ? component(6, 2) : 1);
        }
        return std::nullopt;
    }
    const bool rgba = value.rfind("rgba(", 0) == 0;
    if (!rgba && value.rfind("rgb(", 0) != 0) return std::nullopt;
    std::string_view rest = std::string_view(value).substr(rgba ? 5 : 4);
    double parts[4] = {0, 0, 0, 1};
    size_t count = 0;
    while (count < 4) {
        while (!rest.empty() && (isHTMLBlank(rest.front()) || rest.front() == ',' || rest.front() == '/'))
            rest.remove_prefix(1);
        size_t used = 0;
        auto number = htmlCSSNumber(rest, &used);
        if (!number) break;
        rest.remove_prefix(used);
        const bool percent = !rest.empty() && rest.front() == '%';
        if (percent) rest.remove_prefix(1);
        parts[count] = count < 3 ? (percent ? *number / 100 : *number / 255) : (percent ? *number / 100 : *number);
        ++count;
    }
    if (count < 3) return std::nullopt;
    for (double& part : parts) part = std::clamp(part, 0.0, 1.0);
    return graphics::Color::rgb(parts[0], parts[1], parts[2], parts[3]);
}

std::optional<double> htmlCSSFontSize(const std::string& value, double inherited) {
    static const std::pair<const char*, double> keywords[] = {{"xx-small", 9}, {"x-small", 10}, {"small", 13},
                                                              {"medium", 16},  {"large", 18},   {"x-large", 24},
                                                              {"xx-large", 32}};
    for (const auto& [name, size] : keywords) {
        if (value == name) return size;
    }
    size_t used = 0;
    auto number = htmlCSSNumber(value, &used);
    if (!number || *number <= 0) return std::nullopt;
    const std::string unit = value.substr(used);
    double size = *number;
    if (unit == "pt") size = *number * 4 / 3;
    else if (unit == "em") size = *number * inherited;
    else if (unit == "rem") size = *number * kHTMLDefaultFontSize;
    else if (unit == "%") size = *number * inherited / 100;
    else if (unit != "px" && !unit.empty()) return std::nullopt;
    return std::clamp(size, 1.0, 200.0);
}

void applyHTMLDeclarations(HTMLTextStyle& style, std::string_view declarations, double inheritedSize) {
    for (const auto& declaration : foundation::StringUtils::split(declarations, ";")) {
        const size_t colon = declaration.find(':');
        if (colon == std::string::npos) continue;
        const std::string property = lowercaseHTML(trimmedHTMLValue(std::string_view(declaration).substr(0, colon)));
        std::string value = trimmedHTMLValue(std::string_view(declaration).substr(colon + 1));
        if (const size_t important = value.find('!'); important != std::string::npos)
            value = trimmedHTMLValue(std::string_view(value).substr(0, important));
        const std::string lower = lowercaseHTML(value);
        if (property == "color") {
            if (auto colour = htmlCSSColour(lower)) style.color = colour;
        } else if (property == "font-size") {
            if (auto size = htmlCSSFontSize(lower, inheritedSize)) style.fontSize = *size;
        } else if (property == "font-family") {
            std::string family = trimmedHTMLValue(std::string_view(value).substr(0, value.find(',')));
            std::erase_if(family, [](char c) { return c == '"' || c == '\''; });
            style.family = family;
        } else if (property == "font-weight") {
            if (lower == "bold" || lower == "bolder") style.bold = true;
            else if (lower == "normal" || lower == "lighter") style.bold = false;
            else if (size_t used = 0; auto weight = htmlCSSNumber(lower, &used)) style.bold = *weight >= 600;
        } else if (property == "text-align") {
            if (lower == "center") style.alignment = NSTextAlignment::Center;
            else if (lower == "right" || lower == "end") style.alignment = NSTextAlignment::Right;
            else if (lower == "left" || lower == "start") style.alignment = NSTextAlignment::Left;
            else if (lower == "justify") style.alignment = NSTextAlignment::Justified;
        }
    }
}

// The style inside an element: the parent's, with the tag's own look and
// then its style attribute.
HTMLTextStyle styleOfHTMLElement(const HTMLTextStyle& parent, const std::string& name, std::string_view tag) {
    HTMLTextStyle style = parent;
    style.tag = name;
    static const std::pair<const char*, double> headings[] = {{"h1", 2},    {"h2", 1.5},   {"h3", 1.17},
                                                              {"h4", 1},    {"h5", 0.83}, {"h6", 0.67}};
    for (const auto& [heading, scale] : headings) {
        if (name == heading) {
            style.bold = true;
            style.fontSize = parent.fontSize * scale;
        }
    }
    if (isHTMLTagAmong(name, {"b", "strong", "th"})) style.bold = true;
    if (name == "center") style.alignment = NSTextAlignment::Center;
    // A link is blue unless it says otherwise; it does not take its parent's colour.
    if (name == "a" && htmlAttribute(tag, "href")) style.color = graphics::Color::rgb(0, 0, 238 / 255.0);
    if (auto declarations = htmlAttribute(tag, "style")) applyHTMLDeclarations(style, *declarations, parent.fontSize);
    return style;
}

std::vector<HTMLTextLine> scanHTMLText(std::string_view html) {
    const std::string lower = lowercaseHTML(html);
    std::vector<HTMLTextStyle> open{HTMLTextStyle{}};
    uint64_t generation = 0;
    std::vector<HTMLTextLine> lines;
    HTMLTextLine line;

    auto endLine = [&](bool forced) {
        while (!line.pieces.empty() && !line.pieces.back().text.empty() && line.pieces.back().text.back() == ' ') {
            line.pieces.back().text.pop_back();
            if (line.pieces.back().text.empty()) line.pieces.pop_back();
        }
        if (line.pieces.empty() && !forced) return;
        if (line.pieces.empty()) line.style = open.back();
        lines.push_back(std::move(line));
        line = {};
    };
    auto addText = [&](std::string_view text) {
        for (char c : text) {
            const bool blank = isHTMLBlank(c);
            if (blank && (line.pieces.empty() || line.pieces.back().text.back() == ' ')) continue;
            if (line.pieces.empty()) line.style = open.back();
            if (line.pieces.empty() || line.pieces.back().styleGeneration != generation)
                line.pieces.push_back({std::string(), open.back(), generation});
            line.pieces.back().text += blank ? ' ' : c;
        }
    };

    size_t i = 0;
    while (i < html.size()) {
        const char ch = html[i];
        if (ch == '<') {
            if (html.substr(i, 4) == "<!--") {
                const size_t end = html.find("-->", i + 4);
                i = end == std::string_view::npos ? html.size() : end + 3;
                continue;
            }
            const size_t end = html.find('>', i);
            if (end == std::string_view::npos) break;
            std::string_view inside = html.substr(i + 1, end - i - 1);
            i = end + 1;
            const bool closing = !inside.empty() && inside.front() == '/';
            if (closing) inside.remove_prefix(1);
            std::string name;
            for (char c : inside) {
                if (!std::isalnum(static_cast<unsigned char>(c))) break;
                name += char(std::tolower(static_cast<unsigned char>(c)));
            }
            if (name.empty()) continue;  // a doctype, a processing instruction
            if (!closing && isHTMLSkippedTag(name)) {
                const size_t close = lower.find("</" + name, i);
                const size_t after = close == std::string::npos ? std::string::npos : html.find('>', close);
                i = after == std::string_view::npos ? html.size() : after + 1;
                continue;
            }
            if (name == "br") {
                if (!closing) endLine(true);
                continue;
            }
            if (isHTMLBlockTag(name)) endLine(false);
            if (closing) {
                for (size_t depth = open.size(); depth > 1; --depth) {
                    if (open[depth - 1].tag != name) continue;
                    open.resize(depth - 1);
                    ++generation;
                    break;
                }
            } else if (!isHTMLVoidTag(name) && !(!inside.empty() && inside.back() == '/')) {
                open.push_back(styleOfHTMLElement(open.back(), name, inside));
                ++generation;
            }
            continue;
        }
        if (ch == '&') {
            if (auto reference = htmlCharacterReference(html.substr(i))) {
                addText(reference->first);
                i += reference->second;
                continue;
            }
        }
        addText(html.substr(i, 1));
        ++i;
    }
    endLine(false);
    return lines;
}

UIFontPtr fontOfHTMLText(const HTMLTextStyle& style) {
    if (!style.family.empty()) {
        std::string family = style.family;
        std::erase(family, ' ');
        const std::string base = family.substr(0, family.find('-'));
        for (const std::string& name : style.bold ? std::vector<std::string>{family + "-Bold", base + "-Bold"}
                                                  : std::vector<std::string>{family}) {
            if (auto font = UIFont::fontWithName(name, style.fontSize)) return font;
        }
    }
    return style.bold ? UIFont::boldSystemFontOfSize(style.fontSize) : UIFont::systemFontOfSize(style.fontSize);
}

TextAttributes attributesOfHTMLText(const HTMLTextStyle& style, const NSParagraphStyle& paragraph) {
    TextAttributes attributes;
    attributes.font = fontOfHTMLText(style);
    attributes.foregroundColor = style.color;
    attributes.paragraphStyle = paragraph;
    return attributes;
}

}  // namespace

NSAttributedString attributedStringFromHTML(std::string_view html) {
    const auto lines = scanHTMLText(foundation::StringUtils::repairUTF8(html));
    NSAttributedString text;
    for (size_t i = 0; i < lines.size(); ++i) {
        NSParagraphStyle paragraph;
        paragraph.setAlignment(lines[i].style.alignment);
        for (const auto& piece : lines[i].pieces)
            text.appendString(piece.text, attributesOfHTMLText(piece.style, paragraph));
        if (i + 1 < lines.size()) text.appendString("\n", attributesOfHTMLText(lines[i].style, paragraph));
    }
    return text;
}

std::string firstLineOfHTMLText(std::string_view html) {
    for (const auto& line : scanHTMLText(html)) {
        std::string text;
        for (const auto& piece : line.pieces) text += piece.text;
        if (!text.empty()) return text;
    }
    return std::string();
}

}  // namespace uikit

// Draws the application's pictures at build time from images.txt, at their
// size in points times the scale their names announce. A line may give the
// picture's colour ("#rrggbb"; else one derived from its name), "plain" for a
// stretchable background drawn without an edge (a tiled one shows no seams),
// and "icon" for a toolbar or row icon: a mark on a clear ground, so that a
// bar or row that shows it in its tint shows the mark and not a square (a
// star for the star icons, an arrow for the arrows, dots for "more", else the
// first letters of its name's telling words), in the colour its name says
// (white, blue, red) or dark. No two icons share a mark, so a person tells
// one button from another in a screenshot. "logo" pictures carry the app's
// name, and "placeholder" pictures a framed landscape, so neither reads as an
// empty block. Every output directory gets the same files.
// Usage: generate_images LIST DIR...
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "graphics/Bitmap.h"
#include "graphics/CairoContext.h"
#include "graphics/Font.h"
#include "graphics/MutablePath.h"
#include "graphics/TextMeasurer.h"

namespace {

using graphics::Color;

uint32_t hashOf(const std::string& s) {
    uint32_t hash = 2166136261u;
    for (unsigned char c : s) hash = (hash ^ c) * 16777619u;
    return hash;
}

int scaleOf(const std::string& name) {
    std::string stem = name.substr(0, name.rfind('.'));
    if (stem.size() > 3 && stem.compare(stem.size() - 3, 3, "@2x") == 0) return 2;
    if (stem.size() > 3 && stem.compare(stem.size() - 3, 3, "@3x") == 0) return 3;
    return 1;
}

std::optional<Color> parseColour(const std::string& word) {
    if (word.size() != 7 || word[0] != '#') return std::nullopt;
    for (size_t i = 1; i < 7; ++i)
        if (!std::isxdigit(static_cast<unsigned char>(word[i]))) return std::nullopt;
    auto component = [&](size_t at) { return std::stoi(word.substr(at, 2), nullptr, 16) / 255.0; };
    return Color::rgb(component(1), component(3), component(5));
}

struct Picture {
    std::string name;
    int width = 0;
    int height = 0;
    std::optional<Color> colour;
    bool plain = false;
    bool icon = false;
    std::string mark;  // an icon's letters when its name's would be another's
};

// Mid-range components, so that the edge is visibly darker.
Color hashedColour(const std::string& name) {
    uint32_t hash = hashOf(name);
    return Color::rgb((64 + (hash & 0x7f)) / 255.0, (64 + ((hash >> 8) & 0x7f)) / 255.0,
                      (64 + ((hash >> 16) & 0x7f)) / 255.0);
}

// The words of a file name: "favStarActive_small.png" is fav, Star, Active, small.
std::vector<std::string> wordsOf(const std::string& name) {
    std::string stem = name.substr(0, name.find_first_of(".@"));
    std::vector<std::string> words;
    std::string word;
    for (char c : stem) {
        const bool upper = std::isupper(static_cast<unsigned char>(c));
        if (c == '_' || c == '-' || (upper && !word.empty())) {
            if (!word.empty()) words.push_back(word);
            word.clear();
            if (!upper) continue;
        }
        word += c;
    }
    if (!word.empty()) words.push_back(word);
    return words;
}

bool hasWord(const std::vector<std::string>& words, const std::string& wanted) {
    return std::any_of(words.begin(), words.end(), [&](const std::string& word) {
        std::string lower;
        for (char c : word) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return lower == wanted;
    });
}

void drawStar(graphics::DrawingContext& context, double side, const Color& ink, bool outline) {
    graphics::MutablePath star;
    const double centre = side / 2, outer = side * 0.42, inner = side * 0.17;
    for (int i = 0; i < 10; ++i) {
        const double radius = i % 2 ? inner : outer;
        const double angle = -M_PI / 2 + i * M_PI / 5;
        graphics::Point point{centre + radius * std::cos(angle), centre + radius * std::sin(angle)};
        if (i == 0) star.moveToPoint(point);
        else star.addLineToPoint(point);
    }
    star.closeSubpath();
    if (!outline) {
        context.fillPath(star, ink);
        return;
    }
    graphics::StrokeStyle stroke;
    stroke.color = ink;
    stroke.lineWidth = std::max(1.0, side * 0.07);
    context.strokePath(star, stroke);
}

void drawArrow(graphics::DrawingContext& context, double side, bool left, const Color& ink) {
    graphics::MutablePath arrow;
    const double tip = left ? side * 0.3 : side * 0.7, tail = left ? side * 0.62 : side * 0.38;
    arrow.moveToPoint({tail, side * 0.22});
    arrow.addLineToPoint({tip, side * 0.5});
    arrow.addLineToPoint({tail, side * 0.78});
    graphics::StrokeStyle stroke;
    stroke.color = ink;
    stroke.lineWidth = std::max(1.5, side * 0.11);
    context.strokePath(arrow, stroke);
}

void drawDots(graphics::DrawingContext& context, double side, const Color& ink) {
    for (int dot = 0; dot < 3; ++dot) {
        graphics::MutablePath path;
        const double radius = side * 0.08;
        path.addEllipseInRect({side * (0.25 + dot * 0.25) - radius, side / 2 - radius, 2 * radius, 2 * radius});
        context.fillPath(path, ink);
    }
}

// The initials of the telling words: "remove_from_watchlist_red" is RW.
std::string initialsOf(const std::vector<std::string>& words) {
    // Words that tell nothing apart ("maps_icon", "add_to_agenda-white").
    static const std::vector<std::string> kQuiet = {"icon", "to", "from", "white", "blue", "red",
                                                    "small", "ios7", "tab", "selected", "disabled"};
    std::string initials, telling;
    for (const auto& word : words) {
        if (initials.size() == 2) break;
        if (std::find_if(kQuiet.begin(), kQuiet.end(), [&](const std::string& quiet) {
                return hasWord({word}, quiet);
            }) != kQuiet.end())
            continue;
        initials += static_cast<char>(std::toupper(static_cast<unsigned char>(word[0])));
        telling = word;
    }
    // One telling word gives its first two letters: "summary" is Su, "structure" St.
    if (initials.size() == 1 && telling.size() > 1)
        initials += static_cast<char>(std::tolower(static_cast<unsigned char>(telling[1])));
    return initials;
}

void drawInitials(graphics::DrawingContext& context, double side, const std::string& initials, const Color& ink) {
    if (initials.empty()) return;
    graphics::FontMetrics metrics;
    metrics.bold = true;
    graphics::Font font("DejaVu Sans Bold", side * (initials.size() == 1 ? 0.6 : 0.46), metrics);
    const double width = graphics::TextMeasurer::width(font, initials);
    const double baseline = side / 2 + (font.ascender() - font.pointSize() * metrics.descent) / 2;
    context.drawText(initials, font, {(side - width) / 2, baseline}, ink);
}

enum class Glyph { Star, Arrow, Dots, Initials };

// What an icon shows; two icons with the same mark could not be told apart.
struct Mark {
    Glyph glyph = Glyph::Initials;
    std::string text;  // the initials, or the state of a star or an arrow
    Color ink = Color::black();

    std::string key() const {
        const auto rgba = ink.rgba();
        return std::to_string(static_cast<int>(glyph)) + text + "/" + std::to_string(int(rgba.red * 255)) + "," +
               std::to_string(int(rgba.green * 255)) + "," + std::to_string(int(rgba.blue * 255)) + "," +
               std::to_string(int(rgba.alpha * 255));
    }
};

Mark markOf(const Picture& picture) {
    const auto words = wordsOf(picture.name);
    Mark mark;
    mark.ink = hasWord(words, "white") ? Color::white()
               : hasWord(words, "blue") ? Color::rgb(0.25, 0.62, 0.82)
               : hasWord(words, "red")  ? Color::rgb(0.85, 0.2, 0.2)
                                        : Color::rgb(0.22, 0.28, 0.31);
    if (hasWord(words, "disabled")) mark.ink = Color::gray(0.7);
    if (hasWord(words, "selected")) mark.ink = Color::rgb(0.25, 0.62, 0.82);
    if (hasWord(words, "star")) {
        mark.glyph = Glyph::Star;
        // An outline for the normal star; the small one is drawn lighter.
        mark.text = hasWord(words, "normal") ? "outline" : hasWord(words, "small") ? "small" : "filled";
        if (hasWord(words, "active")) mark.ink = Color::rgb(0.96, 0.7, 0.1);
    } else if (hasWord(words, "arrow")) {
        mark.glyph = Glyph::Arrow;
        mark.text = hasWord(words, "left") ? "left" : "right";
    } else if (hasWord(words, "more")) {
        mark.glyph = Glyph::Dots;
    } else {
        mark.text = picture.mark.empty() ? initialsOf(words) : picture.mark;
    }
    return mark;
}

void drawLandscape(graphics::DrawingContext& context, double width, double height, const Color& ink) {
    const double side = std::min(width, height) * 0.5;
    const graphics::Rect frame{(width - side * 1.3) / 2, (height - side) / 2, side * 1.3, side};
    graphics::MutablePath outline;
    outline.addRect(frame);
    graphics::StrokeStyle stroke;
    stroke.color = ink;
    stroke.lineWidth = std::max(1.0, side * 0.04);
    context.strokePath(outline, stroke);
    graphics::MutablePath hills;
    hills.moveToPoint({frame.origin.x, frame.origin.y + side});
    hills.addLineToPoint({frame.origin.x + side * 0.45, frame.origin.y + side * 0.45});
    hills.addLineToPoint({frame.origin.x + side * 0.75, frame.origin.y + side * 0.75});
    hills.addLineToPoint({frame.origin.x + side * 0.95, frame.origin.y + side * 0.55});
    hills.addLineToPoint({frame.origin.x + side * 1.3, frame.origin.y + side});
    hills.closeSubpath();
    context.fillPath(hills, ink);
    graphics::MutablePath sun;
    sun.addEllipseInRect({frame.origin.x + side * 0.9, frame.origin.y + side * 0.12, side * 0.2, side * 0.2});
    context.fillPath(sun, ink);
}

void drawWordmark(graphics::DrawingContext& context, double width, double height) {
    graphics::FontMetrics metrics;
    metrics.bold = true;
    graphics::Font font("DejaVu Sans Bold", height * 0.42, metrics);
    const std::string name = "QUOVANA";
    const double textWidth = graphics::TextMeasurer::width(font, name);
    const double baseline = height / 2 + (font.ascender() - font.pointSize() * metrics.descent) / 2;
    context.drawText(name, font, {(width - textWidth) / 2, baseline}, Color::white());
}

graphics::Bitmap draw(const Picture& picture, int scale) {
    const int width = picture.width * scale, height = picture.height * scale;
    graphics::CairoContext context(width, height);
    context.setShouldAntialias(true);
    graphics::MutablePath all;
    all.addRect({0, 0, double(width), double(height)});
    if (picture.icon) {
        if (picture.colour) context.fillPath(all, *picture.colour);
        context.scaleCTM(scale, scale);
        const double side = std::min(picture.width, picture.height);
        const Mark mark = markOf(picture);
        switch (mark.glyph) {
            case Glyph::Star:
                drawStar(context, side, mark.ink, mark.text == "outline");
                break;
            case Glyph::Arrow: drawArrow(context, side, mark.text == "left", mark.ink); break;
            case Glyph::Dots: drawDots(context, side, mark.ink); break;
            case Glyph::Initials: drawInitials(context, side, mark.text, mark.ink); break;
        }
        return context.bitmap();
    }
    const auto words = wordsOf(picture.name);
    const Color fill = picture.colour.value_or(hasWord(words, "logo") ? Color::rgb(0.14, 0.25, 0.35)
                                                                       : hashedColour(picture.name));
    context.fillPath(all, fill);
    if (hasWord(words, "logo") || hasWord(words, "placeholder")) {
        context.scaleCTM(scale, scale);
        if (hasWord(words, "logo")) drawWordmark(context, picture.width, picture.height);
        else drawLandscape(context, picture.width, picture.height, Color::gray(0.62));
        return context.bitmap();
    }
    if (!picture.plain) {
        graphics::MutablePath edge;
        edge.addRect({0.5, 0.5, width - 1.0, height - 1.0});
        graphics::StrokeStyle stroke;
        const auto rgba = fill.rgba();
        stroke.color = Color::rgb(rgba.red / 2, rgba.green / 2, rgba.blue / 2);
        stroke.lineWidth = 1;
        context.setShouldAntialias(false);
        context.strokePath(edge, stroke);
    }
    return context.bitmap();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s LIST DIR...\n", argv[0]);
        return 2;
    }
    std::ifstream list(argv[1]);
    if (!list) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    for (int i = 2; i < argc; ++i) std::filesystem::create_directories(argv[i]);
    std::string line;
    int lineNumber = 0;
    std::map<std::string, std::string> iconsByMark;
    while (std::getline(list, line)) {
        ++lineNumber;
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        Picture picture;
        if (!(fields >> picture.name)) continue;
        if (!(fields >> picture.width >> picture.height) || picture.width <= 0 || picture.height <= 0) {
            std::fprintf(stderr, "%s:%d: expected a name, a width and a height\n", argv[1], lineNumber);
            return 1;
        }
        for (std::string word; fields >> word;) {
            if (word == "plain") picture.plain = true;
            else if (word == "icon") picture.icon = true;
            else if (word.rfind("mark=", 0) == 0 && word.size() > 5) picture.mark = word.substr(5);
            else if (auto colour = parseColour(word)) picture.colour = colour;
            else {
                std::fprintf(stderr, "%s:%d: unknown word \"%s\" (a colour #rrggbb, plain, icon or mark=LETTERS)\n",
                             argv[1], lineNumber, word.c_str());
                return 1;
            }
        }
        if (picture.icon) {
            // The scale variants of one icon share its mark.
            const std::string stem = picture.name.substr(0, picture.name.find_first_of(".@"));
            auto [shared, fresh] = iconsByMark.emplace(markOf(picture).key(), stem);
            if (!fresh && shared->second != stem) {
                std::fprintf(stderr, "%s:%d: %s has the mark of %s: give it a name that tells it apart\n", argv[1],
                             lineNumber, picture.name.c_str(), shared->second.c_str());
                return 1;
            }
        }
        graphics::Bitmap bitmap = draw(picture, scaleOf(picture.name));
        for (int i = 2; i < argc; ++i) {
            if (auto error = bitmap.writePNG(std::string(argv[i]) + "/" + picture.name)) {
                std::fprintf(stderr, "cannot write %s in %s\n", picture.name.c_str(), argv[i]);
                return 1;
            }
        }
    }
    return 0;
}

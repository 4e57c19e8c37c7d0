// Draws the application's pictures at build time from images.txt, at their
// size in points times the scale their names announce. A line may give the
// picture's colour ("#rrggbb"; else one derived from its name), "plain" for a
// stretchable background drawn without an edge (a tiled one shows no seams),
// and "icon" for a toolbar or row icon: a simple dark mark on a light ground
// (a star for the star icons, an arrow for the arrows, else the first letters
// of its name's words), so a person tells one button from another in a
// screenshot. Every output directory gets the same files.
// Usage: generate_images LIST DIR...
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
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

void drawStar(graphics::DrawingContext& context, double side, const Color& ink) {
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
    context.fillPath(star, ink);
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

void drawInitials(graphics::DrawingContext& context, double side, const std::vector<std::string>& words,
                  const Color& ink) {
    // Words that tell nothing apart ("maps_icon", "add_to_agenda-white").
    static const std::vector<std::string> kQuiet = {"icon", "to", "white", "blue", "red", "small", "ios7"};
    std::string initials;
    for (const auto& word : words) {
        if (initials.size() == 2) break;
        if (std::find_if(kQuiet.begin(), kQuiet.end(), [&](const std::string& quiet) {
                return hasWord({word}, quiet);
            }) != kQuiet.end())
            continue;
        initials += static_cast<char>(std::toupper(static_cast<unsigned char>(word[0])));
    }
    if (initials.empty()) return;
    graphics::FontMetrics metrics;
    metrics.bold = true;
    graphics::Font font("DejaVu Sans Bold", side * (initials.size() == 1 ? 0.6 : 0.46), metrics);
    const double width = graphics::TextMeasurer::width(font, initials);
    const double baseline = side / 2 + (font.ascender() - font.pointSize() * metrics.descent) / 2;
    context.drawText(initials, font, {(side - width) / 2, baseline}, ink);
}

graphics::Bitmap draw(const Picture& picture, int scale) {
    const int width = picture.width * scale, height = picture.height * scale;
    graphics::CairoContext context(width, height);
    context.setShouldAntialias(true);
    graphics::MutablePath all;
    all.addRect({0, 0, double(width), double(height)});
    if (picture.icon) {
        context.fillPath(all, picture.colour.value_or(Color::gray(0.93)));
        context.scaleCTM(scale, scale);
        const double side = std::min(picture.width, picture.height);
        const Color ink = Color::rgb(0.22, 0.28, 0.31);
        const auto words = wordsOf(picture.name);
        if (hasWord(words, "star")) drawStar(context, side, ink);
        else if (hasWord(words, "arrow")) drawArrow(context, side, hasWord(words, "left"), ink);
        else drawInitials(context, side, words, ink);
        return context.bitmap();
    }
    const Color fill = picture.colour.value_or(hashedColour(picture.name));
    context.fillPath(all, fill);
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
            else if (auto colour = parseColour(word)) picture.colour = colour;
            else {
                std::fprintf(stderr, "%s:%d: unknown word \"%s\" (a colour #rrggbb, plain or icon)\n", argv[1],
                             lineNumber, word.c_str());
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

// Draws the application's pictures at build time from images.txt: each a flat
// colour derived from its name, with a darker one-pixel edge, at its size in
// points times the scale its name announces. Every output directory gets the
// same files. Usage: generate_images LIST DIR...
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "graphics/Bitmap.h"

namespace {

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

graphics::Bitmap draw(const std::string& name, int width, int height) {
    uint32_t hash = hashOf(name);
    // Mid-range components, so that the edge is visibly darker.
    graphics::Pixel fill{uint8_t(64 + (hash & 0x7f)), uint8_t(64 + ((hash >> 8) & 0x7f)),
                         uint8_t(64 + ((hash >> 16) & 0x7f)), 255};
    graphics::Pixel edge{uint8_t(fill.red / 2), uint8_t(fill.green / 2), uint8_t(fill.blue / 2), 255};
    graphics::Bitmap bitmap(width, height);
    auto& bytes = bitmap.bytes();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bool onEdge = x == 0 || y == 0 || x == width - 1 || y == height - 1;
            const graphics::Pixel& p = onEdge ? edge : fill;
            size_t at = (size_t(y) * size_t(width) + size_t(x)) * 4;
            bytes[at] = p.red;
            bytes[at + 1] = p.green;
            bytes[at + 2] = p.blue;
            bytes[at + 3] = p.alpha;
        }
    }
    return bitmap;
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
        std::string name;
        int width = 0, height = 0;
        if (!(fields >> name)) continue;
        if (!(fields >> width >> height) || width <= 0 || height <= 0) {
            std::fprintf(stderr, "%s:%d: expected a name, a width and a height\n", argv[1], lineNumber);
            return 1;
        }
        int scale = scaleOf(name);
        graphics::Bitmap bitmap = draw(name, width * scale, height * scale);
        for (int i = 2; i < argc; ++i) {
            if (auto error = bitmap.writePNG(std::string(argv[i]) + "/" + name)) {
                std::fprintf(stderr, "cannot write %s in %s\n", name.c_str(), argv[i]);
                return 1;
            }
        }
    }
    return 0;
}

// Image files made on the spot for tests and the meeting service: PNGs of any
// size, bit depth and colour type, RGB and CMYK JPEGs and animated GIFs, each
// a gradient so a person opening one sees a picture. Written with the same
// libraries that read them.
#pragma once

#include <string>

namespace testservice {

enum class PNGKind { RGBA, RGB, Grey, GreyAlpha };

// Bit depth 8 or 16 (or 1, 2, 4 for grey). The blue component is `blue`
// throughout, so pictures of one size can differ.
std::string makePNG(int width, int height, int bitDepth = 8, PNGKind kind = PNGKind::RGBA, int blue = 160);
// Baseline, quality 85; the CMYK form as Adobe writes it (inverted inks).
std::string makeJPEG(int width, int height, bool cmyk = false, int blue = 160);
// One colour per frame, each shown 0.1 s, looping.
std::string makeAnimatedGIF(int width, int height, int frames);

}  // namespace testservice

// The colour-space model of a colour: how many components it has before its
// alpha and how they read. Only the device spaces exist here.
#pragma once

#include <cstddef>

namespace graphics {

class ColorSpace {
public:
    enum class Model { Monochrome, RGB, CMYK };

    static ColorSpace deviceGray() { return ColorSpace(Model::Monochrome); }
    static ColorSpace deviceRGB() { return ColorSpace(Model::RGB); }
    static ColorSpace deviceCMYK() { return ColorSpace(Model::CMYK); }

    Model model() const { return model_; }
    // Components without alpha: 1, 3 or 4.
    size_t numberOfComponents() const {
        return model_ == Model::Monochrome ? 1 : model_ == Model::RGB ? 3 : 4;
    }

    bool operator==(const ColorSpace&) const = default;

private:
    explicit ColorSpace(Model model) : model_(model) {}
    Model model_;
};

}  // namespace graphics

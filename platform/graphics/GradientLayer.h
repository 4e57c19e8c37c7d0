// A layer that fills its bounds with a colour ramp. Start and end points are
// unit coordinates of the bounds ((0.5, 0) to (0.5, 1) by default: top to
// bottom). The type is a string, as on the platform, so that subclasses may
// name types of their own: "axial" (the default) runs the ramp along the line
// and extends its end colours; "radial" centres it on the start point, with
// the end point on the ellipse where the ramp ends; any other type draws
// nothing here. Without locations the colours are spread evenly.
#pragma once

#include <string>
#include <vector>

#include "graphics/Layer.h"

namespace graphics {

inline constexpr const char* kGradientLayerTypeAxial = "axial";
inline constexpr const char* kGradientLayerTypeRadial = "radial";

class GradientLayer : public Layer {
public:
    static std::shared_ptr<GradientLayer> layer() { return std::make_shared<GradientLayer>(); }
    std::string className() const override { return "CAGradientLayer"; }
    LayerPtr makeLayerOfSameClass() const override { return layer(); }

    const std::vector<Color>& colors() const { return colors_; }
    void setColors(std::vector<Color> colors) { colors_ = std::move(colors); }
    const std::vector<double>& locations() const { return locations_; }
    void setLocations(std::vector<double> locations) { locations_ = std::move(locations); }
    Point startPoint() const { return startPoint_; }
    void setStartPoint(Point p) { startPoint_ = p; }
    Point endPoint() const { return endPoint_; }
    void setEndPoint(Point p) { endPoint_ = p; }
    const std::string& type() const { return type_; }
    void setType(std::string type) { type_ = std::move(type); }

    void drawInContext(DrawingContext& context) const override;

private:
    std::vector<Color> colors_;
    std::vector<double> locations_;
    Point startPoint_{0.5, 0};
    Point endPoint_{0.5, 1};
    std::string type_ = kGradientLayerTypeAxial;
};

}  // namespace graphics

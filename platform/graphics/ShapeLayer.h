// A layer that draws a path: filled (opaque black unless told otherwise, by
// the non-zero rule unless told otherwise), then stroked (not at all unless
// given a stroke colour). The path is in the layer's own coordinates and is
// shared, never copied.
#pragma once

#include "graphics/Layer.h"
#include "graphics/Path.h"
#include "graphics/StrokeStyle.h"

namespace graphics {

class ShapeLayer : public Layer {
public:
    static std::shared_ptr<ShapeLayer> layer() { return std::make_shared<ShapeLayer>(); }
    std::string className() const override { return "CAShapeLayer"; }
    LayerPtr makeLayerOfSameClass() const override { return layer(); }

    const PathPtr& path() const { return path_; }
    void setPath(PathPtr path) { path_ = std::move(path); }
    const std::optional<Color>& fillColor() const { return fillColor_; }
    void setFillColor(std::optional<Color> color) { fillColor_ = std::move(color); }
    FillRule fillRule() const { return fillRule_; }
    void setFillRule(FillRule rule) { fillRule_ = rule; }
    const std::optional<Color>& strokeColor() const { return strokeColor_; }
    void setStrokeColor(std::optional<Color> color) { strokeColor_ = std::move(color); }
    double lineWidth() const { return lineWidth_; }
    void setLineWidth(double width) { lineWidth_ = width; }
    LineCap lineCap() const { return lineCap_; }
    void setLineCap(LineCap cap) { lineCap_ = cap; }
    LineJoin lineJoin() const { return lineJoin_; }
    void setLineJoin(LineJoin join) { lineJoin_ = join; }
    double miterLimit() const { return miterLimit_; }
    void setMiterLimit(double limit) { miterLimit_ = limit; }
    // Empty: a solid line.
    const std::vector<double>& lineDashPattern() const { return lineDashPattern_; }
    void setLineDashPattern(std::vector<double> pattern) { lineDashPattern_ = std::move(pattern); }
    double lineDashPhase() const { return lineDashPhase_; }
    void setLineDashPhase(double phase) { lineDashPhase_ = phase; }

    void drawInContext(DrawingContext& context) const override;

private:
    PathPtr path_;
    std::optional<Color> fillColor_ = Color::black();
    FillRule fillRule_ = FillRule::NonZero;
    std::optional<Color> strokeColor_;
    double lineWidth_ = 1;
    LineCap lineCap_ = LineCap::Butt;
    LineJoin lineJoin_ = LineJoin::Miter;
    double miterLimit_ = 10;
    std::vector<double> lineDashPattern_;
    double lineDashPhase_ = 0;
};

}  // namespace graphics

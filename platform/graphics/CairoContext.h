// The pixel backend: a drawing context over an RGBA image of a fixed size,
// painted with cairo. One unit of user space is one pixel at first, y grows
// downward and the image starts fully transparent. Drawing calls that could
// not paint anything sensible (a singular transform, non-finite coordinates,
// an impossible dash) are skipped, so bad input never spoils the image.
// A shadow is painted under each filled shape: the shape in the shadow's
// colour at the offset, blurred with three box passes.
#pragma once

#include <memory>
#include <string>

#include "graphics/Bitmap.h"
#include "graphics/DrawingContext.h"

namespace graphics {

class CairoContext : public DrawingContext {
public:
    // Sides are clamped as Bitmap clamps them.
    CairoContext(int width, int height);
    ~CairoContext() override;
    CairoContext(const CairoContext&) = delete;
    CairoContext& operator=(const CairoContext&) = delete;

    int width() const;
    int height() const;
    // What has been painted so far.
    Bitmap bitmap() const;
    // The same written as PNG straight from the drawing, without the copy
    // that bitmap() makes (a large picture then needs one image's memory,
    // not three); errors as Bitmap::writePNG's.
    foundation::ErrorPtr writePNG(const std::string& path) const;

    void setShouldAntialias(bool antialias) override;
    void setFlatness(double flatness) override;
    void setInterpolationQuality(InterpolationQuality quality) override;
    void saveGState() override;
    void restoreGState() override;
    AffineTransform currentTransform() const override;
    void setShadow(Size offset, double blur, const std::optional<Color>& color) override;
    void concatCTM(const AffineTransform& m) override;
    void clipToPath(const Path& path, FillRule rule = FillRule::NonZero) override;
    void fillPath(const Path& path, const Color& color, FillRule rule = FillRule::NonZero) override;
    void strokePath(const Path& path, const StrokeStyle& style) override;
    void drawLinearGradient(const Gradient& gradient, Point start, Point end, unsigned options) override;
    void drawRadialGradient(const Gradient& gradient, Point startCenter, double startRadius, Point endCenter,
                            double endRadius, unsigned options) override;
    void drawImage(const Bitmap& image, const Rect& rect) override;
    void drawText(std::string_view text, const Font& font, Point origin, const Color& color) override;
    void beginTransparencyLayer(double alpha) override;
    void endTransparencyLayer() override;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace graphics

// Where drawing goes: the interface the layers render through and screens draw
// with. Two backends: RecordingContext keeps every call for tests to read,
// CairoContext paints pixels. The current transform (CTM) maps user space to
// the device; translate, scale and concat put their step before it, so a
// translation set first moves everything drawn later. Save and restore keep
// the transform and the clip; a transparency layer saves them as well and
// composites what is drawn inside it at one alpha when it ends. A restore
// only undoes a save and a layer end only a begin; others are ignored. The
// shadow is part of the saved state; shapes filled while one is set cast it.
#pragma once

#include <optional>
#include <string_view>

#include "graphics/AffineTransform.h"
#include "graphics/Bitmap.h"
#include "graphics/Color.h"
#include "graphics/Font.h"
#include "graphics/Gradient.h"
#include "graphics/Path.h"
#include "graphics/Shadow.h"
#include "graphics/StrokeStyle.h"

namespace graphics {

class Layer;

// How images are resampled when drawn scaled; the default is the context's.
enum class InterpolationQuality : int { Default = 0, None = 1, Low = 2, Medium = 4, High = 3 };

class DrawingContext {
public:
    virtual ~DrawingContext() = default;

    // Drawing quality, part of the saved state. A context that has no such
    // setting ignores it. Flatness is the largest distance, in device
    // pixels, by which a flattened curve may stray (1 by default).
    virtual void setShouldAntialias(bool /*antialias*/) {}
    virtual void setFlatness(double /*flatness*/) {}
    virtual void setInterpolationQuality(InterpolationQuality /*quality*/) {}

    virtual void saveGState() = 0;
    virtual void restoreGState() = 0;

    virtual AffineTransform currentTransform() const = 0;
    // m acts on user-space points before the current transform.
    virtual void concatCTM(const AffineTransform& m) = 0;
    void translateCTM(double tx, double ty) { concatCTM(AffineTransform::makeTranslation(tx, ty)); }
    void scaleCTM(double sx, double sy) { concatCTM(AffineTransform::makeScale(sx, sy)); }

    // Fills from now on cast this shadow; no colour, or a clear one, casts none.
    virtual void setShadow(Size offset, double blur, const std::optional<Color>& color) = 0;

    // Narrows the clip to the inside of the path.
    virtual void clipToPath(const Path& path, FillRule rule = FillRule::NonZero) = 0;
    virtual void fillPath(const Path& path, const Color& color, FillRule rule = FillRule::NonZero) = 0;
    virtual void strokePath(const Path& path, const StrokeStyle& style) = 0;

    // Paints the whole clip along the line from start to end; options say
    // whether the end colours extend beyond the two ends.
    virtual void drawLinearGradient(const Gradient& gradient, Point start, Point end, unsigned options) = 0;
    // Paints between the start circle and the end circle.
    virtual void drawRadialGradient(const Gradient& gradient, Point startCenter, double startRadius,
                                    Point endCenter, double endRadius, unsigned options) = 0;
    // The image stretched to the rectangle, upright: its first row at the
    // rectangle's minimum y.
    virtual void drawImage(const Bitmap& image, const Rect& rect) = 0;
    // One line of text, its baseline starting at origin.
    virtual void drawText(std::string_view text, const Font& font, Point origin, const Color& color) = 0;

    virtual void beginTransparencyLayer(double alpha) = 0;
    virtual void endTransparencyLayer() = 0;

    // Draws the layer and its sublayers in the layer's own coordinates
    // (Layer::renderInContext).
    void renderLayer(const Layer& layer);
};

}  // namespace graphics

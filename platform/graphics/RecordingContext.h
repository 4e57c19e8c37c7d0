// A drawing context that keeps every call, with the transform in force when
// it was made, for tests to read. It keeps its own transform stack so that
// recorded transforms are those a real backend would have used; nothing is
// painted. Unbalanced restores and layer ends are recorded but change nothing.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "graphics/DrawingContext.h"

namespace graphics {

struct RecordedOperation {
    enum class Kind {
        SaveGState,
        RestoreGState,
        ConcatCTM,
        ClipToPath,
        FillPath,
        StrokePath,
        DrawLinearGradient,
        DrawRadialGradient,
        DrawImage,
        DrawText,
        BeginTransparencyLayer,
        EndTransparencyLayer,
        SetShadow,
    };

    Kind kind = Kind::SaveGState;
    // The current transform once the operation has run.
    AffineTransform ctm;
    // ConcatCTM: its argument.
    AffineTransform transform;
    // ClipToPath, FillPath, StrokePath.
    Path path;
    FillRule fillRule = FillRule::NonZero;
    // FillPath and DrawText: the colour; StrokePath: the stroke's colour.
    std::optional<Color> color;
    std::optional<StrokeStyle> stroke;
    // The gradient drawings: start and end points (centres); DrawText: the
    // baseline origin in start.
    std::optional<Gradient> gradient;
    Point start;
    Point end;
    double startRadius = 0;
    double endRadius = 0;
    unsigned options = 0;
    // DrawImage: the rectangle and the image's pixel size.
    Rect rect;
    Size imageSize;
    // DrawText.
    std::string text;
    std::optional<Font> font;
    // BeginTransparencyLayer.
    double alpha = 1;
    // SetShadow: the shadow set (none when turned off); FillPath: the shadow
    // the fill cast.
    std::optional<Shadow> shadow;
};

class RecordingContext : public DrawingContext {
public:
    const std::vector<RecordedOperation>& operations() const { return operations_; }
    std::vector<RecordedOperation> operationsOfKind(RecordedOperation::Kind kind) const;
    void clear() { operations_.clear(); }

    void saveGState() override;
    void restoreGState() override;
    AffineTransform currentTransform() const override { return ctm_; }
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
    enum class Level { State, TransparencyLayer };
    struct Saved {
        Level level;
        AffineTransform ctm;
        std::optional<Shadow> shadow;
    };
    RecordedOperation& record(RecordedOperation::Kind kind);
    void restore(Level level);

    AffineTransform ctm_;
    std::optional<Shadow> shadow_;
    std::vector<Saved> stack_;
    std::vector<RecordedOperation> operations_;
};

}  // namespace graphics

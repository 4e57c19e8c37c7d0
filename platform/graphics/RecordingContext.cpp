// The recording backend. The transform stack mirrors the cairo backend's
// pairing rules: a restore only undoes a save, a layer end only a begin.
#include "graphics/RecordingContext.h"

namespace graphics {

using Kind = RecordedOperation::Kind;

RecordedOperation& RecordingContext::record(Kind kind) {
    RecordedOperation& op = operations_.emplace_back();
    op.kind = kind;
    op.ctm = ctm_;
    return op;
}

std::vector<RecordedOperation> RecordingContext::operationsOfKind(Kind kind) const {
    std::vector<RecordedOperation> result;
    for (const RecordedOperation& op : operations_) {
        if (op.kind == kind) result.push_back(op);
    }
    return result;
}

void RecordingContext::restore(Level level) {
    if (stack_.empty() || stack_.back().level != level) return;
    ctm_ = stack_.back().ctm;
    shadow_ = stack_.back().shadow;
    stack_.pop_back();
}

void RecordingContext::saveGState() {
    stack_.push_back({Level::State, ctm_, shadow_});
    record(Kind::SaveGState);
}

void RecordingContext::restoreGState() {
    restore(Level::State);
    record(Kind::RestoreGState);
}

void RecordingContext::setShadow(Size offset, double blur, const std::optional<Color>& color) {
    if (color && color->alpha() > 0) shadow_ = Shadow{offset, blur, *color};
    else shadow_.reset();
    record(Kind::SetShadow).shadow = shadow_;
}

void RecordingContext::concatCTM(const AffineTransform& m) {
    ctm_ = concat(m, ctm_);
    record(Kind::ConcatCTM).transform = m;
}

void RecordingContext::clipToPath(const Path& path, FillRule rule) {
    RecordedOperation& op = record(Kind::ClipToPath);
    op.path = path;
    op.fillRule = rule;
}

void RecordingContext::fillPath(const Path& path, const Color& color, FillRule rule) {
    RecordedOperation& op = record(Kind::FillPath);
    op.path = path;
    op.color = color;
    op.fillRule = rule;
    op.shadow = shadow_;
}

void RecordingContext::strokePath(const Path& path, const StrokeStyle& style) {
    RecordedOperation& op = record(Kind::StrokePath);
    op.path = path;
    op.color = style.color;
    op.stroke = style;
}

void RecordingContext::drawLinearGradient(const Gradient& gradient, Point start, Point end, unsigned options) {
    RecordedOperation& op = record(Kind::DrawLinearGradient);
    op.gradient = gradient;
    op.start = start;
    op.end = end;
    op.options = options;
}

void RecordingContext::drawRadialGradient(const Gradient& gradient, Point startCenter, double startRadius,
                                          Point endCenter, double endRadius, unsigned options) {
    RecordedOperation& op = record(Kind::DrawRadialGradient);
    op.gradient = gradient;
    op.start = startCenter;
    op.startRadius = startRadius;
    op.end = endCenter;
    op.endRadius = endRadius;
    op.options = options;
}

void RecordingContext::drawImage(const Bitmap& image, const Rect& rect) {
    RecordedOperation& op = record(Kind::DrawImage);
    op.rect = rect;
    op.imageSize = {double(image.width()), double(image.height())};
}

void RecordingContext::drawText(std::string_view text, const Font& font, Point origin, const Color& color) {
    RecordedOperation& op = record(Kind::DrawText);
    op.text = std::string(text);
    op.font = font;
    op.start = origin;
    op.color = color;
}

void RecordingContext::beginTransparencyLayer(double alpha) {
    stack_.push_back({Level::TransparencyLayer, ctm_, shadow_});
    record(Kind::BeginTransparencyLayer).alpha = alpha;
}

void RecordingContext::endTransparencyLayer() {
    restore(Level::TransparencyLayer);
    record(Kind::EndTransparencyLayer);
}

}  // namespace graphics

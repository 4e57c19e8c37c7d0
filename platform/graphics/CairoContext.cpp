// The cairo backend. cairo puts a context into a permanent error state on an
// invalid matrix, dash or string, so every call is checked here first: the
// transform is kept on our side and handed to cairo only while invertible,
// paths with non-finite points are dropped and text is made valid UTF-8.
// Our own stack pairs saves with restores and layer begins with ends, so
// cairo never sees an unbalanced restore or group pop.
#include "graphics/CairoContext.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "graphics/CairoSurface.h"
#include "graphics/ImageConvolution.h"
#include "graphics/TextMeasurer.h"
#include "graphics/Utf8.h"

namespace graphics {

namespace {

bool finite(Point p) { return std::isfinite(p.x) && std::isfinite(p.y); }

bool finite(const Path& path) {
    for (const PathElement& e : path.elements()) {
        for (int i = 0; i < e.pointCount(); ++i) {
            if (!finite(e.points[i])) return false;
        }
    }
    return true;
}

void setSource(cairo_t* cr, const Color& color) {
    Color::RGBA c = color.rgba();
    cairo_set_source_rgba(cr, c.red, c.green, c.blue, c.alpha);
}

void addStops(cairo_pattern_t* pattern, const Gradient& gradient) {
    for (size_t i = 0; i < gradient.colors().size(); ++i) {
        double location = gradient.locations()[i];
        location = std::isfinite(location) ? std::clamp(location, 0.0, 1.0) : 0.0;
        Color::RGBA c = gradient.colors()[i].rgba();
        cairo_pattern_add_color_stop_rgba(pattern, location, c.red, c.green, c.blue, c.alpha);
    }
}

// Keeps the half of the current clip on the side of the line through origin
// that direction points to.
void clipToHalfPlane(cairo_t* cr, Point origin, Point direction) {
    double length = std::hypot(direction.x, direction.y);
    Point d{direction.x / length, direction.y / length};
    Point n{-d.y, d.x};
    double x1, y1, x2, y2;
    cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
    double tMax = 0, sMin = 0, sMax = 0;
    for (Point c : {Point{x1, y1}, Point{x2, y1}, Point{x2, y2}, Point{x1, y2}}) {
        double t = (c.x - origin.x) * d.x + (c.y - origin.y) * d.y;
        double s = (c.x - origin.x) * n.x + (c.y - origin.y) * n.y;
        tMax = std::max(tMax, t);
        sMin = std::min(sMin, s);
        sMax = std::max(sMax, s);
    }
    tMax += 1;
    sMin -= 1;
    sMax += 1;
    auto at = [&](double t, double s) { return Point{origin.x + d.x * t + n.x * s, origin.y + d.y * t + n.y * s}; };
    cairo_new_path(cr);
    Point corners[4] = {at(0, sMin), at(tMax, sMin), at(tMax, sMax), at(0, sMax)};
    cairo_move_to(cr, corners[0].x, corners[0].y);
    for (int i = 1; i < 4; ++i) cairo_line_to(cr, corners[i].x, corners[i].y);
    cairo_close_path(cr);
    cairo_clip(cr);
}

}  // namespace

struct CairoContext::Impl {
    enum class Level { State, TransparencyLayer };
    struct Saved {
        Level level;
        AffineTransform ctm;
        double alpha;
        InterpolationQuality interpolation;
        std::optional<Shadow> shadow;
    };

    cairo_surface_t* surface = nullptr;
    cairo_t* cr = nullptr;
    AffineTransform ctm;
    InterpolationQuality interpolation = InterpolationQuality::Default;
    std::optional<Shadow> shadow;
    std::vector<Saved> stack;

    void castShadow(FillRule rule);

    // Whether drawing can show anything at all.
    bool usable() const { return ctm.isInvertible() && cairo_status(cr) == CAIRO_STATUS_SUCCESS; }

    void applyTransform() {
        if (!ctm.isInvertible()) return;
        cairo_matrix_t m;
        cairo_matrix_init(&m, ctm.a, ctm.b, ctm.c, ctm.d, ctm.tx, ctm.ty);
        cairo_set_matrix(cr, &m);
    }

    // Sets cairo's path; false when the path cannot be drawn.
    bool setPath(const Path& path) {
        cairo_new_path(cr);
        if (!finite(path)) return false;
        Point current, start;
        for (const PathElement& e : path.elements()) {
            const auto& p = e.points;
            switch (e.type) {
                case PathElement::Type::MoveToPoint:
                    cairo_move_to(cr, p[0].x, p[0].y);
                    start = current = p[0];
                    break;
                case PathElement::Type::AddLineToPoint:
                    cairo_line_to(cr, p[0].x, p[0].y);
                    current = p[0];
                    break;
                case PathElement::Type::AddQuadCurveToPoint: {
                    // The cubic that traces the same quadratic curve.
                    Point c1{current.x + 2.0 / 3.0 * (p[0].x - current.x), current.y + 2.0 / 3.0 * (p[0].y - current.y)};
                    Point c2{p[1].x + 2.0 / 3.0 * (p[0].x - p[1].x), p[1].y + 2.0 / 3.0 * (p[0].y - p[1].y)};
                    cairo_curve_to(cr, c1.x, c1.y, c2.x, c2.y, p[1].x, p[1].y);
                    current = p[1];
                    break;
                }
                case PathElement::Type::AddCurveToPoint:
                    cairo_curve_to(cr, p[0].x, p[0].y, p[1].x, p[1].y, p[2].x, p[2].y);
                    current = p[2];
                    break;
                case PathElement::Type::CloseSubpath:
                    cairo_close_path(cr);
                    current = start;
                    break;
            }
        }
        return true;
    }
};

CairoContext::CairoContext(int width, int height) : impl_(std::make_unique<Impl>()) {
    width = std::clamp(width, 0, Bitmap::kMaximumSide);
    height = std::clamp(height, 0, Bitmap::kMaximumSide);
    impl_->surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    impl_->cr = cairo_create(impl_->surface);
}

CairoContext::~CairoContext() {
    cairo_destroy(impl_->cr);
    cairo_surface_destroy(impl_->surface);
}

int CairoContext::width() const { return cairo_image_surface_get_width(impl_->surface); }

int CairoContext::height() const { return cairo_image_surface_get_height(impl_->surface); }

Bitmap CairoContext::bitmap() const { return detail::bitmapFromSurface(impl_->surface); }

foundation::ErrorPtr CairoContext::writePNG(const std::string& path) const {
    // Whatever the painting left unflushed reaches the pixels first.
    cairo_surface_flush(impl_->surface);
    return detail::writeSurfacePNG(impl_->surface, path);
}

void CairoContext::setShouldAntialias(bool antialias) {
    cairo_set_antialias(impl_->cr, antialias ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
}

// cairo's tolerance is in device pixels too; its default of 0.1 stands for
// a flatness of 1.
void CairoContext::setFlatness(double flatness) {
    if (std::isfinite(flatness) && flatness > 0) cairo_set_tolerance(impl_->cr, 0.1 * flatness);
}

void CairoContext::setInterpolationQuality(InterpolationQuality quality) { impl_->interpolation = quality; }

void CairoContext::saveGState() {
    cairo_save(impl_->cr);
    impl_->stack.push_back({Impl::Level::State, impl_->ctm, 1, impl_->interpolation, impl_->shadow});
}

void CairoContext::restoreGState() {
    if (impl_->stack.empty() || impl_->stack.back().level != Impl::Level::State) return;
    cairo_restore(impl_->cr);
    impl_->ctm = impl_->stack.back().ctm;
    impl_->interpolation = impl_->stack.back().interpolation;
    impl_->shadow = impl_->stack.back().shadow;
    impl_->stack.pop_back();
}

AffineTransform CairoContext::currentTransform() const { return impl_->ctm; }

void CairoContext::setShadow(Size offset, double blur, const std::optional<Color>& color) {
    const bool usable = color && color->rgba().alpha > 0 && std::isfinite(offset.width) &&
                        std::isfinite(offset.height) && std::isfinite(blur);
    if (usable) impl_->shadow = Shadow{offset, std::max(blur, 0.0), *color};
    else impl_->shadow.reset();
}

// The shape (cairo's current path) filled in the shadow's colour on a
// scratch surface around it, moved and blurred there, then painted in device
// space under the current clip. The blur is taken as twice the deviation.
void CairoContext::Impl::castShadow(FillRule rule) {
    const Shadow& s = *shadow;
    const double scale = std::sqrt(std::abs(ctm.a * ctm.d - ctm.b * ctm.c));
    const double dx = ctm.a * s.offset.width + ctm.c * s.offset.height;
    const double dy = ctm.b * s.offset.width + ctm.d * s.offset.height;
    const int box = ImageConvolution::boxSizeForRadius(s.blur * scale / 2);
    const int margin = 3 * (box / 2) + 1;

    double x1, y1, x2, y2;
    cairo_fill_extents(cr, &x1, &y1, &x2, &y2);
    double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
    for (Point p : {Point{x1, y1}, Point{x2, y1}, Point{x1, y2}, Point{x2, y2}}) {
        cairo_user_to_device(cr, &p.x, &p.y);
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    }
    const double surfaceWidth = cairo_image_surface_get_width(surface);
    const double surfaceHeight = cairo_image_surface_get_height(surface);
    const double left = std::max(std::floor(minX + dx) - margin, 0.0);
    const double top = std::max(std::floor(minY + dy) - margin, 0.0);
    const double right = std::min(std::ceil(maxX + dx) + margin, surfaceWidth);
    const double bottom = std::min(std::ceil(maxY + dy) + margin, surfaceHeight);
    if (!(right > left) || !(bottom > top)) return;
    const int width = static_cast<int>(right - left);
    const int height = static_cast<int>(bottom - top);

    cairo_surface_t* shape = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_surface_t* blurred = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* scratch = cairo_create(shape);
    cairo_matrix_t m;
    cairo_matrix_init(&m, ctm.a, ctm.b, ctm.c, ctm.d, ctm.tx + dx - left, ctm.ty + dy - top);
    cairo_set_matrix(scratch, &m);
    cairo_path_t* path = cairo_copy_path(cr);
    cairo_append_path(scratch, path);
    cairo_path_destroy(path);
    cairo_set_fill_rule(scratch, rule == FillRule::EvenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
    setSource(scratch, s.color);
    cairo_fill(scratch);
    cairo_destroy(scratch);
    cairo_surface_flush(shape);
    cairo_surface_flush(blurred);

    auto buffer = [](cairo_surface_t* surface) {
        return ImageBuffer{cairo_image_surface_get_data(surface), cairo_image_surface_get_width(surface),
                           cairo_image_surface_get_height(surface),
                           static_cast<size_t>(cairo_image_surface_get_stride(surface))};
    };
    ImageBuffer a = buffer(shape), b = buffer(blurred);
    ImageConvolution::boxConvolve(a, b, box);
    ImageConvolution::boxConvolve(b, a, box);
    ImageConvolution::boxConvolve(a, b, box);
    cairo_surface_mark_dirty(blurred);

    cairo_save(cr);
    cairo_identity_matrix(cr);
    cairo_set_source_surface(cr, blurred, left, top);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(shape);
    cairo_surface_destroy(blurred);
}

void CairoContext::concatCTM(const AffineTransform& m) {
    impl_->ctm = concat(m, impl_->ctm);
    impl_->applyTransform();
}

void CairoContext::clipToPath(const Path& path, FillRule rule) {
    if (!impl_->usable()) return;
    cairo_t* cr = impl_->cr;
    // A path that cannot be drawn encloses nothing: the clip becomes empty.
    impl_->setPath(path);
    cairo_set_fill_rule(cr, rule == FillRule::EvenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
    cairo_clip(cr);
}

void CairoContext::fillPath(const Path& path, const Color& color, FillRule rule) {
    if (!impl_->usable() || !impl_->setPath(path)) return;
    cairo_t* cr = impl_->cr;
    cairo_set_fill_rule(cr, rule == FillRule::EvenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
    if (impl_->shadow) impl_->castShadow(rule);
    setSource(cr, color);
    cairo_fill(cr);
}

void CairoContext::strokePath(const Path& path, const StrokeStyle& style) {
    if (!impl_->usable() || !(style.lineWidth > 0) || !std::isfinite(style.lineWidth)) return;
    if (!impl_->setPath(path)) return;
    cairo_t* cr = impl_->cr;
    cairo_save(cr);
    cairo_set_line_width(cr, style.lineWidth);
    cairo_set_line_cap(cr, style.lineCap == LineCap::Round    ? CAIRO_LINE_CAP_ROUND
                           : style.lineCap == LineCap::Square ? CAIRO_LINE_CAP_SQUARE
                                                              : CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(cr, style.lineJoin == LineJoin::Round   ? CAIRO_LINE_JOIN_ROUND
                            : style.lineJoin == LineJoin::Bevel ? CAIRO_LINE_JOIN_BEVEL
                                                                : CAIRO_LINE_JOIN_MITER);
    if (std::isfinite(style.miterLimit) && style.miterLimit > 0) cairo_set_miter_limit(cr, style.miterLimit);
    double total = 0;
    bool valid = true;
    for (double d : style.dashPattern) {
        if (!(d >= 0) || !std::isfinite(d)) valid = false;
        total += d;
    }
    if (valid && total > 0 && std::isfinite(style.dashPhase)) {
        cairo_set_dash(cr, style.dashPattern.data(), int(style.dashPattern.size()), style.dashPhase);
    }
    setSource(cr, style.color);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void CairoContext::drawLinearGradient(const Gradient& gradient, Point start, Point end, unsigned options) {
    if (!impl_->usable() || gradient.colors().empty() || !finite(start) || !finite(end) || start == end) return;
    cairo_t* cr = impl_->cr;
    cairo_pattern_t* pattern = cairo_pattern_create_linear(start.x, start.y, end.x, end.y);
    addStops(pattern, gradient);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    cairo_save(cr);
    Point along{end.x - start.x, end.y - start.y};
    if (!(options & kGradientDrawsBeforeStartLocation)) clipToHalfPlane(cr, start, along);
    if (!(options & kGradientDrawsAfterEndLocation)) clipToHalfPlane(cr, end, {-along.x, -along.y});
    cairo_set_source(cr, pattern);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_pattern_destroy(pattern);
}

void CairoContext::drawRadialGradient(const Gradient& gradient, Point startCenter, double startRadius,
                                      Point endCenter, double endRadius, unsigned options) {
    if (!impl_->usable() || gradient.colors().empty() || !finite(startCenter) || !finite(endCenter)) return;
    if (!(startRadius >= 0) || !(endRadius >= 0) || !std::isfinite(startRadius) || !std::isfinite(endRadius)) return;
    if (startRadius == 0 && endRadius == 0) return;
    cairo_t* cr = impl_->cr;
    cairo_pattern_t* pattern =
        cairo_pattern_create_radial(startCenter.x, startCenter.y, startRadius, endCenter.x, endCenter.y, endRadius);
    addStops(pattern, gradient);
    // cairo extends both ends or neither; the end matters more, since a ramp
    // usually starts at a point.
    cairo_pattern_set_extend(pattern, (options & kGradientDrawsAfterEndLocation) ? CAIRO_EXTEND_PAD : CAIRO_EXTEND_NONE);
    cairo_set_source(cr, pattern);
    cairo_paint(cr);
    cairo_pattern_destroy(pattern);
}

void CairoContext::drawImage(const Bitmap& image, const Rect& rect) {
    if (!impl_->usable() || image.width() == 0 || image.height() == 0 || rect.isEmpty()) return;
    Rect r = rect.standardized();
    if (!finite(r.origin) || !std::isfinite(r.size.width) || !std::isfinite(r.size.height)) return;
    cairo_t* cr = impl_->cr;
    cairo_surface_t* surface = detail::surfaceFromBitmap(image);
    cairo_save(cr);
    cairo_translate(cr, r.minX(), r.minY());
    cairo_scale(cr, r.width() / image.width(), r.height() / image.height());
    cairo_set_source_surface(cr, surface, 0, 0);
    // Scaled edges take their own colour, not a fade into transparency.
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_filter_t filter = CAIRO_FILTER_GOOD;
    switch (impl_->interpolation) {
        case InterpolationQuality::None: filter = CAIRO_FILTER_NEAREST; break;
        case InterpolationQuality::Low: filter = CAIRO_FILTER_FAST; break;
        case InterpolationQuality::High: filter = CAIRO_FILTER_BEST; break;
        case InterpolationQuality::Default:
        case InterpolationQuality::Medium: break;
    }
    cairo_pattern_set_filter(cairo_get_source(cr), filter);
    cairo_rectangle(cr, 0, 0, image.width(), image.height());
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_surface_destroy(surface);
}

void CairoContext::drawText(std::string_view text, const Font& font, Point origin, const Color& color) {
    if (!impl_->usable() || text.empty() || !(font.pointSize() > 0) || !finite(origin)) return;
    std::string utf8 = detail::sanitizedUtf8(text);
    cairo_t* cr = impl_->cr;
    cairo_font_face_t* face = cairo_toy_font_face_create(
        "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, font.metrics().bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_font_options_t* options = cairo_font_options_create();
    // Advances rounded to whole pixels would add up over a run of text past
    // the room laid out for it, eating the blank before the next run (a
    // link in a line, say).
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_matrix_t fontMatrix;
    cairo_matrix_init_scale(&fontMatrix, font.pointSize(), font.pointSize());
    // Scaled fonts are made and checked apart from the context, so a machine
    // without usable fonts leaves the text out instead of breaking the
    // context.
    auto scaledFont = [&] {
        cairo_matrix_t ctm;
        cairo_get_matrix(cr, &ctm);
        cairo_scaled_font_t* scaled = cairo_scaled_font_create(face, &fontMatrix, &ctm, options);
        if (cairo_scaled_font_status(scaled) == CAIRO_STATUS_SUCCESS) return scaled;
        cairo_scaled_font_destroy(scaled);
        return static_cast<cairo_scaled_font_t*>(nullptr);
    };
    cairo_save(cr);
    cairo_translate(cr, origin.x, origin.y);
    if (cairo_scaled_font_t* natural = scaledFont()) {
        // The machine's glyphs are squeezed or stretched to the advance the
        // measurer gave, so drawn text fills exactly the room laid out for it.
        cairo_text_extents_t extents;
        cairo_scaled_font_text_extents(natural, utf8.c_str(), &extents);
        cairo_scaled_font_destroy(natural);
        double wanted = TextMeasurer::width(font, utf8);
        if (extents.x_advance > 0 && wanted > 0) cairo_scale(cr, wanted / extents.x_advance, 1);
        if (cairo_scaled_font_t* fitted = scaledFont()) {
            cairo_set_scaled_font(cr, fitted);
            setSource(cr, color);
            cairo_move_to(cr, 0, 0);
            cairo_show_text(cr, utf8.c_str());
            cairo_scaled_font_destroy(fitted);
        }
    }
    cairo_restore(cr);
    cairo_font_options_destroy(options);
    cairo_font_face_destroy(face);
}

void CairoContext::beginTransparencyLayer(double alpha) {
    alpha = std::isfinite(alpha) ? std::clamp(alpha, 0.0, 1.0) : 1.0;
    cairo_push_group(impl_->cr);
    impl_->stack.push_back({Impl::Level::TransparencyLayer, impl_->ctm, alpha, impl_->interpolation, impl_->shadow});
}

void CairoContext::endTransparencyLayer() {
    if (impl_->stack.empty() || impl_->stack.back().level != Impl::Level::TransparencyLayer) return;
    cairo_t* cr = impl_->cr;
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, impl_->stack.back().alpha);
    impl_->ctm = impl_->stack.back().ctm;
    impl_->interpolation = impl_->stack.back().interpolation;
    impl_->shadow = impl_->stack.back().shadow;
    impl_->stack.pop_back();
}

}  // namespace graphics

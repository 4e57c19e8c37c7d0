#include "maps/VenuePlaneView.h"

#include <algorithm>
#include <cmath>

#include "graphics/MutablePath.h"
#include "graphics/StrokeStyle.h"
#include "uikit/NSStringDrawing.h"
#include "uikit/UIFont.h"

namespace {

constexpr double kGridSpacing = 40;
constexpr double kPinRadius = 7;
constexpr double kStemLength = 10;
constexpr double kNameFontSize = 12;
constexpr double kNamePadding = 3;
constexpr double kDegreesToRadians = M_PI / 180;

graphics::Color groundColor() { return graphics::Color::rgb(0.92, 0.94, 0.90); }
graphics::Color pinColor() { return graphics::Color::rgb(0.85, 0.22, 0.2); }

bool placeable(const VenuePlaneView::Pin& pin) {
    return std::isfinite(pin.latitude) && std::isfinite(pin.longitude);
}

}  // namespace

VenuePlaneView::VenuePlaneView(const graphics::Rect& frame) : uikit::UIView(frame) {
    setBackgroundColor(groundColor());
}

void VenuePlaneView::setPins(std::vector<Pin> pins, std::optional<size_t> selected) {
    pins_ = std::move(pins);
    selected_ = selected && *selected < pins_.size() ? selected : std::nullopt;
    setNeedsDisplay();
}

std::vector<graphics::Point> VenuePlaneView::placePins(const std::vector<Pin>& pins, const graphics::Rect& area) {
    const graphics::Point middle(area.midX(), area.midY());
    double minX = INFINITY, maxX = -INFINITY, minY = INFINITY, maxY = -INFINITY, latitudes = 0;
    size_t placed = 0;
    for (const auto& pin : pins) {
        if (!placeable(pin)) continue;
        latitudes += pin.latitude;
        ++placed;
    }
    // East-west distances shrink toward the poles: one scale for the group,
    // taken at its mean latitude.
    const double shrink = placed ? std::max(0.01, std::cos(latitudes / double(placed) * kDegreesToRadians)) : 1;
    auto x = [&](const Pin& pin) { return pin.longitude * shrink; };
    for (const auto& pin : pins) {
        if (!placeable(pin)) continue;
        minX = std::min(minX, x(pin)), maxX = std::max(maxX, x(pin));
        minY = std::min(minY, pin.latitude), maxY = std::max(maxY, pin.latitude);
    }
    const double spanX = maxX - minX;
    const double spanY = maxY - minY;
    double scale = 0;
    if (spanX > 0) scale = area.width() / spanX;
    if (spanY > 0) scale = spanX > 0 ? std::min(scale, area.height() / spanY) : area.height() / spanY;
    std::vector<graphics::Point> points;
    points.reserve(pins.size());
    for (const auto& pin : pins) {
        if (!placeable(pin) || !(scale > 0)) {
            points.push_back(middle);
            continue;
        }
        points.emplace_back(middle.x + (x(pin) - (minX + maxX) / 2) * scale,
                            middle.y - (pin.latitude - (minY + maxY) / 2) * scale);
    }
    return points;
}

void VenuePlaneView::drawRect(const graphics::Rect& rect) {
    (void)rect;
    auto* context = uikit::UIGraphicsGetCurrentContext();
    if (!context) return;
    const graphics::Rect plane = bounds();
    graphics::MutablePath grid;
    for (double x = kGridSpacing; x < plane.width(); x += kGridSpacing) {
        grid.moveToPoint({x, 0});
        grid.addLineToPoint({x, plane.height()});
    }
    for (double y = kGridSpacing; y < plane.height(); y += kGridSpacing) {
        grid.moveToPoint({0, y});
        grid.addLineToPoint({plane.width(), y});
    }
    graphics::StrokeStyle line;
    line.color = graphics::Color::rgb(0.84, 0.87, 0.82);
    line.lineWidth = 1;
    context->strokePath(grid, line);

    const graphics::Rect area = plane.insetBy(kInset, kInset);
    const auto points = placePins(pins_, area);
    const auto font = uikit::UIFont::systemFontOfSize(kNameFontSize);
    // The selected pin last, so no other name covers it.
    std::vector<size_t> order;
    for (size_t i = 0; i < pins_.size(); ++i)
        if (i != selected_) order.push_back(i);
    if (selected_) order.push_back(*selected_);
    for (size_t i : order) {
        const graphics::Point point = points[i];
        const graphics::Color color = i == selected_ ? tintColor() : pinColor();
        graphics::MutablePath stem;
        stem.moveToPoint(point);
        stem.addLineToPoint({point.x, point.y - kStemLength});
        graphics::StrokeStyle stemLine;
        stemLine.color = graphics::Color::gray(0.25);
        stemLine.lineWidth = 2;
        context->strokePath(stem, stemLine);
        const graphics::Point head(point.x, point.y - kStemLength - kPinRadius);
        graphics::MutablePath ring;
        ring.addEllipseInRect({head.x - kPinRadius - 1.5, head.y - kPinRadius - 1.5, 2 * kPinRadius + 3,
                               2 * kPinRadius + 3});
        context->fillPath(ring, graphics::Color::white());
        graphics::MutablePath dot;
        dot.addEllipseInRect({head.x - kPinRadius, head.y - kPinRadius, 2 * kPinRadius, 2 * kPinRadius});
        context->fillPath(dot, color);

        // The name beside the head, on the left where the right has no room.
        const auto lines = uikit::NSStringDrawing::layOut(pins_[i].name, font, std::max(0.0, plane.width() / 2));
        const graphics::Size size = uikit::NSStringDrawing::sizeOfLines(lines);
        double left = head.x + kPinRadius + 2 * kNamePadding;
        if (left + size.width + kNamePadding > plane.width()) left = head.x - kPinRadius - 2 * kNamePadding - size.width;
        const graphics::Rect label(left, head.y - size.height / 2, size.width, size.height);
        graphics::MutablePath backing;
        backing.addRoundedRect(label.insetBy(-kNamePadding, -1), 4);
        context->fillPath(backing, graphics::Color::gray(1, 0.85));
        uikit::NSStringDrawing::drawLines(*context, lines, label, uikit::NSTextAlignment::Left,
                                          graphics::Color::gray(0.1));
    }
}

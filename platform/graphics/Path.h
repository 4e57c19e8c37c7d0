// An outline of straight and curved segments, the platform's path. A Path is
// immutable once made and shared as PathPtr; MutablePath builds one. Every
// subpath begins with a move, so the elements read as a complete recipe: a
// segment added after a close starts a fresh subpath at the closed one's start
// with an explicit move. Containment treats every subpath as closed and
// flattens curves into short lines.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "graphics/AffineTransform.h"
#include "graphics/Geometry.h"

namespace graphics {

enum class FillRule { NonZero, EvenOdd };

// The platform's names: "non-zero", "even-odd".
std::string_view fillRuleName(FillRule rule);

struct PathElement {
    enum class Type { MoveToPoint, AddLineToPoint, AddQuadCurveToPoint, AddCurveToPoint, CloseSubpath };
    Type type = Type::MoveToPoint;
    // Control points first, the end point last; pointCount() of them are used.
    std::array<Point, 3> points{};

    int pointCount() const;
    bool operator==(const PathElement& other) const;
};

class MutablePath;

class Path {
public:
    Path() = default;
    Path(const Path&) = default;
    Path(Path&&) = default;
    Path& operator=(const Path&) = default;
    Path& operator=(Path&&) = default;
    virtual ~Path() = default;

    const std::vector<PathElement>& elements() const { return elements_; }
    bool isEmpty() const { return elements_.empty(); }
    // The end of the last segment (the subpath's start after a close); none
    // for an empty path.
    std::optional<Point> currentPoint() const { return current_; }

    // Every point of the path, curve control points included; null when empty.
    Rect boundingBox() const;
    // The outline itself: curves by their extremes, not their control points.
    Rect pathBoundingBox() const;
    bool containsPoint(Point p, FillRule rule = FillRule::NonZero) const;

    std::shared_ptr<const Path> copy() const;
    std::shared_ptr<MutablePath> mutableCopy() const;

    bool operator==(const Path& other) const { return elements_ == other.elements_; }

protected:
    std::vector<PathElement> elements_;
    std::optional<Point> current_;
    Point subpathStart_;
};

using PathPtr = std::shared_ptr<const Path>;

}  // namespace graphics

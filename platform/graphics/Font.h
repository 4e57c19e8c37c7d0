// A font: a name, a point size and the metrics the text measurer works from.
// Fonts are values made by the FontRegistry; their metrics are this system's
// own, the same on every machine, so measured text never depends on what
// happens to be installed.
#pragma once

#include <string>

namespace graphics {

// In ems (multiples of the point size).
struct FontMetrics {
    double ascent = 0.95;
    double descent = 0.25;
    double leading = 0.0;
    // Multiplies every advance width of the shared character table.
    double widthScale = 1.0;
    bool bold = false;
    bool operator==(const FontMetrics&) const = default;
};

class Font {
public:
    // A negative or non-finite size becomes 0.
    Font(std::string name, double pointSize, FontMetrics metrics);

    const std::string& name() const { return name_; }
    double pointSize() const { return pointSize_; }
    const FontMetrics& metrics() const { return metrics_; }
    double ascender() const { return metrics_.ascent * pointSize_; }
    double descender() const { return metrics_.descent * pointSize_; }
    // The distance from one baseline to the next.
    double lineHeight() const { return (metrics_.ascent + metrics_.descent + metrics_.leading) * pointSize_; }
    Font withSize(double pointSize) const { return Font(name_, pointSize, metrics_); }

    bool operator==(const Font&) const = default;

private:
    std::string name_;
    double pointSize_;
    FontMetrics metrics_;
};

}  // namespace graphics

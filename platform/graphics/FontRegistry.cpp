// The built-in faces. Their metrics are invented for this system: close
// enough in proportion to the named faces that layouts look right, fixed so
// that measured heights are identical on every machine.
#include "graphics/FontRegistry.h"

#include <mutex>

namespace graphics {

FontRegistry& FontRegistry::shared() {
    static FontRegistry registry;
    return registry;
}

FontRegistry::FontRegistry() {
    auto face = [](double ascent, double descent, double widthScale, bool bold) {
        return FontMetrics{ascent, descent, 0.0, widthScale, bold};
    };
    fonts_ = {
        {"Helvetica", face(0.95, 0.25, 1.00, false)},
        {"Helvetica-Bold", face(0.95, 0.25, 1.06, true)},
        {"HelveticaNeue", face(0.96, 0.24, 1.00, false)},
        {"HelveticaNeue-Light", face(0.96, 0.24, 0.97, false)},
        {"HelveticaNeue-Medium", face(0.96, 0.24, 1.03, false)},
        {"HelveticaNeue-Bold", face(0.96, 0.24, 1.06, true)},
        {"Verdana", face(1.00, 0.21, 1.13, false)},
        {"Verdana-Bold", face(1.00, 0.21, 1.22, true)},
        {"AvenirNext-Medium", face(1.00, 0.36, 1.02, false)},
        {"AvenirNext-Bold", face(1.00, 0.36, 1.08, true)},
        {"BradleyHandITCTT-Bold", face(0.90, 0.35, 0.95, true)},
        {kSystemFontName, face(0.96, 0.24, 1.00, false)},
        {kBoldSystemFontName, face(0.96, 0.24, 1.06, true)},
    };
}

std::optional<Font> FontRegistry::fontWithName(std::string_view name, double pointSize) const {
    std::shared_lock lock(mutex_);
    auto it = fonts_.find(name);
    if (it == fonts_.end()) return std::nullopt;
    return Font(it->first, pointSize, it->second);
}

bool FontRegistry::hasFont(std::string_view name) const {
    std::shared_lock lock(mutex_);
    return fonts_.find(name) != fonts_.end();
}

void FontRegistry::registerFont(std::string name, FontMetrics metrics) {
    std::unique_lock lock(mutex_);
    fonts_[std::move(name)] = metrics;
}

}  // namespace graphics

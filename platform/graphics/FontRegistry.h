// The fonts this system can make, by name. Asking for a name the registry
// does not know makes no font, so the callers' fallbacks ("use Verdana when
// the family is missing") behave here as on the device. The registry is
// shared by every thread; registering replaces a name's metrics.
#pragma once

#include <map>
#include <optional>
#include <shared_mutex>
#include <string>
#include <string_view>

#include "graphics/Font.h"

namespace graphics {

class FontRegistry {
public:
    // The names under which the user-interface font is known.
    static constexpr const char* kSystemFontName = "System";
    static constexpr const char* kBoldSystemFontName = "System-Bold";

    static FontRegistry& shared();

    // Knows the faces the application names: Helvetica, HelveticaNeue (and
    // its Light, Medium and Bold), Verdana, AvenirNext, BradleyHand and the
    // system font.
    FontRegistry();

    std::optional<Font> fontWithName(std::string_view name, double pointSize) const;
    bool hasFont(std::string_view name) const;
    void registerFont(std::string name, FontMetrics metrics);

private:
    mutable std::shared_mutex mutex_;
    std::map<std::string, FontMetrics, std::less<>> fonts_;
};

}  // namespace graphics

#include "uikit/UIFont.h"

#include "foundation/Format.h"
#include "graphics/FontRegistry.h"

namespace uikit {

UIFontPtr UIFont::fontWithName(std::string_view name, double size) {
    auto font = graphics::FontRegistry::shared().fontWithName(name, size);
    if (!font) return nullptr;
    return std::make_shared<UIFont>(std::move(*font));
}

UIFontPtr UIFont::systemFontOfSize(double size) {
    return fontWithName(graphics::FontRegistry::kSystemFontName, size);
}

UIFontPtr UIFont::boldSystemFontOfSize(double size) {
    return fontWithName(graphics::FontRegistry::kBoldSystemFontName, size);
}

std::string UIFont::description() const {
    return "<UIFont " + fontName() + " " + foundation::Format("%g", pointSize()) + ">";
}

bool UIFont::isEqual(const foundation::Object& other) const {
    auto font = dynamic_cast<const UIFont*>(&other);
    return font && font->font_ == font_;
}

bool sameFont(const UIFontPtr& a, const UIFontPtr& b) {
    if (!a || !b) return !a && !b;
    return a->isEqual(*b);
}

}  // namespace uikit

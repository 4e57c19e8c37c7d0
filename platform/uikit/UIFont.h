// A font of the user interface: a face of the graphics FontRegistry at a
// point size. A name the registry does not know gives no font (null), as on
// the device, so the callers' fallbacks take over. Fonts are immutable and
// may be shared freely.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "foundation/Object.h"
#include "graphics/Font.h"

namespace uikit {

class UIFont;
using UIFontPtr = std::shared_ptr<const UIFont>;

class UIFont : public foundation::Object {
public:
    // The size the platform gives labels and fields when none is set.
    static constexpr double kDefaultFontSize = 17;

    static UIFontPtr fontWithName(std::string_view name, double size);
    static UIFontPtr systemFontOfSize(double size);
    static UIFontPtr boldSystemFontOfSize(double size);

    explicit UIFont(graphics::Font font) : font_(std::move(font)) {}

    const std::string& fontName() const { return font_.name(); }
    double pointSize() const { return font_.pointSize(); }
    double ascender() const { return font_.ascender(); }
    double descender() const { return font_.descender(); }
    double lineHeight() const { return font_.lineHeight(); }
    // The extra room between lines that the face asks for.
    double leading() const { return font_.metrics().leading * font_.pointSize(); }
    UIFontPtr fontWithSize(double size) const { return std::make_shared<UIFont>(font_.withSize(size)); }

    // What the measurer and the drawing contexts work with.
    const graphics::Font& font() const { return font_; }

    std::string className() const override { return "UIFont"; }
    std::string description() const override;
    bool isEqual(const foundation::Object& other) const override;

private:
    graphics::Font font_;
};

// Equal faces at equal sizes; two null fonts are equal.
bool sameFont(const UIFontPtr& a, const UIFontPtr& b);

}  // namespace uikit

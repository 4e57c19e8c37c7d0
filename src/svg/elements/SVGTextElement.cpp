// The text layer. The layer's transform carries the whole placement: its
// anchor is its top-left corner, and the position lifts it by its height
// scaled as the drawing is, so the text sits above the baseline point the
// file gives, as SVG text does.
#include "svg/elements/SVGTextElement.h"

#include "foundation/StringUtils.h"
#include "graphics/FontRegistry.h"
#include "graphics/TextLayer.h"
#include "graphics/TextMeasurer.h"
#include "svg/css/SVGLength.h"
#include "svg/elements/SVGFloatFromString.h"
#include "svg/layers/SVGHelperUtilities.h"

namespace svg {

namespace {


graphics::Font fontFor(const std::optional<std::string>& family, double size) {
    const auto& registry = graphics::FontRegistry::shared();
    if (family) {
        if (auto font = registry.fontWithName(*family, size)) return *font;
    }
    if (auto font = registry.fontWithName(kSVGTextFallbackFontName, size)) return *font;
    return graphics::Font(kSVGTextFallbackFontName, size, graphics::FontMetrics{});
}

}  // namespace

graphics::LayerPtr SVGTextElement::newLayer() const {
    graphics::AffineTransform absolute =
        SVGHelperUtilities::transformAbsoluteIncludingViewportForTransformableOrViewportEstablishingElement(*this);
    graphics::AffineTransform placement = concat(
        graphics::AffineTransform::makeTranslation(SVGLength::pixelsOf(x()), SVGLength::pixelsOf(y())), absolute);

    auto sizeText = cascadedValueForStylableProperty("font-size");
    double fontSize = sizeText && !sizeText->empty() ? SVGFloatFromString(*sizeText) : kSVGTextDefaultFontSize;
    graphics::Font font = fontFor(cascadedValueForStylableProperty("font-family"), fontSize);

    using foundation::StringUtils::replace, foundation::StringUtils::trim;
    std::string text = replace(trim(textContent().value_or("")), "\n", " ");
    graphics::Size size = graphics::TextMeasurer::measure(font, text);

    auto layer = graphics::TextLayer::layer();
    SVGHelperUtilities::configureCALayer(*layer, *this);
    layer->setFont(font);
    layer->setBounds(graphics::Rect(0, 0, size.width, size.height));
    layer->setPosition({0, -size.height * placement.d});
    layer->setAnchorPoint({0, 0});
    layer->setAffineTransform(placement);
    layer->setFontSize(fontSize);
    layer->setString(std::move(text));
    layer->setAlignmentMode(graphics::TextAlignment::Left);
    layer->setForegroundColor(graphics::Color::black());
    return layer;
}

}  // namespace svg

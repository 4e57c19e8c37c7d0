#include "Utils/CountBadge.h"

#include <numbers>

#include "foundation/Format.h"
#include "foundation/StringUtils.h"
#include "graphics/Gradient.h"
#include "graphics/TextMeasurer.h"
#include "uikit/NSStringDrawing.h"
#include "uikit/UIColor.h"
#include "uikit/UIFont.h"
#include "uikit/UIScreen.h"

using graphics::Color;
using graphics::Rect;

namespace {

constexpr double kSide = 25;
constexpr double kSizingFontSize = 12;
constexpr double kTextFontSize = 13.5;
constexpr double kSingleCharacterEnlargement = 1.2;
constexpr double kMarginFraction = 0.1;
constexpr double kShadowBlur = 3;
constexpr double kFrameWidth = 2;

bool isSingleCharacter(const std::string& text) { return foundation::StringUtils::length16(text) < 2; }

}  // namespace

std::shared_ptr<CountBadge> CountBadge::countBadgeWithString(const std::string& badgeString) {
    return std::make_shared<CountBadge>(badgeString, 1.0, true);
}

std::shared_ptr<CountBadge> CountBadge::countBadgeWithString(const std::string& badgeString, const Color& stringColor,
                                                             const Color& insetColor, bool badgeFrame,
                                                             const Color& badgeFrameColor, double scale,
                                                             bool shining) {
    return std::make_shared<CountBadge>(badgeString, stringColor, insetColor, badgeFrame, badgeFrameColor, scale,
                                        shining);
}

CountBadge::CountBadge(const std::string& badgeString, double scale, bool shining)
    : CountBadge(badgeString, uikit::UIColor::whiteColor(), uikit::UIColor::colorWithRed(1, 0, 0, 1), true,
                 uikit::UIColor::whiteColor(), scale, shining) {}

CountBadge::CountBadge(const std::string& badgeString, const Color& stringColor, const Color& insetColor,
                       bool badgeFrame, const Color& badgeFrameColor, double scale, bool shining)
    : uikit::UIView(Rect(0, 0, kSide, kSide)),
      badgeText_(badgeString),
      badgeTextColor_(stringColor),
      badgeInsetColor_(insetColor),
      badgeFrame_(badgeFrame),
      badgeFrameColor_(badgeFrameColor),
      badgeScaleFactor_(scale),
      badgeShining_(shining) {
    setContentScaleFactor(uikit::UIScreen::mainScreen().scale());
    setBackgroundColor(uikit::UIColor::clearColor());
    autoBadgeSizeWithString(badgeString);
}

void CountBadge::autoBadgeSizeWithString(const std::string& badgeString) {
    const double scale = badgeScaleFactor_;
    Rect frame = this->frame();
    if (isSingleCharacter(badgeString)) {
        frame.size = {kSide * scale, kSide * scale};
    } else {
        const double textWidth =
            graphics::TextMeasurer::width(uikit::UIFont::boldSystemFontOfSize(kSizingFontSize)->font(), badgeString);
        const double characters = double(foundation::StringUtils::length16(badgeString));
        frame.size = {(textWidth + characters + 15) * scale, kSide * scale};
    }
    setFrame(frame);
    badgeText_ = badgeString;
    setNeedsDisplay();
}

graphics::MutablePath CountBadge::badgePath(const Rect& rect) const {
    constexpr double pi = std::numbers::pi;
    const double radius = rect.maxY() * badgeCornerRoundness_;
    const double margin = rect.maxY() * kMarginFraction;
    const double right = rect.maxX() - margin;
    const double bottom = rect.maxY() - margin;
    const double left = rect.minX() + margin;
    const double top = rect.minY() + margin;
    graphics::MutablePath path;
    path.addArc({right - radius, top + radius}, radius, 3 * pi / 2, 0, false);
    path.addArc({right - radius, bottom - radius}, radius, 0, pi / 2, false);
    path.addArc({left + radius, bottom - radius}, radius, pi / 2, pi, false);
    path.addArc({left + radius, top + radius}, radius, pi, 3 * pi / 2, false);
    path.closeSubpath();
    return path;
}

void CountBadge::drawRoundedRectWithContext(graphics::DrawingContext& context, const Rect& rect) const {
    context.saveGState();
    context.setShadow({1, 1}, kShadowBlur, Color::black());
    context.fillPath(badgePath(rect), badgeInsetColor_);
    context.restoreGState();
}

void CountBadge::drawShineWithContext(graphics::DrawingContext& context, const Rect& rect) const {
    context.saveGState();
    graphics::MutablePath path = badgePath(rect);
    context.clipToPath(path);
    const graphics::Gradient shine(graphics::ColorSpace::deviceRGB(),
                                   {Color::rgb(0.92, 0.92, 0.92, 1.0), Color::rgb(0.82, 0.82, 0.82, 0.4)}, {0, 0.4});
    const double bottom = rect.maxY() - rect.maxY() * kMarginFraction;
    context.drawLinearGradient(shine, {0, 0}, {0, bottom}, 0);
    context.restoreGState();
}

void CountBadge::drawFrameWithContext(graphics::DrawingContext& context, const Rect& rect) const {
    graphics::StrokeStyle style;
    style.color = badgeFrameColor_;
    style.lineWidth = badgeScaleFactor_ > 1 ? kFrameWidth + 0.25 * badgeScaleFactor_ : kFrameWidth;
    context.strokePath(badgePath(rect), style);
}

void CountBadge::drawRect(const Rect& rect) {
    graphics::DrawingContext* context = uikit::UIGraphicsGetCurrentContext();
    if (!context) return;
    drawRoundedRectWithContext(*context, rect);
    if (badgeShining_) drawShineWithContext(*context, rect);
    if (badgeFrame_) drawFrameWithContext(*context, rect);
    if (badgeText_.empty()) return;
    double size = kTextFontSize * badgeScaleFactor_;
    if (isSingleCharacter(badgeText_)) size *= kSingleCharacterEnlargement;
    const auto lines = uikit::NSStringDrawing::layOut(badgeText_, uikit::UIFont::boldSystemFontOfSize(size), 0, 1);
    const graphics::Size textSize = uikit::NSStringDrawing::sizeOfLines(lines);
    const graphics::Size badgeSize = bounds().size;
    const Rect textRect(badgeSize.width / 2 - textSize.width / 2, badgeSize.height / 2 - textSize.height / 2,
                        textSize.width, textSize.height);
    uikit::NSStringDrawing::drawLines(*context, lines, textRect, uikit::NSTextAlignment::Left, badgeTextColor_);
}

std::string CountBadge::screenDumpDetail() const {
    const Rect f = frame();
    return foundation::Format("\"%@\" frame=%g,%g,%gx%g", badgeText_, f.minX(), f.minY(), f.width(), f.height());
}

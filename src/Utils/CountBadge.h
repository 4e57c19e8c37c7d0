// A counter badge: a rounded, shadowed pill in the inset colour, with an
// optional frame, an optional glossy shine and the centred bold text. It
// sizes itself to its text (a circle for one character) and draws in
// drawRect. Main thread only, as every view.
#pragma once

#include <memory>
#include <string>

#include "graphics/Color.h"
#include "graphics/MutablePath.h"
#include "uikit/UIView.h"

class CountBadge : public uikit::UIView {
public:
    // Scale 1, shining.
    static std::shared_ptr<CountBadge> countBadgeWithString(const std::string& badgeString);
    static std::shared_ptr<CountBadge> countBadgeWithString(const std::string& badgeString,
                                                            const graphics::Color& stringColor,
                                                            const graphics::Color& insetColor, bool badgeFrame,
                                                            const graphics::Color& badgeFrameColor, double scale,
                                                            bool shining);

    // White text, red inset, a white frame, roundness 0.4.
    CountBadge(const std::string& badgeString, double scale, bool shining);
    CountBadge(const std::string& badgeString, const graphics::Color& stringColor, const graphics::Color& insetColor,
               bool badgeFrame, const graphics::Color& badgeFrameColor, double scale, bool shining);

    const std::string& badgeText() const { return badgeText_; }
    void setBadgeText(std::string text) { badgeText_ = std::move(text); }
    const graphics::Color& badgeTextColor() const { return badgeTextColor_; }
    void setBadgeTextColor(const graphics::Color& color) { badgeTextColor_ = color; }
    const graphics::Color& badgeInsetColor() const { return badgeInsetColor_; }
    void setBadgeInsetColor(const graphics::Color& color) { badgeInsetColor_ = color; }
    bool badgeFrame() const { return badgeFrame_; }
    void setBadgeFrame(bool frame) { badgeFrame_ = frame; }
    const graphics::Color& badgeFrameColor() const { return badgeFrameColor_; }
    void setBadgeFrameColor(const graphics::Color& color) { badgeFrameColor_ = color; }
    // A fraction of the badge's height.
    double badgeCornerRoundness() const { return badgeCornerRoundness_; }
    void setBadgeCornerRoundness(double roundness) { badgeCornerRoundness_ = roundness; }
    double badgeScaleFactor() const { return badgeScaleFactor_; }
    void setBadgeScaleFactor(double scale) { badgeScaleFactor_ = scale; }
    bool badgeShining() const { return badgeShining_; }
    void setBadgeShining(bool shining) { badgeShining_ = shining; }

    // Takes the text and sizes the badge to it, keeping the origin: 25 ×
    // scale square below two characters, else (text width in the bold system
    // font of 12 + characters + 15) × scale wide and 25 × scale high.
    void autoBadgeSizeWithString(const std::string& badgeString);

    // The three layers, each on the pill's path in the rectangle: the body
    // with its shadow, the shine clipped to the pill, the frame.
    void drawRoundedRectWithContext(graphics::DrawingContext& context, const graphics::Rect& rect) const;
    void drawShineWithContext(graphics::DrawingContext& context, const graphics::Rect& rect) const;
    void drawFrameWithContext(graphics::DrawingContext& context, const graphics::Rect& rect) const;
    // The pill: four arcs of radius max y × roundness, 10 % of max y inside
    // the rectangle's edges.
    graphics::MutablePath badgePath(const graphics::Rect& rect) const;

    void drawRect(const graphics::Rect& rect) override;
    std::string className() const override { return "CountBadge"; }
    // The text and the frame.
    std::string screenDumpDetail() const override;

private:
    std::string badgeText_;
    graphics::Color badgeTextColor_;
    graphics::Color badgeInsetColor_;
    bool badgeFrame_ = true;
    graphics::Color badgeFrameColor_;
    double badgeCornerRoundness_ = 0.4;
    double badgeScaleFactor_ = 1;
    bool badgeShining_ = true;
};

using CountBadgePtr = std::shared_ptr<CountBadge>;

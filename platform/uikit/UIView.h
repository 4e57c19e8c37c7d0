// A view: a rectangle on screen backed by a layer. Subclasses draw in
// drawRect, which runs when the view is displayed after setNeedsDisplay, with
// the context it draws into made current for the drawing's duration. A
// subclass picks its backing layer's class by overriding makeBackingLayer.
// Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "foundation/Object.h"
#include "graphics/Color.h"
#include "graphics/DrawingContext.h"
#include "graphics/Geometry.h"
#include "graphics/Layer.h"

namespace uikit {

class UIView : public foundation::Object {
public:
    explicit UIView(const graphics::Rect& frame = {});
    ~UIView() override = default;

    // Made on first use, so that the subclass's class is the one asked.
    const graphics::LayerPtr& layer() const;
    virtual graphics::LayerPtr makeBackingLayer() const { return graphics::Layer::layer(); }

    graphics::Rect frame() const { return frame_; }
    virtual void setFrame(const graphics::Rect& frame);
    // Origin zero, the frame's size.
    graphics::Rect bounds() const { return {{0, 0}, frame_.size}; }

    const std::optional<graphics::Color>& backgroundColor() const { return layer()->backgroundColor(); }
    void setBackgroundColor(std::optional<graphics::Color> color) { layer()->setBackgroundColor(std::move(color)); }

    // A new view needs display; displaying clears it.
    bool needsDisplay() const { return needsDisplay_; }
    virtual void setNeedsDisplay() { needsDisplay_ = true; }
    // Fills the background, then runs drawRect with the context current.
    void display(graphics::DrawingContext& context);
    void displayIfNeeded(graphics::DrawingContext& context) {
        if (needsDisplay_) display(context);
    }
    virtual void drawRect(const graphics::Rect& rect);

    std::string className() const override { return "UIView"; }

private:
    graphics::Rect frame_;
    mutable graphics::LayerPtr layer_;
    bool needsDisplay_ = true;
};

using UIViewPtr = std::shared_ptr<UIView>;

// The context of the drawing under way, or null outside drawRect.
graphics::DrawingContext* UIGraphicsGetCurrentContext();

}  // namespace uikit

// The outdoor map's picture: each venue as a pin with its name on a plain
// plane. No map tiles exist here, so the plane is only a light ground with a
// faint grid; the pins are placed by latitude and longitude (north up, east
// right, a degree of longitude shortened by the cosine of the latitude as on
// a map of that place) and the whole group is fitted to the view, keeping its
// shape. A single venue, or venues at one point, sit in the middle. The
// selected venue's pin is drawn in the tint. Main thread only.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "uikit/UIView.h"

class VenuePlaneView : public uikit::UIView {
public:
    struct Pin {
        std::string name;
        double latitude = 0;
        double longitude = 0;
    };

    explicit VenuePlaneView(const graphics::Rect& frame);

    const std::vector<Pin>& pins() const { return pins_; }
    void setPins(std::vector<Pin> pins, std::optional<size_t> selected);
    const std::optional<size_t>& selectedPin() const { return selected_; }

    // Where each pin's point lies in `area` (in the same order); pins with a
    // coordinate that is not a number lie at the middle.
    static std::vector<graphics::Point> placePins(const std::vector<Pin>& pins, const graphics::Rect& area);

    void drawRect(const graphics::Rect& rect) override;
    std::string className() const override { return "VenuePlaneView"; }

    // Room around the group for the pins' heads and names.
    static constexpr double kInset = 40;

private:
    std::vector<Pin> pins_;
    std::optional<size_t> selected_;
};

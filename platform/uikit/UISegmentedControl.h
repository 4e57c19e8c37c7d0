// A row of segments, each showing a title or an image, at most one selected.
// A tap on a segment selects it and sends value-changed (a momentary control
// selects nothing lasting); selecting in code sends nothing. Segments share
// the width equally; sizeToFit grows the control so that the widest segment
// fits, but never makes it smaller than the frame it was given. Drawn in the
// tint: the selected segment filled with it, its content in the colour behind
// the control (white or black where that would not stand out from the fill).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "uikit/UIControl.h"
#include "uikit/UIImage.h"

namespace uikit {

inline constexpr int64_t UISegmentedControlNoSegment = -1;

class UISegmentedControl : public UIControl {
public:
    using Item = std::variant<std::string, UIImagePtr>;

    explicit UISegmentedControl(const std::vector<Item>& items = {}, const graphics::Rect& frame = {});

    size_t numberOfSegments() const { return segments_.size(); }
    // Indexes past the end append.
    void insertSegmentWithTitle(std::string title, size_t index, bool animated);
    void insertSegmentWithImage(UIImagePtr image, size_t index, bool animated);
    // An index past the end is ignored. Removing the selected segment
    // leaves nothing selected.
    void removeSegmentAtIndex(size_t index, bool animated);
    void removeAllSegments();
    // Whether the last insertion or removal asked for animation.
    bool lastChangeAnimated() const { return lastChangeAnimated_; }

    void setTitle(std::optional<std::string> title, size_t index);
    std::optional<std::string> titleForSegmentAtIndex(size_t index) const;
    void setImage(UIImagePtr image, size_t index);
    UIImagePtr imageForSegmentAtIndex(size_t index) const;
    void setEnabled(bool enabled, size_t index);
    bool isEnabledForSegmentAtIndex(size_t index) const;
    using UIControl::setEnabled;

    // UISegmentedControlNoSegment when none.
    int64_t selectedSegmentIndex() const { return selected_; }
    // Out of range selects nothing. Sends nothing.
    void setSelectedSegmentIndex(int64_t index);
    bool isMomentary() const { return momentary_; }
    void setMomentary(bool momentary) { momentary_ = momentary; }

    // The segment under a point of the bounds, or NoSegment.
    int64_t segmentIndexAtPoint(graphics::Point point) const;
    // A person's tap on a segment; false when ignored (control or segment
    // disabled, index out of range).
    bool tapSegmentAtIndex(size_t index);
    // The segment under the point.
    bool tapAtPoint(graphics::Point point) override;

    void setFrame(const graphics::Rect& frame) override;
    graphics::Size sizeThatFits(graphics::Size size) const override;
    void drawRect(const graphics::Rect& rect) override;

    std::string className() const override { return "UISegmentedControl"; }

private:
    struct Segment {
        std::optional<std::string> title;
        UIImagePtr image;
        bool enabled = true;
    };
    void insert(Segment segment, size_t index, bool animated);
    // The room a segment's content needs, padding included.
    double segmentWidth(const Segment& segment) const;
    // The colour of the selected segment's title or glyph on its fill.
    graphics::Color selectedContentColor(const graphics::Color& fill) const;

    std::vector<Segment> segments_;
    int64_t selected_ = UISegmentedControlNoSegment;
    bool momentary_ = false;
    bool lastChangeAnimated_ = false;
    graphics::Size setSize_{0, 0};
};

using UISegmentedControlPtr = std::shared_ptr<UISegmentedControl>;

}  // namespace uikit

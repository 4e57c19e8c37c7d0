#include "uikit/UISegmentedControl.h"

#include <algorithm>
#include <cmath>

#include "graphics/MutablePath.h"
#include "graphics/StrokeStyle.h"
#include "graphics/TextMeasurer.h"
#include "uikit/ImageTint.h"
#include "uikit/NSStringDrawing.h"
#include "uikit/UIFont.h"
#include "uikit/UINavigationBar.h"

namespace uikit {

namespace {
constexpr double kSegmentFontSize = 13;
constexpr double kPadding = 10;  // on each side of a segment's content
constexpr double kSegmentedControlHeight = 29;

const UIFontPtr& segmentFont() {
    static const UIFontPtr font = UIFont::systemFontOfSize(kSegmentFontSize);
    return font;
}

// Relative luminance and contrast ratio, as accessibility guidelines weigh them.
double segmentLuminance(const graphics::Color& color) {
    auto linear = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    auto rgba = color.rgba();
    return 0.2126 * linear(rgba.red) + 0.7152 * linear(rgba.green) + 0.0722 * linear(rgba.blue);
}

double segmentContrast(const graphics::Color& a, const graphics::Color& b) {
    double la = segmentLuminance(a), lb = segmentLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// What shows behind the control: the bar it sits on, else the first opaque
// background of the views it is in.
std::optional<graphics::Color> segmentBackdropColor(const UIView& control) {
    for (auto view = control.superview(); view; view = view->superview()) {
        if (auto* bar = dynamic_cast<UINavigationBar*>(view.get())) return bar->shownBackgroundColor();
        if (view->backgroundColor() && view->backgroundColor()->alpha() >= 0.5) return view->backgroundColor();
    }
    return std::nullopt;
}
}  // namespace

graphics::Color UISegmentedControl::selectedContentColor(const graphics::Color& fill) const {
    // The selected segment's content shows in the colour behind the control,
    // as though cut out of the fill, where that stands out from the fill;
    // else in white, else in black (a white or pale tint).
    constexpr double kLegible = 2;
    if (auto backdrop = segmentBackdropColor(*this); backdrop && segmentContrast(*backdrop, fill) >= kLegible)
        return backdrop->withAlpha(1);
    auto white = graphics::Color::white();
    return segmentContrast(white, fill) >= kLegible ? white : graphics::Color::black();
}

UISegmentedControl::UISegmentedControl(const std::vector<Item>& items, const graphics::Rect& frame)
    : UIControl(frame), setSize_(frame.size) {
    for (const auto& item : items) {
        if (const auto* title = std::get_if<std::string>(&item)) segments_.push_back({*title, nullptr, true});
        else segments_.push_back({std::nullopt, std::get<UIImagePtr>(item), true});
    }
    if (frame.size.width == 0 && frame.size.height == 0 && !segments_.empty()) sizeToFit();
}

void UISegmentedControl::insert(Segment segment, size_t index, bool animated) {
    index = std::min(index, segments_.size());
    segments_.insert(segments_.begin() + static_cast<std::ptrdiff_t>(index), std::move(segment));
    if (selected_ != UISegmentedControlNoSegment && static_cast<size_t>(selected_) >= index) ++selected_;
    lastChangeAnimated_ = animated;
    setNeedsDisplay();
}

void UISegmentedControl::insertSegmentWithTitle(std::string title, size_t index, bool animated) {
    insert({std::move(title), nullptr, true}, index, animated);
}

void UISegmentedControl::insertSegmentWithImage(UIImagePtr image, size_t index, bool animated) {
    insert({std::nullopt, std::move(image), true}, index, animated);
}

void UISegmentedControl::removeSegmentAtIndex(size_t index, bool animated) {
    if (index >= segments_.size()) return;
    segments_.erase(segments_.begin() + static_cast<std::ptrdiff_t>(index));
    if (selected_ == static_cast<int64_t>(index)) selected_ = UISegmentedControlNoSegment;
    else if (selected_ > static_cast<int64_t>(index)) --selected_;
    lastChangeAnimated_ = animated;
    setNeedsDisplay();
}

void UISegmentedControl::removeAllSegments() {
    segments_.clear();
    selected_ = UISegmentedControlNoSegment;
    setNeedsDisplay();
}

void UISegmentedControl::setTitle(std::optional<std::string> title, size_t index) {
    if (index >= segments_.size()) return;
    segments_[index].title = std::move(title);
    if (segments_[index].title) segments_[index].image.reset();
    setNeedsDisplay();
}

std::optional<std::string> UISegmentedControl::titleForSegmentAtIndex(size_t index) const {
    return index < segments_.size() ? segments_[index].title : std::nullopt;
}

void UISegmentedControl::setImage(UIImagePtr image, size_t index) {
    if (index >= segments_.size()) return;
    segments_[index].image = std::move(image);
    if (segments_[index].image) segments_[index].title.reset();
    setNeedsDisplay();
}

UIImagePtr UISegmentedControl::imageForSegmentAtIndex(size_t index) const {
    return index < segments_.size() ? segments_[index].image : nullptr;
}

void UISegmentedControl::setEnabled(bool enabled, size_t index) {
    if (index >= segments_.size()) return;
    segments_[index].enabled = enabled;
    setNeedsDisplay();
}

bool UISegmentedControl::isEnabledForSegmentAtIndex(size_t index) const {
    return index < segments_.size() && segments_[index].enabled;
}

void UISegmentedControl::setSelectedSegmentIndex(int64_t index) {
    selected_ = index >= 0 && static_cast<size_t>(index) < segments_.size() ? index : UISegmentedControlNoSegment;
    setNeedsDisplay();
}

int64_t UISegmentedControl::segmentIndexAtPoint(graphics::Point point) const {
    auto b = bounds();
    if (segments_.empty() || !b.contains(point)) return UISegmentedControlNoSegment;
    double width = b.size.width / static_cast<double>(segments_.size());
    auto index = static_cast<int64_t>((point.x - b.origin.x) / width);
    return std::clamp<int64_t>(index, 0, static_cast<int64_t>(segments_.size()) - 1);
}

bool UISegmentedControl::tapSegmentAtIndex(size_t index) {
    if (!acceptsTouches() || index >= segments_.size() || !segments_[index].enabled) return false;
    auto self = weak_from_this().lock();
    sendActionsForControlEvents(UIControlEventTouchDown);
    selected_ = static_cast<int64_t>(index);
    sendActionsForControlEvents(UIControlEventValueChanged);
    if (momentary_) selected_ = UISegmentedControlNoSegment;
    sendActionsForControlEvents(UIControlEventTouchUpInside);
    setNeedsDisplay();
    return true;
}

bool UISegmentedControl::tapAtPoint(graphics::Point point) {
    int64_t index = segmentIndexAtPoint(point);
    return index != UISegmentedControlNoSegment && tapSegmentAtIndex(static_cast<size_t>(index));
}

void UISegmentedControl::setFrame(const graphics::Rect& frame) {
    setSize_ = frame.size;
    UIControl::setFrame(frame);
}

double UISegmentedControl::segmentWidth(const Segment& segment) const {
    double content = 0;
    if (segment.title) content = graphics::TextMeasurer::width(segmentFont()->font(), *segment.title);
    else if (segment.image) content = segment.image->size().width;
    return std::ceil(content) + 2 * kPadding;
}

graphics::Size UISegmentedControl::sizeThatFits(graphics::Size) const {
    double widest = 0;
    for (const auto& segment : segments_) widest = std::max(widest, segmentWidth(segment));
    double width = widest * static_cast<double>(segments_.size());
    return {std::max(width, setSize_.width), std::max(kSegmentedControlHeight, setSize_.height)};
}

void UISegmentedControl::drawRect(const graphics::Rect& rect) {
    auto* context = UIGraphicsGetCurrentContext();
    if (!context || segments_.empty()) return;
    graphics::Color tint = tintColor();
    graphics::Color selectedContent = selectedContentColor(tint);
    double width = rect.size.width / static_cast<double>(segments_.size());
    for (size_t i = 0; i < segments_.size(); ++i) {
        graphics::Rect cell{{rect.origin.x + width * double(i), rect.origin.y}, {width, rect.size.height}};
        bool selected = static_cast<int64_t>(i) == selected_;
        graphics::MutablePath box;
        box.addRect(cell);
        if (selected) context->fillPath(box, tint);
        graphics::StrokeStyle stroke;
        stroke.color = tint;
        stroke.lineWidth = 1;
        context->strokePath(box, stroke);
        const auto& segment = segments_[i];
        if (segment.title) {
            auto lines = NSStringDrawing::layOut(*segment.title, segmentFont(), 0, 1);
            double height = NSStringDrawing::sizeOfLines(lines).height;
            graphics::Rect area{{cell.origin.x, cell.origin.y + (cell.size.height - height) / 2}, cell.size};
            NSStringDrawing::drawLines(*context, lines, area, NSTextAlignment::Center,
                                       selected ? selectedContent : tint);
        } else if (segment.image) {
            // In the title's colour, as a template image, unless the image
            // insists on its own colours.
            auto image = segment.image;
            if (image->renderingMode() != UIImageRenderingMode::AlwaysOriginal && image->bitmap())
                image = std::make_shared<UIImage>(std::make_shared<graphics::Bitmap>(tintedBitmap(
                                                      *image->bitmap(), selected ? selectedContent : tint)),
                                                  image->scale());
            auto size = image->size();
            image->drawInContext(
                *context, {{cell.origin.x + (cell.size.width - size.width) / 2,
                            cell.origin.y + (cell.size.height - size.height) / 2},
                           size});
        }
    }
}

}  // namespace uikit

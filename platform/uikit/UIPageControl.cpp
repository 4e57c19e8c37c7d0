#include "uikit/UIPageControl.h"

#include <algorithm>

#include "graphics/MutablePath.h"

namespace uikit {

namespace {
constexpr double kDot = 7;
constexpr double kDotSpacing = 9;
constexpr double kPageControlHeight = 37;
}  // namespace

void UIPageControl::setNumberOfPages(int64_t pages) {
    numberOfPages_ = std::max<int64_t>(pages, 0);
    setCurrentPage(currentPage_);
}

void UIPageControl::setCurrentPage(int64_t page) {
    currentPage_ = std::clamp<int64_t>(page, 0, std::max<int64_t>(numberOfPages_ - 1, 0));
    setNeedsDisplay();
}

void UIPageControl::setHidesForSinglePage(bool hides) {
    hidesForSinglePage_ = hides;
    setNeedsDisplay();
}

void UIPageControl::setPageIndicatorTintColor(std::optional<graphics::Color> color) {
    pageTint_ = std::move(color);
    setNeedsDisplay();
}

void UIPageControl::setCurrentPageIndicatorTintColor(std::optional<graphics::Color> color) {
    currentPageTint_ = std::move(color);
    setNeedsDisplay();
}

graphics::Size UIPageControl::sizeForNumberOfPages(int64_t pages) const {
    if (pages <= 0) return {0, kPageControlHeight};
    return {double(pages) * kDot + double(pages - 1) * kDotSpacing, kPageControlHeight};
}

bool UIPageControl::tapAtPoint(graphics::Point point) {
    backwards_ = point.x < bounds().origin.x + bounds().size.width / 2;
    bool tapped = tap();
    backwards_ = false;
    return tapped;
}

void UIPageControl::didTap() {
    int64_t page = backwards_ ? currentPage_ - 1 : currentPage_ + 1;
    if (page < 0 || page >= numberOfPages_) return;
    setCurrentPage(page);
    sendActionsForControlEvents(UIControlEventValueChanged);
}

void UIPageControl::drawRect(const graphics::Rect& rect) {
    auto* context = UIGraphicsGetCurrentContext();
    if (!context || !showsIndicators()) return;
    double width = sizeForNumberOfPages(numberOfPages_).width;
    double x = rect.origin.x + (rect.size.width - width) / 2;
    double y = rect.origin.y + (rect.size.height - kDot) / 2;
    for (int64_t page = 0; page < numberOfPages_; ++page) {
        graphics::MutablePath dot;
        dot.addEllipseInRect({{x + double(page) * (kDot + kDotSpacing), y}, {kDot, kDot}});
        // Unless tinted: grey dots, the current one darker, visible on any page.
        graphics::Color color = page == currentPage_ ? currentPageTint_.value_or(graphics::Color::gray(0.3))
                                                     : pageTint_.value_or(graphics::Color::gray(0.75));
        context->fillPath(dot, color);
    }
}

}  // namespace uikit

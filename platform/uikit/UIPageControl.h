// A row of dots, one per page, the current one marked. A tap moves to the
// next page (past the last it stays) and sends value-changed; a tap left of
// the middle moves to the previous page instead. With
// hides-for-single-page, a control of one page or none shows no dots.
#pragma once

#include <memory>
#include <optional>

#include "uikit/UIControl.h"

namespace uikit {

class UIPageControl : public UIControl {
public:
    explicit UIPageControl(const graphics::Rect& frame = {}) : UIControl(frame) {}

    int64_t numberOfPages() const { return numberOfPages_; }
    // Negative counts as 0; the current page stays within the pages.
    void setNumberOfPages(int64_t pages);
    int64_t currentPage() const { return currentPage_; }
    // Clamped to the pages.
    void setCurrentPage(int64_t page);
    bool hidesForSinglePage() const { return hidesForSinglePage_; }
    void setHidesForSinglePage(bool hides);
    // Whether the dots show.
    bool showsIndicators() const { return !(hidesForSinglePage_ && numberOfPages_ <= 1); }

    const std::optional<graphics::Color>& pageIndicatorTintColor() const { return pageTint_; }
    void setPageIndicatorTintColor(std::optional<graphics::Color> color);
    const std::optional<graphics::Color>& currentPageIndicatorTintColor() const { return currentPageTint_; }
    void setCurrentPageIndicatorTintColor(std::optional<graphics::Color> color);

    // The room the dots of that many pages take.
    graphics::Size sizeForNumberOfPages(int64_t pages) const;
    graphics::Size sizeThatFits(graphics::Size) const override { return sizeForNumberOfPages(numberOfPages_); }
    void drawRect(const graphics::Rect& rect) override;
    bool tapAtPoint(graphics::Point point) override;

    std::string className() const override { return "UIPageControl"; }

protected:
    void didTap() override;

private:
    bool backwards_ = false;
    int64_t numberOfPages_ = 0;
    int64_t currentPage_ = 0;
    bool hidesForSinglePage_ = false;
    std::optional<graphics::Color> pageTint_;
    std::optional<graphics::Color> currentPageTint_;
};

using UIPageControlPtr = std::shared_ptr<UIPageControl>;

}  // namespace uikit

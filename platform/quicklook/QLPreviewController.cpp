#include "quicklook/QLPreviewController.h"

#include <algorithm>

#include "foundation/FileManager.h"
#include "graphics/MutablePath.h"
#include "uikit/NSStringDrawing.h"
#include "uikit/UIColor.h"
#include "uikit/UIFont.h"
#include "uikit/UIView.h"

namespace quicklook {

namespace {

constexpr double kPageMargin = 20;
constexpr double kNameFontSize = 15;

// A light page with the previewed file's name: what a person recognises of
// a document this stand-in does not render.
class QLPreviewPageView : public uikit::UIView {
public:
    QLPreviewPageView(const graphics::Rect& frame, std::weak_ptr<QLPreviewController> controller)
        : uikit::UIView(frame), controller_(std::move(controller)) {}

    void drawRect(const graphics::Rect& rect) override {
        (void)rect;
        auto* context = uikit::UIGraphicsGetCurrentContext();
        if (!context) return;
        const graphics::Rect page(kPageMargin, kPageMargin, std::max(0.0, bounds().width() - 2 * kPageMargin),
                                  std::max(0.0, bounds().height() - 2 * kPageMargin));
        graphics::MutablePath path;
        path.addRect(page);
        context->fillPath(path, graphics::Color::white());
        auto controller = controller_.lock();
        const auto& item = controller ? controller->currentPreviewItemURL() : std::nullopt;
        if (!item) return;
        const auto lines = uikit::NSStringDrawing::layOut(item->lastPathComponent(),
                                                          uikit::UIFont::systemFontOfSize(kNameFontSize),
                                                          std::max(0.0, page.width() - 2 * kPageMargin));
        const graphics::Size size = uikit::NSStringDrawing::sizeOfLines(lines);
        uikit::NSStringDrawing::drawLines(*context, lines,
                                          graphics::Rect(page.minX() + kPageMargin, page.minY() + kPageMargin,
                                                         page.width() - 2 * kPageMargin, size.height),
                                          uikit::NSTextAlignment::Center, graphics::Color::gray(0.3));
    }

    std::string className() const override { return "QLPreviewPageView"; }

private:
    std::weak_ptr<QLPreviewController> controller_;
};

}  // namespace

QLPreviewController::QLPreviewController() = default;

void QLPreviewController::loadView() {
    auto self = std::static_pointer_cast<QLPreviewController>(shared_from_this());
    auto page = std::make_shared<QLPreviewPageView>(graphics::Rect(0, 0, 320, 480), self);
    page->setBackgroundColor(graphics::Color::gray(0.92));
    page->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);
    setView(page);
}

void QLPreviewController::viewDidLoad() {
    uikit::UIViewController::viewDidLoad();
    reloadData();
}

void QLPreviewController::reloadData() {
    currentItem_.reset();
    auto source = dataSource();
    if (!source) return;
    const int64_t count = source->numberOfPreviewItemsInPreviewController(*this);
    if (count <= 0) return;
    if (currentIndex_ >= count) currentIndex_ = 0;
    currentItem_ = source->previewControllerPreviewItemAtIndex(*this, currentIndex_);
    if (isViewLoaded()) view()->setNeedsDisplay();
}

std::vector<std::pair<std::string, std::string>> QLPreviewController::screenDescriptionItems() const {
    if (!currentItem_) return {{"previewing", "-"}};
    const std::string location = currentItem_->isFileURL() ? currentItem_->path() : currentItem_->absoluteString();
    const bool exists = currentItem_->isFileURL() && foundation::FileManager::defaultManager().fileExistsAtPath(location);
    return {{"previewing", location}, {"exists", exists ? "YES" : "NO"}};
}

}  // namespace quicklook

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
constexpr double kTitleFontSize = 17;
constexpr double kDetailFontSize = 15;
constexpr double kLineGap = 6;

// The largest rectangle of the picture's shape inside the area, centred
// across and at the top: a page reads from its top.
graphics::Rect fittedAtTop(const graphics::Bitmap& image, double pixelsPerPoint, const graphics::Rect& area) {
    const double width = image.width() / pixelsPerPoint;
    const double height = image.height() / pixelsPerPoint;
    if (!(width > 0) || !(height > 0)) return {};
    const double scale = std::min({1.0, area.width() / width, area.height() / height});
    const graphics::Size size(width * scale, height * scale);
    return {area.minX() + (area.width() - size.width) / 2, area.minY(), size.width, size.height};
}

// The document as the preview shows it: a page or picture fitted to the
// view, or a light card with the title, kind and size of a file it cannot
// draw.
class QLPreviewPageView : public uikit::UIView {
public:
    QLPreviewPageView(const graphics::Rect& frame, std::weak_ptr<QLPreviewController> controller)
        : uikit::UIView(frame), controller_(std::move(controller)) {}

    void drawRect(const graphics::Rect& rect) override {
        (void)rect;
        auto* context = uikit::UIGraphicsGetCurrentContext();
        auto controller = controller_.lock();
        if (!context || !controller || !controller->currentPreviewItemURL()) return;
        const auto& content = controller->previewContent();
        const graphics::Rect area(kPageMargin, kPageMargin, std::max(0.0, bounds().width() - 2 * kPageMargin),
                                  std::max(0.0, bounds().height() - 2 * kPageMargin));
        if (content.image) {
            const double pixelsPerPoint = content.kind == QLPreviewContent::Kind::PDF ? QLPreviewContent::kPixelsPerPoint : 1;
            const graphics::Rect target = fittedAtTop(*content.image, pixelsPerPoint, area);
            graphics::MutablePath edge;
            edge.addRect(target.insetBy(-1, -1));
            context->fillPath(edge, graphics::Color::gray(0.75));
            context->drawImage(*content.image, target);
            return;
        }
        drawCard(*context, content, area);
    }

    std::string className() const override { return "QLPreviewPageView"; }

private:
    static void drawCard(graphics::DrawingContext& context, const QLPreviewContent& content, const graphics::Rect& area) {
        const double textWidth = std::max(0.0, area.width() - 2 * kPageMargin);
        const auto title = uikit::NSStringDrawing::layOut(content.title, uikit::UIFont::boldSystemFontOfSize(kTitleFontSize),
                                                          textWidth);
        std::string details = content.kindName;
        if (content.kind != QLPreviewContent::Kind::Missing) details += " - " + content.sizeText();
        const auto detail = uikit::NSStringDrawing::layOut(details, uikit::UIFont::systemFontOfSize(kDetailFontSize),
                                                           textWidth);
        const double titleHeight = uikit::NSStringDrawing::sizeOfLines(title).height;
        const double detailHeight = uikit::NSStringDrawing::sizeOfLines(detail).height;
        const double cardHeight = titleHeight + kLineGap + detailHeight + 2 * kPageMargin;
        const graphics::Rect card(area.minX(), area.minY() + std::max(0.0, (area.height() - cardHeight) / 2),
                                  area.width(), cardHeight);
        graphics::MutablePath path;
        path.addRoundedRect(card, 8);
        context.fillPath(path, graphics::Color::white());
        double y = card.minY() + kPageMargin;
        uikit::NSStringDrawing::drawLines(context, title, {card.minX() + kPageMargin, y, textWidth, titleHeight},
                                          uikit::NSTextAlignment::Center, graphics::Color::gray(0.15));
        y += titleHeight + kLineGap;
        uikit::NSStringDrawing::drawLines(context, detail, {card.minX() + kPageMargin, y, textWidth, detailHeight},
                                          uikit::NSTextAlignment::Center, graphics::Color::gray(0.45));
    }

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
    content_ = {};
    auto source = dataSource();
    if (!source) return;
    const int64_t count = source->numberOfPreviewItemsInPreviewController(*this);
    if (count <= 0) return;
    if (currentIndex_ >= count) currentIndex_ = 0;
    currentItem_ = source->previewControllerPreviewItemAtIndex(*this, currentIndex_);
    if (currentItem_)
        content_ = QLPreviewContent::ofItem(*currentItem_, source->previewControllerPreviewItemTitleAtIndex(*this, currentIndex_));
    if (isViewLoaded()) view()->setNeedsDisplay();
}

std::vector<std::pair<std::string, std::string>> QLPreviewController::screenDescriptionItems() const {
    if (!currentItem_) return {{"previewing", "-"}};
    const std::string location = currentItem_->isFileURL() ? currentItem_->path() : currentItem_->absoluteString();
    const bool exists = currentItem_->isFileURL() && foundation::FileManager::defaultManager().fileExistsAtPath(location);
    std::vector<std::pair<std::string, std::string>> items{{"previewing", location}, {"exists", exists ? "YES" : "NO"}};
    switch (content_.kind) {
        case QLPreviewContent::Kind::PDF:
            items.emplace_back("shows", "page 1 of " + std::to_string(content_.pageCount));
            break;
        case QLPreviewContent::Kind::Picture:
            items.emplace_back("shows", content_.kindName + " " + std::to_string(content_.image->width()) + "x" +
                                            std::to_string(content_.image->height()));
            break;
        case QLPreviewContent::Kind::Other:
            items.emplace_back("shows", content_.title + ", " + content_.kindName + ", " + content_.sizeText());
            break;
        case QLPreviewContent::Kind::Missing:
            items.emplace_back("shows", content_.title + ", " + content_.kindName);
            break;
    }
    return items;
}

}  // namespace quicklook

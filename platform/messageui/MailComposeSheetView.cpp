#include "messageui/MailComposeSheetView.h"

#include <algorithm>
#include <string>

#include "graphics/MutablePath.h"
#include "messageui/MFMailComposeViewController.h"
#include "uikit/NSStringDrawing.h"
#include "uikit/UIApplication.h"
#include "uikit/UIColor.h"
#include "uikit/UIFont.h"

namespace messageui {
namespace {

using graphics::Color;
using graphics::Rect;

constexpr double kMailBarHeight = 44;
constexpr double kMailLineHeight = 44;
constexpr double kMailMargin = 15;

void fillMailRect(graphics::DrawingContext& context, const Rect& rect, const Color& color) {
    graphics::MutablePath path;
    path.addRect(rect);
    context.fillPath(path, color);
}

void drawMailText(graphics::DrawingContext& context, const std::string& text, const uikit::UIFontPtr& font,
                  const Rect& area, uikit::NSTextAlignment alignment, const Color& color, size_t maximumLines = 1) {
    auto lines = uikit::NSStringDrawing::layOut(text, font, area.width(), maximumLines);
    double height = uikit::NSStringDrawing::sizeOfLines(lines).height;
    Rect placed = area;
    if (maximumLines == 1) placed.origin.y += std::max(0.0, (area.height() - height) / 2);
    uikit::NSStringDrawing::drawLines(context, lines, placed, alignment, color);
}

}  // namespace

MailComposeSheetView::MailComposeSheetView(const graphics::Rect& frame,
                                           std::weak_ptr<const MFMailComposeViewController> composer)
    : uikit::UIView(frame), composer_(std::move(composer)) {
    setBackgroundColor(uikit::UIColor::whiteColor());
}

void MailComposeSheetView::drawRect(const graphics::Rect& rect) {
    auto* context = uikit::UIGraphicsGetCurrentContext();
    auto composer = composer_.lock();
    if (!context || !composer) return;
    const Color ink = Color::black();
    const Color quiet = Color::gray(0.56);
    const Color rule = Color::gray(0.8);
    const Color tint = tintColor();
    // Below the status bar when the sheet covers the screen's top.
    double top = rect.origin.y;
    if (convertPointToView({0, 0}, nullptr).y < 1)
        top += uikit::UIApplication::sharedApplication().statusBarFrame().height();
    const double left = rect.origin.x + kMailMargin;
    const double width = rect.width() - 2 * kMailMargin;

    fillMailRect(*context, {rect.origin.x, rect.origin.y, rect.width(), top - rect.origin.y + kMailBarHeight},
                 Color::gray(0.97));
    fillMailRect(*context, {rect.origin.x, top + kMailBarHeight - 0.5, rect.width(), 0.5}, rule);
    Rect bar{left, top, width, kMailBarHeight};
    drawMailText(*context, "Cancel", uikit::UIFont::systemFontOfSize(17), bar, uikit::NSTextAlignment::Left, tint);
    drawMailText(*context, "Send", uikit::UIFont::boldSystemFontOfSize(17), bar, uikit::NSTextAlignment::Right, tint);
    drawMailText(*context, composer->subject().empty() ? "New Message" : composer->subject(),
                 uikit::UIFont::boldSystemFontOfSize(17), {left + 70, top, width - 140, kMailBarHeight},
                 uikit::NSTextAlignment::Center, ink);

    std::string to;
    for (const auto& recipient : composer->toRecipients()) to += (to.empty() ? "" : ", ") + recipient;
    double y = top + kMailBarHeight;
    const auto lineFont = uikit::UIFont::systemFontOfSize(15);
    for (const auto& [name, value] : {std::pair<std::string, std::string>{"To:", to}, {"Subject:", composer->subject()}}) {
        drawMailText(*context, name, lineFont, {left, y, 70, kMailLineHeight}, uikit::NSTextAlignment::Left, quiet);
        drawMailText(*context, value, lineFont, {left + 70, y, width - 70, kMailLineHeight},
                     uikit::NSTextAlignment::Left, ink);
        y += kMailLineHeight;
        fillMailRect(*context, {left, y - 0.5, rect.width() - kMailMargin, 0.5}, rule);
    }
    drawMailText(*context, composer->messageBody(), lineFont, {left, y + 12, width, rect.height() - y - 12},
                 uikit::NSTextAlignment::Left, ink, 0);
}

}  // namespace messageui

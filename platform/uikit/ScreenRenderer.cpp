// The screenshot renderer: the view tree through the backing layers' render
// steps, then the status bar, the keyboard, the open-in menu and the alert
// stack drawn on top.
#include "uikit/ScreenRenderer.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "foundation/MainThreadChecker.h"
#include "graphics/CairoContext.h"
#include "graphics/DrawingContext.h"
#include "graphics/MutablePath.h"
#include "uikit/AlertStack.h"
#include "uikit/NSStringDrawing.h"
#include "uikit/TableSectionIndex.h"
#include "uikit/UIApplication.h"
#include "uikit/UIDevice.h"
#include "uikit/UIDocumentInteractionController.h"
#include "uikit/UIFont.h"
#include "uikit/UIKeyboard.h"
#include "uikit/UIResponder.h"
#include "uikit/UITableView.h"
#include "uikit/UIView.h"
#include "uikit/UIViewAnimation.h"
#include "uikit/UIWindow.h"

namespace uikit {

namespace {

using graphics::Color;
using graphics::DrawingContext;
using graphics::MutablePath;
using graphics::Rect;

constexpr double kAlertWidth = 270;
constexpr double kButtonRowHeight = 44;
constexpr double kAlertCornerRadius = 13;
constexpr double kSheetMargin = 8;
constexpr double kTextPadding = 16;
// The pad's open-in menu: its width and its top, under the navigation bar.
constexpr double kPadMenuWidth = 336;
constexpr double kPadMenuTop = 64;

void fillRect(DrawingContext& context, const Rect& rect, const Color& color, double radius = 0) {
    MutablePath path;
    path.addRoundedRect(rect, radius);
    context.fillPath(path, color);
}

Color separatorColor() { return Color::gray(0.8); }

// Text laid out at a width, drawn centred from the top of the rectangle;
// answers the height taken.
double drawCentredText(DrawingContext& context, const std::string& text, const UIFontPtr& font, const Rect& area,
                       const Color& color) {
    auto lines = NSStringDrawing::layOut(text, font, area.width());
    double height = NSStringDrawing::sizeOfLines(lines).height;
    NSStringDrawing::drawLines(context, lines, {area.origin, {area.width(), height}}, NSTextAlignment::Center,
                               color);
    return height;
}

// The strip along the top: light with dark signal and battery marks by
// default, dark with light marks for the light-content style. No clock: a
// screenshot must not change with the time.
void drawStatusBar(DrawingContext& context) {
    const auto& application = UIApplication::sharedApplication();
    if (application.isStatusBarHidden()) return;
    Rect strip = application.statusBarFrame();
    if (strip.isEmpty()) return;
    bool light = application.statusBarStyle() == UIStatusBarStyle::LightContent;
    Color background = light ? Color::black() : Color::white();
    Color ink = light ? Color::white() : Color::black();
    fillRect(context, strip, background);
    double middle = strip.origin.y + strip.height() / 2;
    for (int dot = 0; dot < 5; ++dot) {
        MutablePath signal;
        signal.addEllipseInRect({strip.origin.x + 6 + dot * 7.0, middle - 3, 6, 6});
        context.fillPath(signal, ink);
    }
    if (application.isNetworkActivityIndicatorVisible()) {
        // The network activity mark beside the signal: a still ring of ticks.
        graphics::Point centre{strip.origin.x + 50, middle};
        for (int tick = 0; tick < 8; ++tick) {
            double angle = tick * M_PI / 4;
            MutablePath spoke;
            spoke.moveToPoint({centre.x + 3 * std::cos(angle), centre.y + 3 * std::sin(angle)});
            spoke.addLineToPoint({centre.x + 6 * std::cos(angle), centre.y + 6 * std::sin(angle)});
            graphics::StrokeStyle line;
            line.color = ink;
            line.lineWidth = 1.5;
            context.strokePath(spoke, line);
        }
    }
    Rect battery{strip.origin.x + strip.width() - 32, middle - 5, 24, 10};
    MutablePath outline;
    outline.addRoundedRect(battery, 2);
    graphics::StrokeStyle stroke;
    stroke.color = ink;
    context.strokePath(outline, stroke);
    fillRect(context, battery.insetBy(2, 2), ink);
    fillRect(context, {battery.origin.x + battery.width(), middle - 2, 2, 4}, ink);
}

// The keyboard's band while a field is first responder: grey, with rows of
// blank keys and the space bar.
void drawKeyboard(DrawingContext& context) {
    auto frame = UIKeyboard::shownFrame();
    if (!frame || frame->isEmpty() || !UIResponder::currentFirstResponder()) return;
    fillRect(context, *frame, Color::gray(0.82));
    const int keysInRow[] = {10, 9, 7, 0};
    const double rowHeight = frame->height() / 4;
    const double keyWidth = frame->width() / 10;
    for (int row = 0; row < 4; ++row) {
        double top = frame->origin.y + row * rowHeight + 6;
        double height = rowHeight - 12;
        if (keysInRow[row] == 0) {
            fillRect(context, {frame->origin.x + keyWidth * 2.5, top, keyWidth * 5, height}, Color::white(), 5);
            continue;
        }
        double left = frame->origin.x + (frame->width() - keyWidth * keysInRow[row]) / 2;
        for (int key = 0; key < keysInRow[row]; ++key) {
            fillRect(context, {left + key * keyWidth + 3, top, keyWidth - 6, height}, Color::white(), 5);
        }
    }
}

std::string buttonTitle(const AlertStackEntry& entry, int64_t index) {
    return entry.buttonTitleAtIndex(index).value_or("");
}

// An entry's views (such as a spinner) placed in the box by their frames.
void drawAccessories(DrawingContext& context, const AlertStackEntry& entry, graphics::Point origin) {
    for (const auto& view : entry.accessoryViews()) {
        if (!view) continue;
        context.saveGState();
        context.translateCTM(origin.x, origin.y);
        context.concatCTM(view->transformToSuperview());
        renderView(*view, context);
        context.restoreGState();
    }
}

// An alert: a white box in the middle of the screen, its title in bold 17
// and its message in 13 over button rows of 44 in the tint (two buttons
// share one row, as on the platform; the cancel button's title is bold).
void drawAlert(DrawingContext& context, const AlertStackEntry& alert, const Rect& screen, const Color& tint) {
    auto titleFont = UIFont::boldSystemFontOfSize(17);
    auto messageFont = UIFont::systemFontOfSize(13);
    const double textWidth = kAlertWidth - 2 * kTextPadding;
    auto titleLines = NSStringDrawing::layOut(alert.title().value_or(""), titleFont, textWidth);
    auto messageLines = NSStringDrawing::layOut(alert.message().value_or(""), messageFont, textWidth);
    double textHeight = 20 + NSStringDrawing::sizeOfLines(titleLines).height + 4 +
                        NSStringDrawing::sizeOfLines(messageLines).height + 20;
    double accessoriesHeight = 0;
    for (const auto& view : alert.accessoryViews()) {
        if (view) accessoriesHeight = std::max(accessoriesHeight, view->frame().origin.y + view->frame().height());
    }
    textHeight = std::max(textHeight, accessoriesHeight);
    const int64_t buttons = alert.numberOfButtons();
    const bool sideBySide = buttons == 2;
    const double buttonsHeight = buttons == 0 ? 0 : sideBySide ? kButtonRowHeight : kButtonRowHeight * double(buttons);
    const double height = textHeight + buttonsHeight;
    Rect box{screen.origin.x + (screen.width() - kAlertWidth) / 2, screen.origin.y + (screen.height() - height) / 2,
             kAlertWidth, height};
    fillRect(context, box, Color::white(), kAlertCornerRadius);

    double y = box.origin.y + 20;
    y += drawCentredText(context, alert.title().value_or(""), titleFont,
                         {box.origin.x + kTextPadding, y, textWidth, 0}, Color::black()) + 4;
    drawCentredText(context, alert.message().value_or(""), messageFont, {box.origin.x + kTextPadding, y, textWidth, 0},
                    Color::black());
    drawAccessories(context, alert, box.origin);

    double top = box.origin.y + textHeight;
    auto drawButton = [&](int64_t index, const Rect& cell) {
        fillRect(context, {cell.origin.x, cell.origin.y, cell.width(), 0.5}, separatorColor());
        auto font = index == alert.cancelButtonIndex() ? UIFont::boldSystemFontOfSize(17)
                                                       : UIFont::systemFontOfSize(17);
        double lineHeight = font->lineHeight();
        drawCentredText(context, buttonTitle(alert, index), font,
                        {cell.origin.x, cell.origin.y + (cell.height() - lineHeight) / 2, cell.width(), 0}, tint);
    };
    if (sideBySide) {
        double half = kAlertWidth / 2;
        drawButton(0, {box.origin.x, top, half, kButtonRowHeight});
        drawButton(1, {box.origin.x + half, top, half, kButtonRowHeight});
        fillRect(context, {box.origin.x + half, top, 0.5, kButtonRowHeight}, separatorColor());
        return;
    }
    for (int64_t i = 0; i < buttons; ++i) {
        drawButton(i, {box.origin.x, top + kButtonRowHeight * double(i), kAlertWidth, kButtonRowHeight});
    }
}

// A sheet: a white group of rows rising from the bottom of the area (its
// title in grey 13 on top, the destructive row in red), the cancel row in a
// box of its own below it. Answers the group's rectangle.
struct SheetRows {
    std::optional<std::string> title;
    std::vector<std::string> rows;
    int64_t destructive = -1;
    std::optional<std::string> cancel;
};

double sheetTitleHeight(const SheetRows& sheet, double width) {
    if (!sheet.title) return 0;
    auto lines = NSStringDrawing::layOut(*sheet.title, UIFont::systemFontOfSize(13), width - 2 * kTextPadding);
    return lines.empty() ? 0 : NSStringDrawing::sizeOfLines(lines).height + 28;
}

// The group of rows without the cancel row.
double sheetGroupHeight(const SheetRows& sheet, double width) {
    return sheetTitleHeight(sheet, width) + kButtonRowHeight * double(sheet.rows.size());
}

Rect drawSheet(DrawingContext& context, const SheetRows& sheet, const Rect& area, const Color& tint) {
    const double width = area.width() - 2 * kSheetMargin;
    const double left = area.origin.x + kSheetMargin;
    auto titleFont = UIFont::systemFontOfSize(13);
    const double titleHeight = sheetTitleHeight(sheet, width);
    const double groupHeight = sheetGroupHeight(sheet, width);
    double bottom = area.origin.y + area.height() - kSheetMargin;
    if (sheet.cancel) bottom -= kButtonRowHeight + kSheetMargin;
    Rect group{left, bottom - groupHeight, width, groupHeight};
    if (groupHeight > 0) fillRect(context, group, Color::white(), kAlertCornerRadius);
    if (titleHeight > 0) {
        drawCentredText(context, *sheet.title, titleFont,
                        {left + kTextPadding, group.origin.y + 14, width - 2 * kTextPadding, 0}, Color::gray(0.56));
    }
    auto drawRow = [&](const std::string& title, bool bold, const Color& color, const Rect& cell, bool separator) {
        if (separator) fillRect(context, {cell.origin.x, cell.origin.y, cell.width(), 0.5}, separatorColor());
        auto font = bold ? UIFont::boldSystemFontOfSize(20) : UIFont::systemFontOfSize(20);
        drawCentredText(context, title, font,
                        {cell.origin.x, cell.origin.y + (cell.height() - font->lineHeight()) / 2, cell.width(), 0},
                        color);
    };
    double y = group.origin.y + titleHeight;
    for (size_t i = 0; i < sheet.rows.size(); ++i) {
        Color color = int64_t(i) == sheet.destructive ? Color::rgb(1, 0.23, 0.19) : tint;
        drawRow(sheet.rows[i], false, color, {left, y, width, kButtonRowHeight}, i > 0 || titleHeight > 0);
        y += kButtonRowHeight;
    }
    if (sheet.cancel) {
        Rect cancel{left, area.origin.y + area.height() - kSheetMargin - kButtonRowHeight, width, kButtonRowHeight};
        fillRect(context, cancel, Color::white(), kAlertCornerRadius);
        drawRow(*sheet.cancel, true, tint, cancel, false);
    }
    return group;
}

// An action sheet: its buttons as the sheet's rows, the cancel button apart.
void drawActionSheet(DrawingContext& context, const AlertStackEntry& sheet, const Rect& screen, const Color& tint) {
    SheetRows rows;
    rows.title = sheet.title();
    for (int64_t i = 0; i < sheet.numberOfButtons(); ++i) {
        if (i == sheet.cancelButtonIndex()) continue;
        if (i == sheet.destructiveButtonIndex()) rows.destructive = int64_t(rows.rows.size());
        rows.rows.push_back(buttonTitle(sheet, i));
    }
    if (sheet.cancelButtonIndex() >= 0 && sheet.cancelButtonIndex() < sheet.numberOfButtons())
        rows.cancel = buttonTitle(sheet, sheet.cancelButtonIndex());
    const Rect group = drawSheet(context, rows, screen, tint);
    drawAccessories(context, sheet, group.origin);
}

// The open-in menu: its title names the file it hands over; no application
// is installed here to list under it. On the phone a sheet over a dimming
// with a cancel row; on the pad a box without one, hanging from the right
// end of the navigation bar where its button is.
void drawOpenInMenu(DrawingContext& context, const Rect& screen, const Color& tint) {
    auto menu = UIDocumentInteractionController::shownMenu();
    if (!menu) return;
    SheetRows rows;
    rows.title = "Open \u201C" + menu->URL().lastPathComponent() + "\u201D in...";
    if (UIDevice::currentDevice().userInterfaceIdiom() == UIUserInterfaceIdiom::Pad) {
        const double height = sheetGroupHeight(rows, kPadMenuWidth - 2 * kSheetMargin) + 2 * kSheetMargin;
        const Rect area{screen.origin.x + screen.width() - kPadMenuWidth, screen.origin.y + kPadMenuTop, kPadMenuWidth,
                        height};
        const Rect group = drawSheet(context, rows, area, tint);
        MutablePath outline;
        outline.addRoundedRect(group, kAlertCornerRadius);
        graphics::StrokeStyle edge;
        edge.color = separatorColor();
        context.strokePath(outline, edge);
        return;
    }
    rows.cancel = "Cancel";
    fillRect(context, screen, Color::gray(0, 0.4));
    drawSheet(context, rows, screen, tint);
}

// Oldest first, each over its own dimming of everything below it.
void drawAlertStack(DrawingContext& context, const Rect& screen, const Color& tint) {
    for (const auto& entry : AlertStack::shared().entries()) {
        if (!entry || !entry->isVisible()) continue;
        fillRect(context, screen, Color::gray(0, 0.4));
        if (entry->kind() == AlertStackEntry::Kind::Alert) {
            drawAlert(context, *entry, screen, tint);
        } else {
            drawActionSheet(context, *entry, screen, tint);
        }
    }
}

}  // namespace

void renderView(const UIView& view, DrawingContext& context) {
    if (view.isHidden() || view.alpha() < 0.01) return;
    const graphics::LayerPtr& layer = view.layer();
    layer->renderWithContent(context, [&](DrawingContext& inner) {
        // A view backed by a shape, text or gradient layer draws that first.
        layer->drawInContext(inner);
        // Drawing leaves the view as it is; drawRect is not const only
        // because subclasses of the platform's classes override it so.
        UIGraphicsPushContext(&inner);
        const_cast<UIView&>(view).drawRect(view.bounds());
        UIGraphicsPopContext();
        // Subviews' layers render as their views (through the layer's render
        // delegate); other sublayers render as layers, all in layer order.
        for (const graphics::LayerPtr& sublayer : layer->sublayers()) {
            if (sublayer->isHidden()) continue;
            inner.saveGState();
            inner.concatCTM(sublayer->transformToSuperlayer());
            sublayer->renderInContext(inner);
            inner.restoreGState();
        }
        // A table's section index lies over its rows.
        if (auto* table = dynamic_cast<const UITableView*>(&view))
            drawSectionIndex(const_cast<UITableView&>(*table), inner);
    });
}

graphics::Bitmap renderScreen(UIWindow& window, double scale) {
    foundation::requireMainThread("Screenshots are taken on the main thread only");
    if (!(scale > 0) || !std::isfinite(scale)) scale = 1;
    window.layoutIfNeeded();
    const Rect screen = window.bounds();
    graphics::CairoContext context(static_cast<int>(std::lround(screen.width() * scale)),
                                   static_cast<int>(std::lround(screen.height() * scale)));
    MutablePath all;
    all.addRect({0, 0, double(context.width()), double(context.height())});
    context.fillPath(all, Color::black());
    context.scaleCTM(scale, scale);
    context.translateCTM(-screen.origin.x, -screen.origin.y);
    {
        // Animations under way show part way, as at this moment on screen.
        UIViewPresentation presentation;
        renderView(window, context);
    }
    drawStatusBar(context);
    drawKeyboard(context);
    drawOpenInMenu(context, screen, window.tintColor());
    drawAlertStack(context, screen, window.tintColor());
    return context.bitmap();
}

foundation::ErrorPtr writeScreenshot(UIWindow& window, const std::string& path, double scale) {
    return renderScreen(window, scale).writePNG(path);
}

}  // namespace uikit

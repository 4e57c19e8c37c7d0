// The stock looks of tables and their cells, kept apart from the tables'
// data and viewport logic: the grouped background, the section header bands
// and titles drawn by the table; the selection, the separator (one device
// pixel high, from the separator inset) and the stock accessories drawn by
// each cell.
#include <algorithm>
#include <cmath>

#include "graphics/DrawingContext.h"
#include "graphics/MutablePath.h"
#include "uikit/NSStringDrawing.h"
#include "uikit/TableSectionIndex.h"
#include "uikit/UIFont.h"
#include "uikit/UITableView.h"
#include "uikit/UITableViewCell.h"

namespace uikit {

namespace {

constexpr double kTitleInset = 15;

void fill(graphics::DrawingContext& context, const graphics::Rect& rect, const graphics::Color& color) {
    graphics::MutablePath path;
    path.addRect(rect);
    context.fillPath(path, color);
}

// How many device pixels one point covers in the context (the image's scale).
double pixelsPerPoint(const graphics::DrawingContext& context) {
    auto t = context.currentTransform();
    double scale = std::sqrt(std::abs(t.a * t.d - t.b * t.c));
    return scale > 0 && std::isfinite(scale) ? scale : 1;
}

void drawChevron(graphics::DrawingContext& context, double right, double middle) {
    graphics::MutablePath chevron;
    chevron.moveToPoint({right - 8, middle - 6.5});
    chevron.addLineToPoint({right - 1.5, middle});
    chevron.addLineToPoint({right - 8, middle + 6.5});
    graphics::StrokeStyle stroke;
    stroke.color = graphics::Color::gray(0.78);
    stroke.lineWidth = 2;
    context.strokePath(chevron, stroke);
}

void drawCheckmark(graphics::DrawingContext& context, double right, double middle, const graphics::Color& tint) {
    graphics::MutablePath tick;
    tick.moveToPoint({right - 14, middle});
    tick.addLineToPoint({right - 9, middle + 5});
    tick.addLineToPoint({right, middle - 6});
    graphics::StrokeStyle stroke;
    stroke.color = tint;
    stroke.lineWidth = 2;
    context.strokePath(tick, stroke);
}

// A circled "i" in the tint.
void drawDetailButton(graphics::DrawingContext& context, double right, double middle, const graphics::Color& tint) {
    graphics::MutablePath ring;
    ring.addEllipseInRect({right - 22, middle - 11, 22, 22});
    graphics::StrokeStyle stroke;
    stroke.color = tint;
    context.strokePath(ring, stroke);
    auto lines = NSStringDrawing::layOut("i", UIFont::systemFontOfSize(15), 0, 1);
    double height = NSStringDrawing::sizeOfLines(lines).height;
    NSStringDrawing::drawLines(context, lines, {right - 22, middle - height / 2, 22, height}, NSTextAlignment::Center,
                               tint);
}

}  // namespace

void drawSectionIndex(UITableView& table, graphics::DrawingContext& context) {
    const auto& titles = table.sectionIndexTitles();
    if (titles.empty()) return;
    constexpr double kIndexWidth = 15;
    constexpr double kTitleHeight = 14;
    const graphics::Rect visible = table.bounds();
    const auto font = UIFont::boldSystemFontOfSize(11);
    const double height = kTitleHeight * static_cast<double>(titles.size());
    double y = visible.origin.y + std::max(0.0, (visible.height() - height) / 2);
    const double left = visible.origin.x + visible.width() - kIndexWidth;
    for (const auto& title : titles) {
        auto lines = NSStringDrawing::layOut(title, font, kIndexWidth, 1);
        NSStringDrawing::drawLines(context, lines, {left, y, kIndexWidth, kTitleHeight}, NSTextAlignment::Center,
                                   table.tintColor());
        y += kTitleHeight;
    }
}

void UITableView::drawRect(const graphics::Rect& rect) {
    auto* context = UIGraphicsGetCurrentContext();
    if (!context) return;
    const bool grouped = style() == UITableViewStyle::Grouped;
    if (grouped && !backgroundColor() && !backgroundView()) fill(*context, rect, graphics::Color::gray(0.94));
    // Titled sections without a header view of the delegate's: a grey band
    // with the title in a plain table, a grey title above the group in a
    // grouped one. Only the headers in view are drawn.
    const int64_t sections = numberOfSections();
    for (int64_t section = 0; section < sections; ++section) {
        graphics::Rect header = rectForHeaderInSection(section);
        if (header.isEmpty() || header.intersection(rect).isEmpty()) continue;
        if (headerViewForSection(section)) continue;
        auto title = titleForHeaderInSection(section);
        if (!title) continue;
        if (grouped) {
            auto font = UIFont::systemFontOfSize(13);
            auto lines = NSStringDrawing::layOut(*title, font, header.width() - 2 * kTitleInset, 1);
            double height = NSStringDrawing::sizeOfLines(lines).height;
            NSStringDrawing::drawLines(*context, lines,
                                       {header.origin.x + kTitleInset, header.origin.y + header.height() - 7 - height,
                                        header.width() - 2 * kTitleInset, height},
                                       NSTextAlignment::Left, graphics::Color::gray(0.43));
            continue;
        }
        fill(*context, header, graphics::Color::gray(0.93));
        auto font = UIFont::boldSystemFontOfSize(14);
        auto lines = NSStringDrawing::layOut(*title, font, header.width() - 2 * kTitleInset, 1);
        double height = NSStringDrawing::sizeOfLines(lines).height;
        NSStringDrawing::drawLines(*context, lines,
                                   {header.origin.x + kTitleInset, header.origin.y + (header.height() - height) / 2,
                                    header.width() - 2 * kTitleInset, height},
                                   NSTextAlignment::Left, graphics::Color::gray(0.2));
    }
}

void UITableViewCell::drawRect(const graphics::Rect& rect) {
    auto* context = UIGraphicsGetCurrentContext();
    if (!context) return;
    if ((isSelected() || isHighlighted()) && selectionStyle() != UITableViewCellSelectionStyle::None) {
        fill(*context, rect, graphics::Color::gray(0.85));
    }
    const double right = rect.origin.x + rect.width() - kTitleInset;
    const double middle = rect.origin.y + rect.height() / 2;
    if (!accessoryView()) {
        switch (accessoryType()) {
            case UITableViewCellAccessoryType::None: break;
            case UITableViewCellAccessoryType::DisclosureIndicator: drawChevron(*context, right, middle); break;
            case UITableViewCellAccessoryType::Checkmark: drawCheckmark(*context, right, middle, tintColor()); break;
            case UITableViewCellAccessoryType::DetailButton:
                drawDetailButton(*context, right, middle, tintColor());
                break;
            case UITableViewCellAccessoryType::DetailDisclosureButton:
                drawChevron(*context, right, middle);
                drawDetailButton(*context, right - 19, middle, tintColor());
                break;
        }
    }
    // The separator along the bottom, under the content view that stops
    // short of it.
    auto table = std::dynamic_pointer_cast<UITableView>(superview());
    if (!table || table->separatorStyle() == UITableViewCellSeparatorStyle::None) return;
    const double pixel = 1 / pixelsPerPoint(*context);
    const UIEdgeInsets& inset = table->separatorInset();
    fill(*context,
         {rect.origin.x + inset.left, rect.origin.y + rect.height() - pixel,
          rect.width() - inset.left - inset.right, pixel},
         table->separatorColor().value_or(graphics::Color::gray(0.78)));
}

}  // namespace uikit

#include "uikit/UIPickerView.h"

#include <algorithm>

#include "uikit/NSStringDrawing.h"

namespace uikit {

UIPickerView::UIPickerView(const graphics::Rect& frame) : UIView(frame) {}

void UIPickerView::setDataSource(const std::shared_ptr<UIPickerViewDataSource>& dataSource) {
    dataSource_ = dataSource;
    load();
}

void UIPickerView::setDelegate(const std::shared_ptr<UIPickerViewDelegate>& delegate) {
    delegate_ = delegate;
    setNeedsDisplay();
}

int64_t UIPickerView::numberOfRowsInComponent(int64_t component) const {
    if (component < 0 || component >= numberOfComponents()) return 0;
    return rows_[static_cast<size_t>(component)];
}

std::optional<std::string> UIPickerView::titleForRow(int64_t row, int64_t component) {
    auto delegate = delegate_.lock();
    if (!delegate || row < 0 || row >= numberOfRowsInComponent(component)) return std::nullopt;
    return delegate->titleForRow(*this, row, component);
}

void UIPickerView::load() {
    auto dataSource = dataSource_.lock();
    int64_t components = dataSource ? std::max<int64_t>(dataSource->numberOfComponentsInPickerView(*this), 0) : 0;
    rows_.assign(static_cast<size_t>(components), 0);
    selected_.resize(static_cast<size_t>(components), 0);
    for (int64_t c = 0; c < components; ++c) {
        auto index = static_cast<size_t>(c);
        rows_[index] = std::max<int64_t>(dataSource->numberOfRowsInComponent(*this, c), 0);
        selected_[index] = std::clamp<int64_t>(selected_[index], 0, std::max<int64_t>(rows_[index] - 1, 0));
    }
    setNeedsDisplay();
}

void UIPickerView::reloadAllComponents() { load(); }

void UIPickerView::reloadComponent(int64_t component) {
    auto dataSource = dataSource_.lock();
    if (!dataSource || component < 0 || component >= numberOfComponents()) return;
    auto index = static_cast<size_t>(component);
    rows_[index] = std::max<int64_t>(dataSource->numberOfRowsInComponent(*this, component), 0);
    selected_[index] = std::clamp<int64_t>(selected_[index], 0, std::max<int64_t>(rows_[index] - 1, 0));
    setNeedsDisplay();
}

int64_t UIPickerView::selectedRowInComponent(int64_t component) const {
    if (numberOfRowsInComponent(component) == 0) return -1;
    return selected_[static_cast<size_t>(component)];
}

void UIPickerView::selectRow(int64_t row, int64_t component, bool animated) {
    if (row < 0 || row >= numberOfRowsInComponent(component)) return;
    selected_[static_cast<size_t>(component)] = row;
    lastSelectionAnimated_ = animated;
    setNeedsDisplay();
}

bool UIPickerView::chooseRow(int64_t row, int64_t component) {
    if (row < 0 || row >= numberOfRowsInComponent(component) || !isUserInteractionEnabled()) return false;
    selectRow(row, component, true);
    if (auto delegate = delegate_.lock()) delegate->didSelectRow(*this, row, component);
    return true;
}

void UIPickerView::drawRect(const graphics::Rect& rect) {
    auto* context = UIGraphicsGetCurrentContext();
    if (!context || rows_.empty()) return;
    // The selected row of each component, in the middle of its wheel.
    auto font = UIFont::systemFontOfSize(21);
    double width = rect.size.width / double(rows_.size());
    for (size_t c = 0; c < rows_.size(); ++c) {
        auto title = titleForRow(selectedRowInComponent(int64_t(c)), int64_t(c));
        if (!title) continue;
        auto lines = NSStringDrawing::layOut(*title, font, 0, 1);
        double height = NSStringDrawing::sizeOfLines(lines).height;
        graphics::Rect area{{rect.origin.x + width * double(c), rect.origin.y + (rect.size.height - height) / 2},
                            {width, height}};
        NSStringDrawing::drawLines(*context, lines, area, NSTextAlignment::Center, graphics::Color::black());
    }
}

}  // namespace uikit

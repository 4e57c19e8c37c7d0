// A picker: wheels (components) of rows whose number its data source gives
// and whose titles its delegate gives. Each component has a selected row (the
// first, once it has rows). Selecting in code tells nobody; a person's
// choice (chooseRow, for tests and the app mode) selects and tells the
// delegate. Data source and delegate are held weakly.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "uikit/UIView.h"

namespace uikit {

class UIPickerView;

class UIPickerViewDataSource {
public:
    virtual ~UIPickerViewDataSource() = default;
    virtual int64_t numberOfComponentsInPickerView(UIPickerView& pickerView) = 0;
    virtual int64_t numberOfRowsInComponent(UIPickerView& pickerView, int64_t component) = 0;
};

class UIPickerViewDelegate {
public:
    virtual ~UIPickerViewDelegate() = default;
    virtual std::optional<std::string> titleForRow(UIPickerView& pickerView, int64_t row, int64_t component) {
        (void)pickerView, (void)row, (void)component;
        return std::nullopt;
    }
    virtual void didSelectRow(UIPickerView& pickerView, int64_t row, int64_t component) {
        (void)pickerView, (void)row, (void)component;
    }
};

class UIPickerView : public UIView {
public:
    static constexpr double kHeight = 216;

    explicit UIPickerView(const graphics::Rect& frame = {});

    void setDataSource(const std::shared_ptr<UIPickerViewDataSource>& dataSource);
    std::shared_ptr<UIPickerViewDataSource> dataSource() const { return dataSource_.lock(); }
    void setDelegate(const std::shared_ptr<UIPickerViewDelegate>& delegate);
    std::shared_ptr<UIPickerViewDelegate> delegate() const { return delegate_.lock(); }

    // As last loaded from the data source.
    int64_t numberOfComponents() const { return static_cast<int64_t>(rows_.size()); }
    int64_t numberOfRowsInComponent(int64_t component) const;
    // The delegate's title, or nothing.
    std::optional<std::string> titleForRow(int64_t row, int64_t component);
    // Asks the data source again; selections stay where still in range.
    void reloadAllComponents();
    void reloadComponent(int64_t component);

    // -1 when the component has no rows or does not exist.
    int64_t selectedRowInComponent(int64_t component) const;
    // Rows outside the component are ignored. Tells nobody.
    void selectRow(int64_t row, int64_t component, bool animated);
    bool lastSelectionAnimated() const { return lastSelectionAnimated_; }
    // A person's choice: selects and tells the delegate. False when out of range.
    bool chooseRow(int64_t row, int64_t component);

    bool showsSelectionIndicator() const { return showsSelectionIndicator_; }
    void setShowsSelectionIndicator(bool shows) { showsSelectionIndicator_ = shows; }

    graphics::Size sizeThatFits(graphics::Size size) const override { return {size.width, kHeight}; }
    void drawRect(const graphics::Rect& rect) override;

    std::string className() const override { return "UIPickerView"; }

private:
    void load();

    std::weak_ptr<UIPickerViewDataSource> dataSource_;
    std::weak_ptr<UIPickerViewDelegate> delegate_;
    std::vector<int64_t> rows_;
    std::vector<int64_t> selected_;
    bool lastSelectionAnimated_ = false;
    bool showsSelectionIndicator_ = false;
};

using UIPickerViewPtr = std::shared_ptr<UIPickerView>;

}  // namespace uikit

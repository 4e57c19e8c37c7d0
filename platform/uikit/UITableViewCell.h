// A table row's view: a content view holding the stock labels and image
// view laid out for the cell's style, an accessory at the right (a stock
// mark or a view of the app's), selection and highlight (labels switch to
// their highlighted colour), and the reuse identifier under which the table
// queues the cell when its row leaves the view (prepareForReuse runs before
// it is handed out again). A sizing cell answers its height at a width
// through fittingHeightForWidth, the explicit formula that stands in for a
// layout solver. Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "uikit/UIView.h"

namespace uikit {

class UILabel;
class UIImageView;

enum class UITableViewCellStyle { Default, Value1, Value2, Subtitle };
enum class UITableViewCellAccessoryType { None, DisclosureIndicator, DetailDisclosureButton, Checkmark, DetailButton };
enum class UITableViewCellSelectionStyle { None, Blue, Gray, Default };

class UITableViewCell : public UIView {
public:
    explicit UITableViewCell(UITableViewCellStyle style = UITableViewCellStyle::Default,
                             std::optional<std::string> reuseIdentifier = std::nullopt);
    ~UITableViewCell() override;

    UITableViewCellStyle style() const { return style_; }
    const std::optional<std::string>& reuseIdentifier() const { return reuseIdentifier_; }
    // The table sets it on a cell it made from a registration without one.
    void setReuseIdentifier(std::optional<std::string> identifier) { reuseIdentifier_ = std::move(identifier); }

    // Subviews of the content view. The detail label exists for the
    // value-1, value-2 and subtitle styles only (null for the default style).
    // The content view joins the cell once the cell is owned (on first
    // access, layout or entering a superview).
    const std::shared_ptr<UIView>& contentView() const;
    const std::shared_ptr<UILabel>& textLabel() const { return textLabel_; }
    const std::shared_ptr<UILabel>& detailTextLabel() const { return detailTextLabel_; }
    const std::shared_ptr<UIImageView>& imageView() const { return imageView_; }

    UITableViewCellAccessoryType accessoryType() const { return accessoryType_; }
    void setAccessoryType(UITableViewCellAccessoryType type);
    // Shown in place of the stock accessory when set.
    const std::shared_ptr<UIView>& accessoryView() const { return accessoryView_; }
    void setAccessoryView(std::shared_ptr<UIView> view);

    UITableViewCellSelectionStyle selectionStyle() const { return selectionStyle_; }
    void setSelectionStyle(UITableViewCellSelectionStyle style) { selectionStyle_ = style; }
    bool isSelected() const { return selected_; }
    void setSelected(bool selected) { setSelected(selected, false); }
    virtual void setSelected(bool selected, bool animated);
    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool highlighted) { setHighlighted(highlighted, false); }
    virtual void setHighlighted(bool highlighted, bool animated);

    // Before the table hands the cell out again: clears selection and highlight.
    // Overrides call this first.
    virtual void prepareForReuse();

    // The height the cell needs at that width; by default its content view's height.
    virtual double fittingHeightForWidth(double width);

    void layoutSubviews() override;
    void didMoveToSuperview() override;
    // The stock look (separator, disclosure and check-mark accessories).
    void drawRect(const graphics::Rect& rect) override;

    std::string className() const override { return "UITableViewCell"; }

private:
    void updateLabelHighlight();
    void attachParts() const;
    double accessoryWidth() const;

    UITableViewCellStyle style_;
    std::optional<std::string> reuseIdentifier_;
    std::shared_ptr<UIView> contentView_;
    std::shared_ptr<UILabel> textLabel_;
    std::shared_ptr<UILabel> detailTextLabel_;
    std::shared_ptr<UIImageView> imageView_;
    UITableViewCellAccessoryType accessoryType_ = UITableViewCellAccessoryType::None;
    std::shared_ptr<UIView> accessoryView_;
    UITableViewCellSelectionStyle selectionStyle_ = UITableViewCellSelectionStyle::Default;
    bool selected_ = false;
    bool highlighted_ = false;
};

using UITableViewCellPtr = std::shared_ptr<UITableViewCell>;

}  // namespace uikit

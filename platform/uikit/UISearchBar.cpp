// The bar builds its parts once: a container filling the bar holding the
// field, the cancel button and the scope segments, laid out whenever the
// bar's size or shown parts change. The field is a text field of the bar's
// own kind that draws the bar's search-field look (its background image,
// the search icon, the text shifted by the position adjustment).
#include "uikit/UISearchBar.h"

#include <algorithm>
#include <cmath>

#include "graphics/MutablePath.h"
#include "uikit/NSStringDrawing.h"
#include "uikit/UIButton.h"
#include "uikit/UIFont.h"
#include "uikit/UISearchDisplayController.h"
#include "uikit/UISegmentedControl.h"
#include "uikit/UITextField.h"

namespace uikit {

namespace {

constexpr double kSearchBarMargin = 8;
constexpr double kFieldHeight = 28;
constexpr double kScopeHeight = 29;
constexpr double kIconRoom = 22;
constexpr double kSearchFontSize = 14;
const char* const kCancelTitle = "Cancel";

// The bar's default band: the light grey of the platform's search bars.
graphics::Color defaultBandColor() { return graphics::Color::rgb(201.0 / 255, 201.0 / 255, 206.0 / 255); }

// The field inside a search bar: it draws the bar's look of it.
class SearchBarField : public UITextField {
public:
    SearchBarField() {
        setFont(UIFont::systemFontOfSize(kSearchFontSize));
        setReturnKeyType(UIReturnKeyType::Search);
    }

    void drawRect(const graphics::Rect& rect) override {
        auto* context = UIGraphicsGetCurrentContext();
        if (!context) return;
        const UISearchBar* bar = owningBar();
        UIImagePtr background = bar ? bar->searchFieldBackgroundImageForState(state()) : nullptr;
        if (!background && bar) background = bar->searchFieldBackgroundImageForState(UIControlStateNormal);
        if (background) {
            background->drawInContext(*context, rect);
        } else {
            graphics::MutablePath path;
            path.addRoundedRect(rect, 5);
            context->fillPath(path, graphics::Color::white());
        }
        UIImagePtr icon = bar ? bar->imageForSearchBarIcon(UISearchBarIcon::Search, UIControlStateNormal) : nullptr;
        double middle = rect.origin.y + rect.size.height / 2;
        if (icon && !icon->isEmpty()) {
            graphics::Size size = icon->size();
            icon->drawInContext(*context, {rect.origin.x + 6, middle - size.height / 2, size.width, size.height});
        } else {
            // A lens: a ring and its handle.
            graphics::MutablePath ring;
            ring.addEllipseInRect({rect.origin.x + 7, middle - 6, 10, 10});
            graphics::StrokeStyle stroke;
            stroke.color = graphics::Color::gray(0.56);
            stroke.lineWidth = 1.5;
            context->strokePath(ring, stroke);
            graphics::MutablePath handle;
            handle.moveToPoint({rect.origin.x + 15.5, middle + 2.5});
            handle.addLineToPoint({rect.origin.x + 19, middle + 6});
            context->strokePath(handle, stroke);
        }
        UIOffset adjustment = bar ? bar->searchTextPositionAdjustment() : UIOffsetZero;
        bool showingText = text() && !text()->empty();
        graphics::Color color = textColor();
        UIFontPtr drawnFont = font();
        if (!showingText) {
            color = graphics::Color::gray(0.56);
            if (const auto& placeholder = attributedPlaceholder(); placeholder && placeholder->length() > 0) {
                const auto& attributes = placeholder->attributesAtIndex(0);
                if (attributes.foregroundColor) color = *attributes.foregroundColor;
                if (attributes.font) drawnFont = attributes.font;
            }
        }
        auto lines = NSStringDrawing::layOut(displayText(), drawnFont, 0, 1);
        double height = NSStringDrawing::sizeOfLines(lines).height;
        double left = rect.origin.x + kIconRoom + adjustment.horizontal;
        graphics::Rect area{{left, middle - height / 2 + adjustment.vertical},
                            {std::max(0.0, rect.origin.x + rect.size.width - 4 - left), height}};
        NSStringDrawing::drawLines(*context, lines, area, NSTextAlignment::Left, color);
    }

    std::string className() const override { return "UISearchBarTextField"; }

private:
    const UISearchBar* owningBar() const {
        for (auto view = superview(); view; view = view->superview())
            if (auto bar = dynamic_cast<const UISearchBar*>(view.get())) return bar;
        return nullptr;
    }
};

}  // namespace

// Turns the field's delegate calls into the bar's.
class UISearchBar::FieldDelegate : public UITextFieldDelegate {
public:
    explicit FieldDelegate(UISearchBar& bar) : bar_(bar) {}

    bool textFieldShouldBeginEditing(UITextField&) override {
        auto delegate = bar_.delegate();
        return !delegate || delegate->searchBarShouldBeginEditing(bar_);
    }
    void textFieldDidBeginEditing(UITextField&) override {
        if (auto delegate = bar_.delegate()) delegate->searchBarTextDidBeginEditing(bar_);
        if (auto controller = bar_.searchDisplayController()) controller->searchBarDidBeginEditing();
    }
    void textFieldDidEndEditing(UITextField&) override {
        if (auto delegate = bar_.delegate()) delegate->searchBarTextDidEndEditing(bar_);
    }
    bool textFieldShouldChangeCharactersInRange(UITextField&, NSRange range, const std::string& replacement) override {
        auto delegate = bar_.delegate();
        return !delegate || delegate->searchBarShouldChangeTextInRange(bar_, range, replacement);
    }
    bool textFieldShouldReturn(UITextField&) override {
        if (auto delegate = bar_.delegate()) delegate->searchBarSearchButtonClicked(bar_);
        return true;
    }

private:
    UISearchBar& bar_;
};

UISearchBar::UISearchBar(const graphics::Rect& frame) : UIView(frame) {
    container_ = std::make_shared<UIView>();
    container_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);

    fieldDelegate_ = std::make_shared<FieldDelegate>(*this);
    field_ = std::make_shared<SearchBarField>();
    field_->setDelegate(fieldDelegate_);
    field_->addTarget([this](UIControl&) { fieldTextChanged(); }, UIControlEventEditingChanged);
    container_->addSubview(field_);

    cancelButton_ = UIButton::buttonWithType(UIButtonType::System);
    cancelButton_->setTitle(std::string(kCancelTitle), UIControlStateNormal);
    cancelButton_->addTarget([this](UIControl&) { cancelTapped(); }, UIControlEventTouchUpInside);
    cancelButton_->setHidden(true);
    container_->addSubview(cancelButton_);

    scopeBar_ = std::make_shared<UISegmentedControl>();
    scopeBar_->addTarget([this](UIControl&) { scopeChangedByPerson(); }, UIControlEventValueChanged);
    scopeBar_->setHidden(true);
    container_->addSubview(scopeBar_);

    if (frame.size.height <= 0 && frame.size.width > 0) UIView::setFrame({frame.origin, sizeThatFits(frame.size)});
}

void UISearchBar::attachParts() const {
    auto* self = const_cast<UISearchBar*>(this);
    if (container_->superview() || self->weak_from_this().expired()) return;
    self->insertSubviewAtIndex(container_, 0);
    self->layoutSubviews();
}

void UISearchBar::willMoveToSuperview(UIView* newSuperview) {
    UIView::willMoveToSuperview(newSuperview);
    attachParts();
}

UISearchBar::~UISearchBar() = default;

std::string UISearchBar::text() const {
    attachParts();
    return field_->text().value_or(std::string());
}

void UISearchBar::setText(std::optional<std::string> text) {
    attachParts();
    field_->setText(std::move(text));
}

std::optional<std::string> UISearchBar::placeholder() const {
    attachParts();
    return field_->placeholder();
}

void UISearchBar::setPlaceholder(std::optional<std::string> placeholder) {
    attachParts();
    field_->setPlaceholder(std::move(placeholder));
}

void UISearchBar::setScopeButtonTitles(std::vector<std::string> titles) {
    attachParts();
    scopeButtonTitles_ = std::move(titles);
    scopeBar_->removeAllSegments();
    for (size_t i = 0; i < scopeButtonTitles_.size(); ++i) scopeBar_->insertSegmentWithTitle(scopeButtonTitles_[i], i, false);
    if (selectedScope_ >= static_cast<int64_t>(scopeButtonTitles_.size())) selectedScope_ = 0;
    scopeBar_->setSelectedSegmentIndex(scopeButtonTitles_.empty() ? UISegmentedControlNoSegment : selectedScope_);
    layoutSubviews();
}

void UISearchBar::setSelectedScopeButtonIndex(int64_t index) {
    if (index < 0 || index >= static_cast<int64_t>(scopeButtonTitles_.size())) return;
    selectedScope_ = index;
    scopeBar_->setSelectedSegmentIndex(index);
}

void UISearchBar::setShowsScopeBar(bool shows) {
    showsScopeBar_ = shows;
    layoutSubviews();
}

void UISearchBar::setShowsCancelButton(bool shows, bool animated) {
    (void)animated;
    showsCancelButton_ = shows;
    layoutSubviews();
}

void UISearchBar::setBackgroundImage(UIImagePtr image) {
    appearancePropertyWasSet(backgroundImageKey());
    backgroundImage_ = std::move(image);
    setNeedsDisplay();
}

std::string UISearchBar::searchFieldBackgroundImageKey(UIControlState state) {
    return "searchFieldBackgroundImage:" + std::to_string(state);
}

std::string UISearchBar::imageKey(UISearchBarIcon icon, UIControlState state) {
    return "imageForSearchBarIcon:" + std::to_string(static_cast<int>(icon)) + ":" + std::to_string(state);
}

UIImagePtr UISearchBar::searchFieldBackgroundImageForState(UIControlState state) const {
    auto it = searchFieldBackgrounds_.find(state);
    return it == searchFieldBackgrounds_.end() ? nullptr : it->second;
}

void UISearchBar::setSearchFieldBackgroundImage(UIImagePtr image, UIControlState state) {
    appearancePropertyWasSet(searchFieldBackgroundImageKey(state));
    if (image) searchFieldBackgrounds_[state] = std::move(image);
    else searchFieldBackgrounds_.erase(state);
    field_->setNeedsDisplay();
}

UIImagePtr UISearchBar::imageForSearchBarIcon(UISearchBarIcon icon, UIControlState state) const {
    auto it = icons_.find({icon, state});
    return it == icons_.end() ? nullptr : it->second;
}

void UISearchBar::setImage(UIImagePtr image, UISearchBarIcon icon, UIControlState state) {
    appearancePropertyWasSet(imageKey(icon, state));
    if (image) icons_[{icon, state}] = std::move(image);
    else icons_.erase({icon, state});
    field_->setNeedsDisplay();
}

void UISearchBar::setSearchTextPositionAdjustment(const UIOffset& offset) {
    appearancePropertyWasSet(searchTextPositionAdjustmentKey());
    searchTextPositionAdjustment_ = offset;
    field_->setNeedsDisplay();
}

std::shared_ptr<UITextField> UISearchBar::searchField() const {
    attachParts();
    return field_;
}

bool UISearchBar::canBecomeFirstResponder() const { return field_->canBecomeFirstResponder(); }

bool UISearchBar::becomeFirstResponder() {
    attachParts();
    return field_->becomeFirstResponder();
}

bool UISearchBar::resignFirstResponder() { return field_->resignFirstResponder(); }

bool UISearchBar::isEditing() const { return field_->isFirstResponder(); }

bool UISearchBar::typeText(const std::string& text) {
    attachParts();
    if (isHidden()) return false;
    return field_->typeText(text);
}

bool UISearchBar::tapScopeButton(int64_t index) {
    if (!showsScopeBar_ || index < 0 || index >= static_cast<int64_t>(scopeButtonTitles_.size())) return false;
    return scopeBar_->tapSegmentAtIndex(static_cast<size_t>(index));
}

bool UISearchBar::tapCancelButton() {
    if (!showsCancelButton_) return false;
    return cancelButton_->tap();
}

bool UISearchBar::tapSearchButton() {
    if (!isEditing()) return false;
    return field_->pressReturn();
}

void UISearchBar::fieldTextChanged() {
    const std::string current = text();
    if (auto delegate = this->delegate()) delegate->searchBarTextDidChange(*this, current);
    if (auto controller = searchDisplayController()) controller->searchBarTextDidChange();
}

void UISearchBar::scopeChangedByPerson() {
    int64_t index = scopeBar_->selectedSegmentIndex();
    if (index < 0) return;
    selectedScope_ = index;
    if (auto delegate = this->delegate()) delegate->searchBarSelectedScopeButtonIndexDidChange(*this, index);
    if (auto controller = searchDisplayController()) controller->searchBarSelectedScopeDidChange();
}

void UISearchBar::cancelTapped() {
    if (auto delegate = this->delegate()) delegate->searchBarCancelButtonClicked(*this);
    if (auto controller = searchDisplayController()) controller->searchBarCancelButtonClicked();
}

graphics::Size UISearchBar::sizeThatFits(graphics::Size size) const {
    return {size.width, kBarHeight + (showsScopeBar_ && !scopeButtonTitles_.empty() ? kScopeBarHeight : 0)};
}

void UISearchBar::layoutSubviews() {
    attachParts();
    const graphics::Rect all = bounds();
    container_->setFrame(all);
    const double width = all.size.width;
    double fieldRight = width - kSearchBarMargin;
    cancelButton_->setHidden(!showsCancelButton_);
    if (showsCancelButton_) {
        auto title = NSStringDrawing::sizeOfLines(
            NSStringDrawing::layOut(kCancelTitle, UIFont::systemFontOfSize(UIFont::kDefaultFontSize), 0, 1));
        double buttonWidth = std::ceil(title.width) + 8;
        cancelButton_->setFrame(
            {std::max(0.0, width - kSearchBarMargin - buttonWidth), (kBarHeight - 30) / 2, buttonWidth, 30});
        fieldRight -= buttonWidth + kSearchBarMargin;
    }
    field_->setFrame({kSearchBarMargin, (kBarHeight - kFieldHeight) / 2, std::max(0.0, fieldRight - kSearchBarMargin),
                      kFieldHeight});
    bool scopeShown = showsScopeBar_ && !scopeButtonTitles_.empty();
    scopeBar_->setHidden(!scopeShown);
    if (scopeShown)
        scopeBar_->setFrame(
            {kSearchBarMargin, kBarHeight + (kScopeBarHeight - kScopeHeight) / 2,
             std::max(0.0, width - 2 * kSearchBarMargin), kScopeHeight});
}

void UISearchBar::setFrame(const graphics::Rect& frame) {
    UIView::setFrame(frame);
    if (container_) layoutSubviews();
}

void UISearchBar::drawRect(const graphics::Rect& rect) {
    auto* context = UIGraphicsGetCurrentContext();
    if (!context) return;
    if (backgroundImage_) {
        backgroundImage_->drawInContext(*context, rect);
        return;
    }
    graphics::MutablePath band;
    band.addRect(rect);
    context->fillPath(band, defaultBandColor());
}

}  // namespace uikit

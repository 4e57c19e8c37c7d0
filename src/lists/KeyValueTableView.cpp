#include "lists/KeyValueTableView.h"

#include <algorithm>
#include <cmath>

#include "foundation/StringUtils.h"
#include "lists/KeyValueButtonsCell.h"
#include "lists/KeyValueNormalCell.h"
#include "lists/TextCell.h"
#include "uikit/NSLayoutConstraint.h"
#include "uikit/UIColor.h"
#include "uikit/UIEdgeInsets.h"
#include "uikit/UIFont.h"
#include "uikit/UILabel.h"
#include "uikit/UITextView.h"
#include "Utils/StringUtility.h"
#include "Utils/UIBlockButton.h"
#include "Utils/Utils.h"

namespace {

constexpr const char* kFontName = "HelveticaNeue";
constexpr const char* kTextCellFontName = "Helvetica";
constexpr const char* kButtonFontName = "HelveticaNeue-Bold";
constexpr double kFontSize = 14;

// Key column: the key is measured in this width, the column is 8 wider.
constexpr double kPadKeyWidth = 178;
constexpr double kPhoneKeyWidth = 100;
constexpr double kPadKeyColumnWidth = 186;
constexpr double kPhoneKeyColumnWidth = 108;
constexpr double kKeyHeightLimit = 1000;
constexpr double kKeyMargins = 16;
constexpr double kKeyInset = 8;

constexpr int64_t kFixedValueHeight = 38;
constexpr int64_t kMinimumValueHeight = 38;
constexpr double kValueHeightLimit = 10000;
constexpr double kTextViewExtraHeight = 4;

constexpr int64_t kFirstButtonTag = 1000;
constexpr double kButtonHeight = 29;
constexpr double kButtonSpacing = 37;
constexpr double kButtonRowMargins = 8;
constexpr double kButtonWidthExtra = 8;

const char* const kGreyValues[] = {"No", "None", "N/A"};

bool hasText(const KeyValueTableView::Text& text) {
    return text && !StringUtility::isNilOrEmpty(std::string_view(*text));
}

double keyWidth() { return Utils::isIPad() ? kPadKeyWidth : kPhoneKeyWidth; }

// Buttons reach 8 points into the key column, so a button row's key wraps
// short of them rather than running under its value.
constexpr double kKeyToButtonsGap = 4;
double keyWidthForRow(bool buttonRow) {
    return buttonRow ? keyWidth() - kButtonWidthExtra - kKeyInset - kKeyToButtonsGap : keyWidth();
}

double keyColumnWidth(const KeyValueTableView::Text& key) {
    if (!hasText(key)) return 0;
    return Utils::isIPad() ? kPadKeyColumnWidth : kPhoneKeyColumnWidth;
}

// A button's title starts where a text value's text does (the value column
// and the text view's line padding), though its frame reaches further left.
double keyValueButtonTitleInset() {
    const double valueColumn = Utils::isIPad() ? kPadKeyColumnWidth : kPhoneKeyColumnWidth;
    const double buttonsX = keyWidth() - kButtonWidthExtra;
    return valueColumn + uikit::UITextView::kTextContainerInset.left + uikit::UITextView::kLineFragmentPadding -
           buttonsX;
}

std::vector<std::string> buttonTitles(const KeyValueTableView::Text& value) {
    if (!value) return {};
    return foundation::StringUtils::split(*value, "|");
}

std::shared_ptr<uikit::UITextView> makeValueView() {
    auto view = std::make_shared<uikit::UITextView>();
    view->setEditable(false);
    view->setScrollEnabled(false);
    view->setFont(uikit::UIFont::fontWithName(kFontName, kFontSize));
    view->setBackgroundColor(uikit::UIColor::clearColor());
    view->setOutletName(std::string("valueLabel"));
    return view;
}

std::shared_ptr<uikit::UILabel> makeKeyLabel() {
    auto label = std::make_shared<uikit::UILabel>();
    label->setFont(uikit::UIFont::fontWithName(kFontName, kFontSize));
    label->setNumberOfLines(0);
    label->setOutletName(std::string("keyLabel"));
    return label;
}

// The prototype cells, as laid out with the table.
uikit::UITableViewCellPtr makeTextCell(const std::string& identifier) {
    auto cell = std::make_shared<TextCell>(uikit::UITableViewCellStyle::Default, identifier);
    cell->setValueLabel(makeValueView());
    cell->contentView()->addSubview(cell->valueLabel());
    return cell;
}

uikit::UITableViewCellPtr makeNormalCell(const std::string& identifier) {
    auto cell = std::make_shared<KeyValueNormalCell>(uikit::UITableViewCellStyle::Default, identifier);
    cell->setKeyLabel(makeKeyLabel());
    cell->setValueLabel(makeValueView());
    cell->contentView()->addSubview(cell->keyLabel());
    cell->contentView()->addSubview(cell->valueLabel());
    return cell;
}

uikit::UITableViewCellPtr makeButtonsCell(const std::string& identifier) {
    auto cell = std::make_shared<KeyValueButtonsCell>(uikit::UITableViewCellStyle::Default, identifier);
    cell->setKeyLabel(makeKeyLabel());
    auto container = std::make_shared<uikit::UIView>();
    cell->setButtonsContainer(container);
    cell->setButtonsContainerHeightConstraint(uikit::NSLayoutConstraint::constraintWithItem(
        container, uikit::NSLayoutAttribute::Height, uikit::NSLayoutRelation::Equal, nullptr,
        uikit::NSLayoutAttribute::NotAnAttribute, 1, 0));
    cell->contentView()->addSubview(cell->keyLabel());
    cell->contentView()->addSubview(container);
    return cell;
}

void placeKeyLabel(uikit::UILabel& label, const KeyValueTableView::Text& key, double rowHeight, bool buttonRow) {
    label.setText(key);
    label.setFrame({kKeyInset, kKeyInset, keyWidthForRow(buttonRow), std::max(0.0, rowHeight - kKeyMargins)});
}

}  // namespace

KeyValueTableView::KeyValueTableView(const graphics::Rect& frame, uikit::UITableViewStyle style)
    : uikit::UITableView(frame, style) {
    registerClass(makeTextCell, kTextCellIdentifier);
    registerClass(makeNormalCell, kNormalCellIdentifier);
    registerClass(makeButtonsCell, kButtonsCellIdentifier);
}

void KeyValueTableView::makeInitialAdjustments() {
    setBackgroundColor(uikit::UIColor::whiteColor());
    Utils::changeSeparatorInsetForTableView(*this, uikit::UIEdgeInsets{0, 0, 0, 0});
    auto self = std::dynamic_pointer_cast<KeyValueTableView>(shared_from_this());
    setDataSource(self);
    setDelegate(self);
}

void KeyValueTableView::resetTable() {
    items_.clear();
    heights_.clear();
}

void KeyValueTableView::addRowWithKey(const Text& key, const Text& value, bool isButton, bool hasVariableHeight,
                                      bool ignoreEmpty, ButtonBlock block) {
    if (ignoreEmpty && (!value || foundation::StringUtils::trim(*value).empty())) return;
    addRowWithKey(key, value, isButton, hasVariableHeight, std::move(block));
}

void KeyValueTableView::addRowWithKey(const Text& key, const Text& value, bool isButton, bool hasVariableHeight,
                                      ButtonBlock block) {
    auto item = std::make_shared<KeyValueBlockItem>();
    item->setKeyText(key);
    item->setValueText(value);
    item->setIsButton(isButton);
    item->setButtonBlock(std::move(block));
    heights_.push_back(heightOfRow(*item, hasVariableHeight));
    items_.push_back(std::move(item));
}

void KeyValueTableView::updateTableHeight() {
    if (!tableViewHeightConstraint_) return;
    if (items_.empty()) {
        tableViewHeightConstraint_->setConstant(0);
        return;
    }
    const auto required = static_cast<double>(requiredHeight());
    if (tableViewHeightConstraint_->constant() != required) tableViewHeightConstraint_->setConstant(required);
}

int64_t KeyValueTableView::requiredHeight() const {
    int64_t total = 0;
    for (auto height : heights_) total += height;
    return total;
}

int64_t KeyValueTableView::heightOfRow(const KeyValueBlockItem& item, bool hasVariableHeight) const {
    const auto& key = item.keyText();
    int64_t keyHeight = 0;
    if (hasText(key)) {
        auto size = Utils::getTextSize(key, uikit::UIFont::fontWithName(kFontName, kFontSize),
                                       {keyWidthForRow(item.isButton()), kKeyHeightLimit});
        keyHeight = static_cast<int64_t>(size.height) + static_cast<int64_t>(kKeyMargins);
    }
    int64_t valueHeight = kFixedValueHeight;
    if (hasVariableHeight && item.isButton()) {
        const auto titles = static_cast<int64_t>(buttonTitles(item.valueText()).size());
        if (titles >= 2)
            valueHeight = static_cast<int64_t>(kButtonSpacing) * titles + static_cast<int64_t>(kButtonRowMargins);
        else
            valueHeight = titles == 1 ? kFixedValueHeight : 0;
    } else if (hasVariableHeight) {
        uikit::UITextView measuring;
        measuring.setFont(uikit::UIFont::fontWithName(kFontName, kFontSize));
        measuring.setText(item.valueText().value_or(""));
        const double width = static_cast<double>(availableWidth_) - keyColumnWidth(key);
        const double needed = std::min(measuring.sizeThatFits({width, kValueHeightLimit}).height, kValueHeightLimit);
        valueHeight = std::max(static_cast<int64_t>(std::ceil(needed + kTextViewExtraHeight)), kMinimumValueHeight);
    }
    return std::max(keyHeight, valueHeight);
}

int64_t KeyValueTableView::tableViewNumberOfRowsInSection(uikit::UITableView& tableView, int64_t section) {
    (void)tableView, (void)section;
    return static_cast<int64_t>(items_.size());
}

std::optional<double> KeyValueTableView::tableViewHeightForRowAtIndexPath(uikit::UITableView& tableView,
                                                                          const uikit::NSIndexPath& indexPath) {
    (void)tableView;
    return static_cast<double>(heights_.at(static_cast<size_t>(indexPath.row)));
}

void KeyValueTableView::tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView,
                                                         const uikit::NSIndexPath& indexPath) {
    tableView.deselectRowAtIndexPath(indexPath, true);
}

uikit::UITableViewCellPtr KeyValueTableView::tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                                            const uikit::NSIndexPath& indexPath) {
    (void)tableView;
    const auto row = static_cast<size_t>(indexPath.row);
    const auto& item = items_.at(row);
    const auto height = static_cast<double>(heights_.at(row));
    if (item->isButton()) return buttonsCell(item, height);
    if (item->keyText() && item->keyText()->empty()) return textCell(*item, height);
    return normalCell(*item, height);
}

uikit::UITableViewCellPtr KeyValueTableView::textCell(const KeyValueBlockItem& item, double height) {
    auto cell = std::dynamic_pointer_cast<TextCell>(dequeueReusableCellWithIdentifier(kTextCellIdentifier));
    cell->setSelectionStyle(uikit::UITableViewCellSelectionStyle::None);
    const auto& value = cell->valueLabel();
    value->setText(item.valueText().value_or(""));
    value->setTextColor(uikit::UIColor::blackColor());
    value->setFont(uikit::UIFont::fontWithName(kTextCellFontName, kFontSize));
    value->setFrame({0, 0, static_cast<double>(availableWidth_), height});
    return cell;
}

uikit::UITableViewCellPtr KeyValueTableView::normalCell(const KeyValueBlockItem& item, double height) {
    auto cell = std::dynamic_pointer_cast<KeyValueNormalCell>(dequeueReusableCellWithIdentifier(kNormalCellIdentifier));
    cell->setSelectionStyle(uikit::UITableViewCellSelectionStyle::None);
    placeKeyLabel(*cell->keyLabel(), item.keyText(), height, false);
    const auto& value = cell->valueLabel();
    const std::string text = item.valueText().value_or("");
    value->setText(text);
    const bool grey = std::find(std::begin(kGreyValues), std::end(kGreyValues), text) != std::end(kGreyValues);
    value->setTextColor(grey ? uikit::UIColor::lightGrayColor() : uikit::UIColor::blackColor());
    const double column = keyColumnWidth(item.keyText());
    value->setFrame({column, 0, std::max(0.0, static_cast<double>(availableWidth_) - column), height});
    return cell;
}

uikit::UITableViewCellPtr KeyValueTableView::buttonsCell(const std::shared_ptr<KeyValueBlockItem>& item,
                                                         double height) {
    auto cell = std::dynamic_pointer_cast<KeyValueButtonsCell>(dequeueReusableCellWithIdentifier(kButtonsCellIdentifier));
    cell->setSelectionStyle(uikit::UITableViewCellSelectionStyle::None);
    placeKeyLabel(*cell->keyLabel(), item->keyText(), height, true);
    const auto& container = cell->buttonsContainer();
    for (auto subviews = container->subviews(); const auto& subview : subviews) subview->removeFromSuperview();

    const double width = static_cast<double>(availableWidth_) - keyWidth() + kButtonWidthExtra;
    const auto titles = buttonTitles(item->valueText());
    double offset = 0;
    for (size_t i = 0; i < titles.size(); ++i) {
        auto button = std::make_shared<UIBlockButton>(graphics::Rect{0, offset, width, kButtonHeight});
        button->setTag(kFirstButtonTag + static_cast<int64_t>(i));
        button->setOutletName(std::string("valueButton"));
        button->titleLabel()->setFont(uikit::UIFont::fontWithName(kButtonFontName, kFontSize));
        button->titleLabel()->setNumberOfLines(2);
        button->titleLabel()->setAdjustsFontSizeToFitWidth(true);
        button->setContentHorizontalAlignment(uikit::UIControlContentHorizontalAlignment::Left);
        button->setContentEdgeInsets({0, keyValueButtonTitleInset(), 0, 0});
        button->setTitleColor(uikit::UIColor::colorWithRed(50.0 / 255, 79.0 / 255, 133.0 / 255, 1),
                              uikit::UIControlStateNormal);
        button->setTitleColor(uikit::UIColor::darkGrayColor(), uikit::UIControlStateHighlighted);
        button->setTitle(titles[i], uikit::UIControlStateNormal);
        button->setTitle(titles[i], uikit::UIControlStateHighlighted);
        // The item, not the table, holds the block: a row outlives no reset.
        std::weak_ptr<KeyValueBlockItem> weakItem = item;
        button->handleControlEvent(uikit::UIControlEventTouchUpInside, [weakItem](uikit::UIControl& sender) {
            if (auto owner = weakItem.lock(); owner && owner->buttonBlock()) owner->buttonBlock()(sender);
        });
        container->addSubview(button);
        offset += i + 1 < titles.size() ? kButtonSpacing : kButtonHeight;
    }
    cell->buttonsContainerHeightConstraint()->setConstant(offset);
    // Frames come from code here: the container takes the constraint's height.
    container->setFrame({static_cast<double>(availableWidth_) - width, std::max(0.0, (height - offset) / 2), width,
                         offset});
    return cell;
}

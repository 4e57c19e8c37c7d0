#include "lists/ListCellNibs.h"

#include <memory>

#include "Utils/CustomTextField.h"
#include "lists/ButtonCell.h"
#include "lists/DetailTableHeaderViewCell.h"
#include "lists/MultilineLabelCell.h"
#include "lists/OneRowTitleCell.h"
#include "lists/QVASubtitleStyleTableViewCell.h"
#include "lists/TextFieldCell.h"
#include "lists/TextViewEditCell.h"
#include "uikit/UIButton.h"
#include "uikit/UIColor.h"
#include "uikit/UIFont.h"
#include "uikit/UILabel.h"
#include "uikit/UINib.h"
#include "uikit/UITextView.h"

namespace {

using namespace uikit;

constexpr double kWidth = 320;
constexpr double kMargin = 15;
constexpr UIViewAutoresizing kFlexibleSize = UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight;

// A cell of the file's size, its content view as large.
template <class Cell>
std::shared_ptr<Cell> makeCell(double height, std::optional<std::string> reuseIdentifier = std::nullopt) {
    auto cell = std::make_shared<Cell>(UITableViewCellStyle::Default, std::move(reuseIdentifier));
    cell->setFrame({0, 0, kWidth, height});
    cell->contentView()->setFrame({0, 0, kWidth, height});
    return cell;
}

std::shared_ptr<UILabel> makeLabel(const graphics::Rect& frame, UIFontPtr font, const std::string& outlet) {
    auto label = std::make_shared<UILabel>(frame);
    label->setFont(std::move(font));
    label->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    label->setOutletName(outlet);
    return label;
}

std::vector<foundation::ObjectPtr> one(foundation::ObjectPtr object) { return {std::move(object)}; }

std::vector<foundation::ObjectPtr> multilineLabelCell(const foundation::ObjectPtr&) {
    auto cell = makeCell<MultilineLabelCell>(44, MultilineLabelCell::cellIdentifier());
    auto label = makeLabel({kMargin, MultilineLabelCell::kVerticalMargin, kWidth - 2 * kMargin,
                            44 - 2 * MultilineLabelCell::kVerticalMargin},
                           UIFont::systemFontOfSize(15), "multilineLabel");
    label->setNumberOfLines(0);
    label->setLineBreakMode(NSLineBreakMode::ByWordWrapping);
    label->setAutoresizingMask(kFlexibleSize);
    cell->contentView()->addSubview(label);
    cell->setMultilineLabel(label);
    return one(cell);
}

std::vector<foundation::ObjectPtr> oneRowTitleCell(const foundation::ObjectPtr&) {
    auto cell = makeCell<OneRowTitleCell>(44);
    auto label = makeLabel({kMargin, 0, kWidth - 2 * kMargin, 44}, UIFont::systemFontOfSize(17), "titleCellLabel");
    cell->contentView()->addSubview(label);
    cell->setTitleCellLabel(label);
    return one(cell);
}

std::vector<foundation::ObjectPtr> subtitleStyleCell(const foundation::ObjectPtr&) {
    auto cell = makeCell<QVASubtitleStyleTableViewCell>(54);
    auto title = makeLabel({kMargin, 8, kWidth - 2 * kMargin, 21}, UIFont::systemFontOfSize(17), "titleLabel");
    auto subtitle = makeLabel({kMargin, 29, kWidth - 2 * kMargin, 17}, UIFont::systemFontOfSize(13), "subtitleLabel");
    subtitle->setTextColor(UIColor::darkGrayColor());
    cell->contentView()->addSubview(title);
    cell->contentView()->addSubview(subtitle);
    cell->setTitleLabel(title);
    cell->setSubtitleLabel(subtitle);
    return one(cell);
}

std::vector<foundation::ObjectPtr> detailHeaderCell(const foundation::ObjectPtr&) {
    auto cell = makeCell<DetailTableHeaderViewCell>(44);
    auto label = makeLabel({kMargin, 0, kWidth - 2 * kMargin, 44}, UIFont::boldSystemFontOfSize(17), "headerTitle");
    cell->contentView()->addSubview(label);
    cell->setHeaderTitle(label);
    return one(cell);
}

std::vector<foundation::ObjectPtr> buttonCell(const foundation::ObjectPtr&) {
    auto cell = makeCell<ButtonCell>(44);
    auto button = UIButton::buttonWithType(UIButtonType::System);
    button->setFrame({kMargin, 5, kWidth - 2 * kMargin, 34});
    button->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    button->setOutletName("buttonProposeChange");
    cell->contentView()->addSubview(button);
    cell->setButtonProposeChange(button);
    return one(cell);
}

std::vector<foundation::ObjectPtr> textViewEditCell(const foundation::ObjectPtr&) {
    auto cell = makeCell<TextViewEditCell>(88);
    auto textView = std::make_shared<UITextView>(graphics::Rect{10, 5, kWidth - 20, 78});
    textView->setFont(UIFont::systemFontOfSize(15));
    textView->setAutoresizingMask(kFlexibleSize);
    textView->setOutletName("theTextView");
    cell->contentView()->addSubview(textView);
    cell->setTheTextView(textView);
    return one(cell);
}

std::vector<foundation::ObjectPtr> textFieldCell(const foundation::ObjectPtr&) {
    constexpr double kButtonSide = 44;
    auto cell = makeCell<TextFieldCell>(44);
    auto field = std::make_shared<CustomTextField>(
        graphics::Rect{kMargin, 7, kWidth - 2 * kMargin - kButtonSide, 30});
    field->setBorderStyle(UITextBorderStyle::RoundedRect);
    field->setFont(UIFont::systemFontOfSize(15));
    field->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    field->setOutletName("textField");
    auto add = UIButton::buttonWithType(UIButtonType::ContactAdd);
    // The glyph the platform draws for this kind of button.
    add->setTitle("+", UIControlStateNormal);
    add->setFrame({kWidth - kButtonSide, 0, kButtonSide, kButtonSide});
    add->setAutoresizingMask(UIViewAutoresizingFlexibleLeftMargin);
    add->setOutletName("addButton");
    cell->contentView()->addSubview(field);
    cell->contentView()->addSubview(add);
    cell->setTextField(field);
    cell->setAddButton(add);
    return one(cell);
}

struct Entry {
    const char* name;
    UINib::Factory factory;
};

const std::vector<Entry>& entries() {
    static const std::vector<Entry> list{
        {"MultilineLabelCell", multilineLabelCell},
        {"OneRowTitleCell", oneRowTitleCell},
        {"QVASubtitleStyleTableViewCell", subtitleStyleCell},
        {"DetailTableHeaderViewCell", detailHeaderCell},
        {"ButtonCell", buttonCell},
        {"TextViewEditCell", textViewEditCell},
        {"TextFieldCell", textFieldCell},
    };
    return list;
}

}  // namespace

std::vector<std::string> ListCellNibs::nibNames() {
    std::vector<std::string> names;
    for (const auto& entry : entries()) names.emplace_back(entry.name);
    return names;
}

void ListCellNibs::registerNibs() {
    for (const auto& entry : entries())
        if (!UINib::hasNibNamed(entry.name)) UINib::registerNib(entry.name, entry.factory);
}

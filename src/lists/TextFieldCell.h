// A form row with a text field and an add button beside it. The key it is
// configured with names the row's value (and goes into the field's key, so a
// delegate serving several rows tells the fields apart). In the plain form
// the add button shows only while the field cannot be edited; in the
// location-suggestion form it always shows.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "uikit/UITableViewCell.h"

class CustomTextField;
namespace uikit {
class UIButton;
class UITextFieldDelegate;
}  // namespace uikit

class TextFieldCell : public uikit::UITableViewCell {
public:
    using Text = std::optional<std::string>;

    using uikit::UITableViewCell::UITableViewCell;

    std::shared_ptr<CustomTextField> textField() const { return textField_.lock(); }
    void setTextField(const std::shared_ptr<CustomTextField>& field) { textField_ = field; }
    std::shared_ptr<uikit::UIButton> addButton() const { return addButton_.lock(); }
    void setAddButton(const std::shared_ptr<uikit::UIButton>& button) { addButton_ = button; }
    const Text& key() const { return key_; }
    void setKey(Text key) { key_ = std::move(key); }

    void configureWithKey(const Text& key, const Text& placeholder, const Text& text, bool canBeEdited,
                          const std::shared_ptr<uikit::UITextFieldDelegate>& delegate,
                          bool shouldCapitalizeFirstLetter);
    void configureForLocationSuggestionWithKey(const Text& key, const Text& placeholder, const Text& text,
                                               bool canBeEdited,
                                               const std::shared_ptr<uikit::UITextFieldDelegate>& delegate,
                                               bool shouldCapitalizeFirstLetter);

    std::string className() const override { return "TextFieldCell"; }

private:
    void configureField(const Text& key, const Text& placeholder, const Text& text,
                        const std::shared_ptr<uikit::UITextFieldDelegate>& delegate, bool shouldCapitalizeFirstLetter);

    std::weak_ptr<CustomTextField> textField_;
    std::weak_ptr<uikit::UIButton> addButton_;
    Text key_;
};

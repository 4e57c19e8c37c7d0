#include "lists/TextFieldCell.h"

#include "Utils/CustomTextField.h"
#include "uikit/UIButton.h"

void TextFieldCell::configureField(const Text& key, const Text& placeholder, const Text& text,
                                   const std::shared_ptr<uikit::UITextFieldDelegate>& delegate,
                                   bool shouldCapitalizeFirstLetter) {
    key_ = key;
    auto field = textField_.lock();
    if (!field) return;
    field->setKey(key);
    field->setPlaceholder(placeholder);
    field->setDelegate(delegate);
    field->setText(text);
    field->setAutocapitalizationType(shouldCapitalizeFirstLetter ? uikit::UITextAutocapitalizationType::Sentences
                                                                 : uikit::UITextAutocapitalizationType::None);
}

void TextFieldCell::configureWithKey(const Text& key, const Text& placeholder, const Text& text, bool canBeEdited,
                                     const std::shared_ptr<uikit::UITextFieldDelegate>& delegate,
                                     bool shouldCapitalizeFirstLetter) {
    configureField(key, placeholder, text, delegate, shouldCapitalizeFirstLetter);
    if (auto button = addButton_.lock()) button->setHidden(canBeEdited);
}

void TextFieldCell::configureForLocationSuggestionWithKey(const Text& key, const Text& placeholder, const Text& text,
                                                          bool, const std::shared_ptr<uikit::UITextFieldDelegate>& delegate,
                                                          bool shouldCapitalizeFirstLetter) {
    configureField(key, placeholder, text, delegate, shouldCapitalizeFirstLetter);
    if (auto button = addButton_.lock()) button->setHidden(false);
}

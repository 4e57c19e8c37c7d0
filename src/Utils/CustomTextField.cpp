#include "Utils/CustomTextField.h"

CustomTextField::CustomTextField(const graphics::Rect& frame) : uikit::UITextField(frame) {
    configureCustomProperties();
}

void CustomTextField::configureCustomProperties() {
    setAutocorrectionType(uikit::UITextAutocorrectionType::No);
}

void CustomTextField::awakeFromNib() {
    uikit::UITextField::awakeFromNib();
    configureCustomProperties();
}

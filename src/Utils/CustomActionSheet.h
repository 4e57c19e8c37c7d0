// An action sheet that remembers what it chooses for: the presenting screen
// stores the identifier of the property or row in it and reads it back in
// the sheet's button callback.
#pragma once

#include <optional>
#include <string>

#include "uikit/UIActionSheet.h"

class CustomActionSheet : public uikit::UIActionSheet {
public:
    using uikit::UIActionSheet::UIActionSheet;

    const std::optional<std::string>& selectionPropertyId() const { return selectionPropertyId_; }
    void setSelectionPropertyId(std::optional<std::string> id) { selectionPropertyId_ = std::move(id); }

    std::string className() const override { return "CustomActionSheet"; }

private:
    std::optional<std::string> selectionPropertyId_;
};

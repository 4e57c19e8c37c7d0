// What a table cell class gives so that a table can register it from its
// nib: the nib's name and the reuse identifier, both class-wide. A class
// qualifies by declaring
//     static std::string cellNibName();
//     static std::string cellIdentifier();
// and travels to Utils::registerCellNibs as the small value of(), so a list
// of cell classes is a plain vector.
#pragma once

#include <concepts>
#include <string>

template <class Cell>
concept RegistrableCellClass = requires {
    { Cell::cellNibName() } -> std::convertible_to<std::string>;
    { Cell::cellIdentifier() } -> std::convertible_to<std::string>;
};

struct QVARegistrableCell {
    std::string cellNibName;
    std::string cellIdentifier;

    template <RegistrableCellClass Cell>
    static QVARegistrableCell of() {
        return {Cell::cellNibName(), Cell::cellIdentifier()};
    }
};

// The interface files of the shared list cells, in the nib registry under
// each cell class's name: MultilineLabelCell, OneRowTitleCell,
// QVASubtitleStyleTableViewCell, DetailTableHeaderViewCell, ButtonCell,
// TextViewEditCell and TextFieldCell. Each file holds one cell laid out for
// a 320-point row, its parts resizing with the row's width; the outlets are
// set on the cell and named for the screen dump. Registration is idempotent
// (naming the registrable cell's nib registers them too). Main thread only.
#pragma once

#include <string>
#include <vector>

class ListCellNibs {
public:
    static std::vector<std::string> nibNames();
    static void registerNibs();
};

// The cells of the tables built from SettingsCellDataModel rows (the
// settings and the privacy screens), made new for every request: the value-1
// style only with a detail, a title of 17 points on two lines past the
// idiom's one-line limit (22 UTF-16 units on the phone, 40 on the pad), a
// detail of 14 points, a switch accessory sending the row's switch operation
// to the screen on touch-up-inside, a disclosure indicator for navigation
// rows, a centred title for action rows, and the disabled look (no selection
// style, a disabled title) for a row that is not enabled. A tap deselects
// the row and runs its action on the screen with no argument. Main thread
// only.
#pragma once

#include <cstddef>
#include <memory>

#include "foundation/Object.h"
#include "uikit/UITableViewCell.h"

class SettingsCellDataModel;

namespace uikit {
class UITableView;
struct NSIndexPath;
}  // namespace uikit

class SettingsCellFactory {
public:
    static constexpr const char* kCellIdentifier = "Non_reusable_cell_identifier";
    static constexpr double kTitleFontSize = 17;
    static constexpr double kDetailFontSize = 14;
    static constexpr size_t kOneLineLimitPhone = 22;
    static constexpr size_t kOneLineLimitPad = 40;

    // The row's cell; the switch holds the screen weakly.
    static uikit::UITableViewCellPtr cellForRow(const SettingsCellDataModel& row,
                                                const std::shared_ptr<foundation::Object>& screen);
    // A tap on the row's cell.
    static void didSelectRow(uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath,
                             const SettingsCellDataModel& row, const std::shared_ptr<foundation::Object>& screen);
};

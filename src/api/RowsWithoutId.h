// A list's rows that lack a usable service id (ModelReading::idOf; a
// message's integer ids, ModelReading::int32IdOf; an agenda entry's
// session's too) are left out
// wherever list rows reach the store: the full download, the delta's
// fetches and its whole reloads. Such a row could be neither listed nor
// removed by the delta, nor named in a path, and leaving it out on every
// way keeps the same answers giving the same stored rows.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "store/StorageManager.h"

namespace RowsWithoutId {

// Removes the models that lack a usable id (IEntityModel::hasUsableIds);
// returns how many.
size_t drop(StorageManager::Items& items);
// One line for a list, however many of its rows went; none when none did.
void log(size_t dropped, const std::optional<std::string>& listName);

}  // namespace RowsWithoutId

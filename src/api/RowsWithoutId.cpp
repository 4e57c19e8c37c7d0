#include "api/RowsWithoutId.h"

#include <algorithm>

#include "foundation/Log.h"
#include "foundation/Value.h"
#include "model/IEntityModel.h"

namespace RowsWithoutId {

size_t drop(StorageManager::Items& items) {
    const auto kept = std::remove_if(items.begin(), items.end(), [](const foundation::ObjectPtr& object) {
        auto model = std::dynamic_pointer_cast<const IEntityModel>(object);
        return model && !model->hasUsableIds();
    });
    const auto dropped = size_t(items.end() - kept);
    items.erase(kept, items.end());
    return dropped;
}

void log(size_t dropped, const std::optional<std::string>& listName) {
    if (dropped == 0) return;
    foundation::Log("%lu rows of %@ have no usable id and were not stored", static_cast<unsigned long>(dropped),
                    foundation::Value(listName));
}

}  // namespace RowsWithoutId

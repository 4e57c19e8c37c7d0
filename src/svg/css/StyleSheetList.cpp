// StyleSheetList: the index check.
#include "svg/css/StyleSheetList.h"

#include "foundation/Exception.h"

namespace svg {

const foundation::ObjectPtr& StyleSheetList::item(size_t index) const {
    if (index >= internalArray_.size()) {
        foundation::raise(foundation::kRangeException, "StyleSheetList item: index beyond bounds");
    }
    return internalArray_[index];
}

}  // namespace svg

// CSSValueList: the split at spaces.
#include "svg/css/CSSValueList.h"

#include "foundation/Exception.h"
#include "foundation/Log.h"
#include "foundation/StringUtils.h"

namespace svg {

void CSSValueList::setCssText(const std::string& text) {
    CSSValue::setCssText(text);
    foundation::Log("[%@] received new CSS Text, need to split this and save as CSSValue instances: %@", className(),
                    text);
    internalArray_ = foundation::StringUtils::split(text, " ");
}

const std::string& CSSValueList::item(size_t index) const {
    if (index >= internalArray_.size()) {
        foundation::raise(foundation::kRangeException, "CSSValueList item: index beyond bounds");
    }
    return internalArray_[index];
}

}  // namespace svg

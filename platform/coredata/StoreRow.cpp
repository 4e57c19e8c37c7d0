// A row seen through key-value access, for predicates evaluated on rows that
// have no managed object.
#include "coredata/StoreRow.h"

#include "coredata/KeyValueCoding.h"

namespace coredata::detail {

class RowObject : public foundation::Object, public KeyValueCoding {
public:
    explicit RowObject(const StoreRow& row) : row_(row) {}
    foundation::Value valueForKey(const std::string& key) const override {
        auto index = row_.entity->attributeIndex(key);
        if (!index || !row_.values || *index >= row_.values->size()) return foundation::Value();
        return (*row_.values)[*index];
    }

private:
    StoreRow row_;
};

foundation::Value rowAsValue(const StoreRow& row) { return foundation::Value(std::make_shared<RowObject>(row)); }

}  // namespace coredata::detail

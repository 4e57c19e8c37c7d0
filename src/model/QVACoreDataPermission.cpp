// Attribute accessors of QVACoreDataPermission rows.
#include "model/QVACoreDataPermission.h"

#include "model/ModelReading.h"

using foundation::Value;

std::optional<std::string> QVACoreDataPermission::code() const { return stringForKey("code"); }
void QVACoreDataPermission::setCode(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "code");
}
bool QVACoreDataPermission::granted() const { return boolForKey("granted"); }
void QVACoreDataPermission::setGranted(bool value) { setValue(Value(value), "granted"); }

#include "location/CLRegion.h"

namespace location {

std::string CLRegion::description() const { return className() + " " + identifier_.value_or("(no identifier)"); }

}  // namespace location

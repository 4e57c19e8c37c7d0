// New events.
#include "eventkit/EKEvent.h"

namespace eventkit {

std::shared_ptr<EKEvent> EKEvent::eventWithEventStore(const std::shared_ptr<EKEventStore>&) {
    return std::make_shared<EKEvent>();
}

}  // namespace eventkit

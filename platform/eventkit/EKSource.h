// An account that holds calendars: the device itself, an Exchange server or
// a CalDAV server. Sources belong to the event store that lists them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "eventkit/EventKitTypes.h"
#include "foundation/Object.h"

namespace eventkit {

class EKCalendar;
class EKEventStore;

class EKSource : public foundation::Object {
public:
    EKSource(std::string sourceIdentifier, std::string title, EKSourceType sourceType,
             std::weak_ptr<const EKEventStore> store)
        : sourceIdentifier_(std::move(sourceIdentifier)), title_(std::move(title)), sourceType_(sourceType),
          store_(std::move(store)) {}

    const std::string& sourceIdentifier() const { return sourceIdentifier_; }
    const std::string& title() const { return title_; }
    EKSourceType sourceType() const { return sourceType_; }
    // This source's calendars of that kind in its store (none for reminders,
    // or once the store is gone).
    std::vector<std::shared_ptr<EKCalendar>> calendarsForEntityType(EKEntityType type) const;

    std::string className() const override { return "EKSource"; }

private:
    std::string sourceIdentifier_;
    std::string title_;
    EKSourceType sourceType_;
    std::weak_ptr<const EKEventStore> store_;
};

using EKSourcePtr = std::shared_ptr<EKSource>;

}  // namespace eventkit

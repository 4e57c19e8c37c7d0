// One calendar of a source. The device decides its kind and whether the
// application may write into it; the application only reads these.
#pragma once

#include <memory>
#include <string>

#include "eventkit/EKSource.h"
#include "eventkit/EventKitTypes.h"
#include "foundation/Object.h"

namespace eventkit {

class EKCalendar : public foundation::Object {
public:
    EKCalendar(std::string calendarIdentifier, std::string title, EKCalendarType type,
               bool allowsContentModifications, EKSourcePtr source)
        : calendarIdentifier_(std::move(calendarIdentifier)), title_(std::move(title)), type_(type),
          allowsContentModifications_(allowsContentModifications), source_(std::move(source)) {}

    const std::string& calendarIdentifier() const { return calendarIdentifier_; }
    const std::string& title() const { return title_; }
    EKCalendarType type() const { return type_; }
    bool allowsContentModifications() const { return allowsContentModifications_; }
    const EKSourcePtr& source() const { return source_; }

    std::string className() const override { return "EKCalendar"; }

private:
    std::string calendarIdentifier_;
    std::string title_;
    EKCalendarType type_;
    bool allowsContentModifications_;
    EKSourcePtr source_;
};

using EKCalendarPtr = std::shared_ptr<EKCalendar>;

}  // namespace eventkit

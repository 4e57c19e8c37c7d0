// One calendar account and those of its calendars the agenda may be written
// into, as the calendar picker lists them.
#pragma once

#include <memory>
#include <vector>

#include "eventkit/EKCalendar.h"
#include "eventkit/EKSource.h"

class SourceCalendars {
public:
    SourceCalendars(eventkit::EKSourcePtr source, std::vector<eventkit::EKCalendarPtr> calendars)
        : source_(std::move(source)), supportedCalendars_(std::move(calendars)) {}
    static std::shared_ptr<SourceCalendars> initWithSource(eventkit::EKSourcePtr source,
                                                           std::vector<eventkit::EKCalendarPtr> calendars) {
        return std::make_shared<SourceCalendars>(std::move(source), std::move(calendars));
    }

    const eventkit::EKSourcePtr& source() const { return source_; }
    void setSource(eventkit::EKSourcePtr source) { source_ = std::move(source); }
    const std::vector<eventkit::EKCalendarPtr>& supportedCalendars() const { return supportedCalendars_; }
    void setSupportedCalendars(std::vector<eventkit::EKCalendarPtr> calendars) {
        supportedCalendars_ = std::move(calendars);
    }

private:
    eventkit::EKSourcePtr source_;
    std::vector<eventkit::EKCalendarPtr> supportedCalendars_;
};

using SourceCalendarsPtr = std::shared_ptr<SourceCalendars>;

// One calendar event as the application edits it. An event object is the
// caller's copy: changing it changes nothing in the store until it is saved,
// and each look-up hands out new copies. The store gives the identifier on
// the first save.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "eventkit/EKAlarm.h"
#include "eventkit/EKCalendar.h"
#include "foundation/Date.h"
#include "foundation/Object.h"

namespace eventkit {

class EKEventStore;

class EKEvent : public foundation::Object {
public:
    using Text = std::optional<std::string>;

    // A new event, not yet in the store.
    static std::shared_ptr<EKEvent> eventWithEventStore(const std::shared_ptr<EKEventStore>& store);
    EKEvent() = default;

    // None until saved.
    const Text& eventIdentifier() const { return eventIdentifier_; }
    const Text& title() const { return title_; }
    void setTitle(Text v) { title_ = std::move(v); }
    const std::optional<foundation::Date>& startDate() const { return startDate_; }
    void setStartDate(std::optional<foundation::Date> v) { startDate_ = v; }
    const std::optional<foundation::Date>& endDate() const { return endDate_; }
    void setEndDate(std::optional<foundation::Date> v) { endDate_ = v; }
    const EKCalendarPtr& calendar() const { return calendar_; }
    void setCalendar(EKCalendarPtr v) { calendar_ = std::move(v); }
    const Text& location() const { return location_; }
    void setLocation(Text v) { location_ = std::move(v); }
    const Text& notes() const { return notes_; }
    void setNotes(Text v) { notes_ = std::move(v); }
    // Empty for none.
    const std::vector<EKAlarmPtr>& alarms() const { return alarms_; }
    void setAlarms(std::vector<EKAlarmPtr> v) { alarms_ = std::move(v); }
    void addAlarm(EKAlarmPtr alarm) {
        if (alarm) alarms_.push_back(std::move(alarm));
    }

    std::string className() const override { return "EKEvent"; }

private:
    friend class EKEventStore;
    Text eventIdentifier_;
    Text title_;
    std::optional<foundation::Date> startDate_, endDate_;
    EKCalendarPtr calendar_;
    Text location_, notes_;
    std::vector<EKAlarmPtr> alarms_;
};

using EKEventPtr = std::shared_ptr<EKEvent>;

}  // namespace eventkit

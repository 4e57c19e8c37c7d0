// The row of anything with a time span: the root of sessions and agenda
// items. Nothing writes a row of this entity itself.
#pragma once

#include <optional>
#include <string>

#include "coredata/ManagedObject.h"

class QVACoreDataTimelineItem : public coredata::ManagedObject {
public:
    static constexpr const char* kEntityName = "QVACoreDataTimelineItem";

    std::optional<std::string> displayTime() const;
    void setDisplayTime(const std::optional<std::string>& value);
    std::optional<std::string> endDatetime() const;
    void setEndDatetime(const std::optional<std::string>& value);
    std::optional<std::string> keyword() const;
    void setKeyword(const std::optional<std::string>& value);
    std::optional<std::string> sectionTitle() const;
    void setSectionTitle(const std::optional<std::string>& value);
    std::optional<std::string> startDateString() const;
    void setStartDateString(const std::optional<std::string>& value);
    std::optional<std::string> startDatetime() const;
    void setStartDatetime(const std::optional<std::string>& value);
    std::optional<std::string> title() const;
    void setTitle(const std::optional<std::string>& value);
};

// Attribute accessors of QVACoreDataTimelineItem rows.
#include "model/QVACoreDataTimelineItem.h"

#include "model/ModelReading.h"

std::optional<std::string> QVACoreDataTimelineItem::displayTime() const { return stringForKey("displayTime"); }
void QVACoreDataTimelineItem::setDisplayTime(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "displayTime");
}
std::optional<std::string> QVACoreDataTimelineItem::endDatetime() const { return stringForKey("endDatetime"); }
void QVACoreDataTimelineItem::setEndDatetime(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "endDatetime");
}
std::optional<std::string> QVACoreDataTimelineItem::keyword() const { return stringForKey("keyword"); }
void QVACoreDataTimelineItem::setKeyword(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "keyword");
}
std::optional<std::string> QVACoreDataTimelineItem::sectionTitle() const { return stringForKey("sectionTitle"); }
void QVACoreDataTimelineItem::setSectionTitle(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "sectionTitle");
}
std::optional<std::string> QVACoreDataTimelineItem::startDateString() const { return stringForKey("startDateString"); }
void QVACoreDataTimelineItem::setStartDateString(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "startDateString");
}
std::optional<std::string> QVACoreDataTimelineItem::startDatetime() const { return stringForKey("startDatetime"); }
void QVACoreDataTimelineItem::setStartDatetime(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "startDatetime");
}
std::optional<std::string> QVACoreDataTimelineItem::title() const { return stringForKey("title"); }
void QVACoreDataTimelineItem::setTitle(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "title");
}

// An item with a time span: the common part of sessions and agenda entries.
// Date-times stay the service's text ("2015-01-21T09:30:00+01:00").
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "model/QVABaseItemModel.h"

namespace coredata {
class ManagedObject;
}

class QVATimelineItemModel : public QVABaseItemModel {
public:
    static constexpr const char* kClassName = "QVATimelineItemModel";

    QVATimelineItemModel() = default;
    static std::shared_ptr<QVATimelineItemModel> initWithDictionary(const foundation::Value& dictionary);
    static std::shared_ptr<QVATimelineItemModel> initWithCoreDataDictionary(const foundation::Value& row);
    // A stored row of a timeline entity, read through its attributes.
    static std::shared_ptr<QVATimelineItemModel> initWithCoreDataObject(const coredata::ManagedObject& storedObject);

    // The JSON keys, which rows share.
    const char* titleKey() const { return "title"; }
    const char* startDatetimeKey() const { return "startDatetime"; }
    const char* endDatetimeKey() const { return "endDatetime"; }
    const char* keywordKey() const { return "keyword"; }

    const std::optional<std::string>& title() const { return title_; }
    void setTitle(std::optional<std::string> title) { title_ = std::move(title); }
    const std::optional<std::string>& startDatetime() const { return startDatetime_; }
    const std::optional<std::string>& endDatetime() const { return endDatetime_; }
    const std::optional<std::string>& keyword() const { return keyword_; }
    void setKeyword(std::optional<std::string> keyword) { keyword_ = std::move(keyword); }

    std::string className() const override { return kClassName; }
    foundation::Value valueForKey(const std::string& key) const override;

protected:
    void readDictionary(const ModelReading::FieldReader& json) override;
    void readRow(const ModelReading::FieldReader& row) override;

private:
    void readTimeline(const ModelReading::FieldReader& fields);

    std::optional<std::string> title_;
    std::optional<std::string> startDatetime_;
    std::optional<std::string> endDatetime_;
    std::optional<std::string> keyword_;
};

// One notification of the meeting to the user, as the home screen lists them.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "model/QVABaseItemModel.h"

class QVANotification : public QVABaseItemModel {
public:
    static constexpr const char* kClassName = "QVANotification";

    QVANotification() = default;
    static std::shared_ptr<QVANotification> initWithDictionary(const foundation::Value& dictionary);
    static std::shared_ptr<QVANotification> initWithCoreDataDictionary(const foundation::Value& row);

    const std::optional<std::string>& message() const { return message_; }
    bool acknowledged() const { return acknowledged_; }
    // The service's date-time text.
    const std::optional<std::string>& creation_date() const { return creation_date_; }

    std::string className() const override { return kClassName; }

protected:
    void readDictionary(const ModelReading::FieldReader& json) override;
    void readRow(const ModelReading::FieldReader& row) override;

private:
    void readOwnFields(const ModelReading::FieldReader& fields);

    std::optional<std::string> message_;
    bool acknowledged_ = false;
    std::optional<std::string> creation_date_;
};

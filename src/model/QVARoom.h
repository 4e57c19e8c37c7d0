// One room of a venue, where sessions take place (a session names it by
// roomId, the room its venue by venueId).
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "model/QVABaseItemModel.h"

class QVARoom : public QVABaseItemModel {
public:
    static constexpr const char* kClassName = "QVARoom";

    QVARoom() = default;
    static std::shared_ptr<QVARoom> initWithDictionary(const foundation::Value& dictionary);
    static std::shared_ptr<QVARoom> initWithCoreDataDictionary(const foundation::Value& row);

    const std::optional<std::string>& name() const { return name_; }
    const std::optional<std::string>& venueId() const { return venueId_; }
    const std::optional<std::string>& mapUrl() const { return mapUrl_; }

    std::string className() const override { return kClassName; }
    // "name", "venueId" and "mapUrl" besides the base's keys: locations are
    // looked up by key over arrays of rooms.
    foundation::Value valueForKey(const std::string& key) const override;

protected:
    void readDictionary(const ModelReading::FieldReader& json) override;
    void readRow(const ModelReading::FieldReader& row) override;

private:
    void readOwnFields(const ModelReading::FieldReader& fields);

    std::optional<std::string> name_;
    std::optional<std::string> venueId_;
    std::optional<std::string> mapUrl_;
};

// One site of a meeting, with its floor levels (kept in the venue row as a
// keyed archive of QVAFloorLevel objects).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/QVABaseItemModel.h"
#include "model/QVAFloorLevel.h"

class QVAVenue : public QVABaseItemModel {
public:
    static constexpr const char* kClassName = "QVAVenue";

    QVAVenue() = default;
    static std::shared_ptr<QVAVenue> initWithDictionary(const foundation::Value& dictionary);
    static std::shared_ptr<QVAVenue> initWithCoreDataDictionary(const foundation::Value& row);

    const std::optional<std::string>& name() const { return name_; }
    double latitude() const { return latitude_; }
    double longitude() const { return longitude_; }
    // The meeting's main venue.
    bool primary() const { return primary_; }
    // Empty when the venue has none (never an empty list the service sent).
    const std::vector<std::shared_ptr<QVAFloorLevel>>& floorLevels() const { return floorLevels_; }

    std::string className() const override { return kClassName; }
    // "name" and "primary" besides the base's keys: locations are looked up
    // by key over arrays of venues.
    foundation::Value valueForKey(const std::string& key) const override;

protected:
    void readDictionary(const ModelReading::FieldReader& json) override;
    void readRow(const ModelReading::FieldReader& row) override;

private:
    std::optional<std::string> name_;
    double latitude_ = 0.0;
    double longitude_ = 0.0;
    bool primary_ = false;
    std::vector<std::shared_ptr<QVAFloorLevel>> floorLevels_;
};

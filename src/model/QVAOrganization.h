// One organisation of the meeting. Its list section is computed when the row
// is written, not here.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/QVABaseItemModel.h"

class QVAOrganization : public QVABaseItemModel {
public:
    static constexpr const char* kClassName = "QVAOrganization";
    using Text = std::optional<std::string>;

    QVAOrganization() = default;
    static std::shared_ptr<QVAOrganization> initWithDictionary(const foundation::Value& dictionary);

    const Text& address() const { return address_; }
    const Text& city() const { return city_; }
    const Text& country() const { return country_; }
    const Text& email() const { return email_; }
    const Text& website() const { return website_; }
    const Text& logo() const { return logo_; }
    const Text& name() const { return name_; }
    const Text& commonName() const { return commonName_; }
    const Text& zipCode() const { return zipCode_; }
    const Text& profile() const { return profile_; }
    const Text& sector() const { return sector_; }
    const Text& phone() const { return phone_; }
    const Text& topLevelOrganizationId() const { return topLevelOrganizationId_; }
    const Text& organizationType() const { return organizationType_; }
    const Text& poBox() const { return poBox_; }

    std::string className() const override { return kClassName; }
    foundation::Value valueForKey(const std::string& key) const override;

protected:
    void readDictionary(const ModelReading::FieldReader& json) override;

private:
    // The fields by their JSON key (also their row key), in reading order.
    // Each is read by its kind's reader: a reference to another object as a
    // service id (FieldReader::id), the rest as text.
    struct TextField {
        const char* key;
        Text QVAOrganization::*field;
        Text (ModelReading::FieldReader::*read)(std::string_view) const;
    };
    static const std::vector<TextField>& textFields();

    Text address_, city_, country_, email_, website_, logo_, name_, commonName_, zipCode_, profile_, sector_, phone_,
        topLevelOrganizationId_, organizationType_, poBox_;
};

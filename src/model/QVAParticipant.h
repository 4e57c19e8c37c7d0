// One participant of the meeting. Three nested structures of the service are
// flattened into fields the store can filter on: the participant's roles in
// sessions (contributions), network memberships (quovanaNetworks) and social
// accounts (archived in the row).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/QVABaseItemModel.h"
#include "model/QVASocialAccount.h"

class QVAParticipant : public QVABaseItemModel {
public:
    static constexpr const char* kClassName = "QVAParticipant";
    static constexpr const char* kCoreDataClass = "QVACoreDataParticipant";
    using Text = std::optional<std::string>;

    QVAParticipant() = default;
    static std::shared_ptr<QVAParticipant> initWithDictionary(const foundation::Value& dictionary);
    static std::shared_ptr<QVAParticipant> initWithCoreDataDictionary(const foundation::Value& row);

    const Text& firstName() const { return firstName_; }
    const Text& lastName() const { return lastName_; }
    const Text& fullName() const { return fullName_; }
    const Text& email() const { return email_; }
    const Text& mobilePhone() const { return mobilePhone_; }
    const Text& phone() const { return phone_; }
    const Text& profile() const { return profile_; }
    const Text& countryOfNationality() const { return countryOfNationality_; }
    const Text& organizationId() const { return organizationId_; }
    const Text& organizationName() const { return organizationName_; }
    const Text& positionTitle() const { return positionTitle_; }
    const Text& photoUrl() const { return photoUrl_; }
    const Text& topLevelOrganizationId() const { return topLevelOrganizationId_; }
    const Text& thumbnailUrl() const { return thumbnailUrl_; }
    const Text& organizationType() const { return organizationType_; }
    bool inBooklet() const { return inBooklet_; }
    bool publicFigure() const { return publicFigure_; }
    // "sessionId|type" entries joined by ";"; nil when there are none.
    const Text& contributions() const { return contributions_; }
    // "|1|network|2|community|3|" segments; nil without memberships, "" when
    // none of them was complete.
    const Text& quovanaNetworks() const { return quovanaNetworks_; }
    // Empty when the participant has none.
    const std::vector<std::shared_ptr<QVASocialAccount>>& socialAccounts() const { return socialAccounts_; }

    std::string className() const override { return kClassName; }
    std::optional<std::string> coreDataClass() const override { return kCoreDataClass; }
    foundation::Value valueForKey(const std::string& key) const override;

protected:
    void readDictionary(const ModelReading::FieldReader& json) override;
    void readRow(const ModelReading::FieldReader& row) override;

private:
    // The text fields by their JSON key, which is also their row key.
    // Each is read by its kind's reader: a reference to another object as a
    // service id (FieldReader::id), the rest as text.
    struct TextField {
        const char* key;
        Text QVAParticipant::*field;
        Text (ModelReading::FieldReader::*read)(std::string_view) const;
    };
    static const std::vector<TextField>& textFields();

    void readPlainFields(const ModelReading::FieldReader& fields);
    void readContributions(const foundation::Value& contributions);
    void readNetworks(const foundation::Value& networks);
    void readSocialAccounts(const foundation::Value& accounts);

    Text firstName_, lastName_, fullName_, email_, mobilePhone_, phone_, profile_, countryOfNationality_,
        organizationId_, organizationName_, positionTitle_, photoUrl_, topLevelOrganizationId_, thumbnailUrl_,
        organizationType_;
    bool inBooklet_ = false;
    bool publicFigure_ = false;
    Text contributions_;
    Text quovanaNetworks_;
    std::vector<std::shared_ptr<QVASocialAccount>> socialAccounts_;
};

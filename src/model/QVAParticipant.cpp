// Participants: reading the service's JSON and stored rows, and flattening
// contributions, network memberships and social accounts.
#include "model/QVAParticipant.h"

#include "model/ItemModelBuilder.h"

using foundation::Value;
using ModelReading::FieldReader;
using ModelReading::valueOf;

std::shared_ptr<QVAParticipant> QVAParticipant::initWithDictionary(const Value& dictionary) {
    return ItemModelBuilder<QVAParticipant>::fromDictionary(dictionary);
}

std::shared_ptr<QVAParticipant> QVAParticipant::initWithCoreDataDictionary(const Value& row) {
    return ItemModelBuilder<QVAParticipant>::fromCoreDataDictionary(row);
}

const std::vector<QVAParticipant::TextField>& QVAParticipant::textFields() {
    using ModelReading::FieldReader;
    constexpr auto text = &FieldReader::text;
    constexpr auto id = &FieldReader::id;
    static const std::vector<TextField> fields = {
        {"firstName", &QVAParticipant::firstName_, text},
        {"lastName", &QVAParticipant::lastName_, text},
        {"fullName", &QVAParticipant::fullName_, text},
        {"email", &QVAParticipant::email_, text},
        {"mobilePhone", &QVAParticipant::mobilePhone_, text},
        {"phone", &QVAParticipant::phone_, text},
        {"profile", &QVAParticipant::profile_, text},
        {"countryOfNationality", &QVAParticipant::countryOfNationality_, text},
        {"organizationId", &QVAParticipant::organizationId_, id},
        {"organizationName", &QVAParticipant::organizationName_, text},
        {"positionTitle", &QVAParticipant::positionTitle_, text},
        {"photoUrl", &QVAParticipant::photoUrl_, text},
        {"topLevelOrganizationId", &QVAParticipant::topLevelOrganizationId_, id},
        {"thumbnailUrl", &QVAParticipant::thumbnailUrl_, text},
        {"organizationType", &QVAParticipant::organizationType_, text},
    };
    return fields;
}

void QVAParticipant::readPlainFields(const FieldReader& fields) {
    for (const auto& [key, field, read] : textFields()) this->*field = (fields.*read)(key);
    inBooklet_ = fields.boolean("inBooklet");
    publicFigure_ = fields.boolean("publicFigure");
}

void QVAParticipant::readDictionary(const FieldReader& json) {
    QVABaseItemModel::readDictionary(json);
    readPlainFields(json);
    readContributions(json.array("contributions"));
    readNetworks(json.array("quovanaNetworks"));
    readSocialAccounts(json.dictionary("socialAccounts"));
}

// Rows keep the flattened texts as written; the social accounts are the
// row's keyed archive.
void QVAParticipant::readRow(const FieldReader& row) {
    QVABaseItemModel::readRow(row);
    readPlainFields(row);
    contributions_ = row.text("contributions");
    quovanaNetworks_ = row.text("quovanaNetworks");
    socialAccounts_ = row.archivedObjects<QVASocialAccount>("socialAccounts");
}

// Same layout as a session's contributors, with the session id in front.
// Elements that are not dictionaries are skipped; a missing id or type leaves
// its side of the "|" empty.
void QVAParticipant::readContributions(const Value& contributions) {
    contributions_.reset();
    const auto* elements = contributions.array();
    if (!elements) return;
    for (const auto& element : *elements) {
        if (!element.isDictionary()) continue;
        FieldReader contribution(element);
        std::string entry = ModelReading::entryIdOf(contribution.value("sessionId")) + "|" +
                            ModelReading::entryTextOf(contribution.value("type"));
        contributions_ = contributions_ ? *contributions_ + ";" + entry : entry;
    }
}

// The participant filters match "|1|network|2|community|3|" and
// "|2|community|3|" inside this text, so a membership is written only when
// both its parts are non-empty texts.
void QVAParticipant::readNetworks(const Value& networks) {
    quovanaNetworks_.reset();
    const auto* elements = networks.array();
    if (!elements || elements->empty()) return;
    std::string text;
    for (const auto& element : *elements) {
        FieldReader membership(element);
        Value networkValue = membership.value("network");
        Value communityValue = membership.value("quovanaCommunity");
        const std::string* network = networkValue.string();
        const std::string* community = communityValue.string();
        if (!network || network->empty() || !community || community->empty()) continue;
        text += "|1|" + *network + "|2|" + *community + "|3|";
    }
    quovanaNetworks_ = std::move(text);
}

void QVAParticipant::readSocialAccounts(const Value& accounts) {
    socialAccounts_.clear();
    const auto* entries = accounts.dictionary();
    if (!entries) return;
    for (const auto& [network, account] : *entries) {
        if (const auto* text = account.string()) {
            socialAccounts_.push_back(QVASocialAccount::initWithNetworkName(network, *text));
        }
    }
}

Value QVAParticipant::valueForKey(const std::string& key) const {
    for (const auto& [name, field, read] : textFields()) {
        if (key == name) return valueOf(this->*field);
    }
    if (key == "inBooklet") return inBooklet_;
    if (key == "publicFigure") return publicFigure_;
    if (key == "contributions") return valueOf(contributions_);
    if (key == "quovanaNetworks") return valueOf(quovanaNetworks_);
    return QVABaseItemModel::valueForKey(key);
}

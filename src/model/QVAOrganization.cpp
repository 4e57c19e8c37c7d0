// Organisations.
#include "model/QVAOrganization.h"

#include "model/ItemModelBuilder.h"

using foundation::Value;

std::shared_ptr<QVAOrganization> QVAOrganization::initWithDictionary(const Value& dictionary) {
    return ItemModelBuilder<QVAOrganization>::fromDictionary(dictionary);
}

const std::vector<std::pair<const char*, QVAOrganization::TextField>>& QVAOrganization::textFields() {
    static const std::vector<std::pair<const char*, TextField>> fields = {
        {"address", &QVAOrganization::address_},
        {"city", &QVAOrganization::city_},
        {"country", &QVAOrganization::country_},
        {"email", &QVAOrganization::email_},
        {"website", &QVAOrganization::website_},
        {"logo", &QVAOrganization::logo_},
        {"name", &QVAOrganization::name_},
        {"commonName", &QVAOrganization::commonName_},
        {"zipCode", &QVAOrganization::zipCode_},
        {"profile", &QVAOrganization::profile_},
        {"sector", &QVAOrganization::sector_},
        {"phone", &QVAOrganization::phone_},
        {"topLevelOrganizationId", &QVAOrganization::topLevelOrganizationId_},
        {"organizationType", &QVAOrganization::organizationType_},
        {"poBox", &QVAOrganization::poBox_},
    };
    return fields;
}

void QVAOrganization::readDictionary(const ModelReading::FieldReader& json) {
    QVABaseItemModel::readDictionary(json);
    for (const auto& [key, field] : textFields()) this->*field = json.text(key);
}

Value QVAOrganization::valueForKey(const std::string& key) const {
    for (const auto& [name, field] : textFields()) {
        if (key == name) return ModelReading::valueOf(this->*field);
    }
    return QVABaseItemModel::valueForKey(key);
}

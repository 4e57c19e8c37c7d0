// Organisations.
#include "model/QVAOrganization.h"

#include "model/ItemModelBuilder.h"

using foundation::Value;

std::shared_ptr<QVAOrganization> QVAOrganization::initWithDictionary(const Value& dictionary) {
    return ItemModelBuilder<QVAOrganization>::fromDictionary(dictionary);
}

const std::vector<QVAOrganization::TextField>& QVAOrganization::textFields() {
    using ModelReading::FieldReader;
    constexpr auto text = &FieldReader::text;
    constexpr auto id = &FieldReader::id;
    static const std::vector<TextField> fields = {
        {"address", &QVAOrganization::address_, text},
        {"city", &QVAOrganization::city_, text},
        {"country", &QVAOrganization::country_, text},
        {"email", &QVAOrganization::email_, text},
        {"website", &QVAOrganization::website_, text},
        {"logo", &QVAOrganization::logo_, text},
        {"name", &QVAOrganization::name_, text},
        {"commonName", &QVAOrganization::commonName_, text},
        {"zipCode", &QVAOrganization::zipCode_, text},
        {"profile", &QVAOrganization::profile_, text},
        {"sector", &QVAOrganization::sector_, text},
        {"phone", &QVAOrganization::phone_, text},
        {"topLevelOrganizationId", &QVAOrganization::topLevelOrganizationId_, id},
        {"organizationType", &QVAOrganization::organizationType_, text},
        {"poBox", &QVAOrganization::poBox_, text},
    };
    return fields;
}

void QVAOrganization::readDictionary(const ModelReading::FieldReader& json) {
    QVABaseItemModel::readDictionary(json);
    for (const auto& [key, field, read] : textFields()) this->*field = (json.*read)(key);
}

Value QVAOrganization::valueForKey(const std::string& key) const {
    for (const auto& [name, field, read] : textFields()) {
        if (key == name) return ModelReading::valueOf(this->*field);
    }
    return QVABaseItemModel::valueForKey(key);
}

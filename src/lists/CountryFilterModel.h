// The participants' country of nationality.
#pragma once

#include "lists/PropertyFilterModel.h"

class CountryFilterModel : public PropertyFilterModel {
public:
    std::string displayName() const override { return "Country"; }
    std::string defaultValue() const override { return "Any"; }
    EntityClassPtr requestClass() const override;
    std::string propertyName() const override { return "countryOfNationality"; }
    bool isSearchable() const override { return true; }

    std::string className() const override { return "CountryFilterModel"; }

protected:
    std::shared_ptr<FilterModel> makeInstance() const override;
};

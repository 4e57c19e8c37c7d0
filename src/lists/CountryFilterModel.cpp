#include "lists/CountryFilterModel.h"

#include "model/QVACoreDataParticipant.h"

EntityClassPtr CountryFilterModel::requestClass() const { return EntityClass::of<QVACoreDataParticipant>(); }

std::shared_ptr<FilterModel> CountryFilterModel::makeInstance() const {
    return std::make_shared<CountryFilterModel>();
}

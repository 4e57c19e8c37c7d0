// Session occupancy.
#include "model/QVASessionOccupancy.h"

#include "model/ModelReading.h"

std::shared_ptr<QVASessionOccupancy> QVASessionOccupancy::initWithDictionary(const foundation::Value& dictionary) {
    ModelReading::FieldReader json(dictionary);
    auto model = std::make_shared<QVASessionOccupancy>();
    model->occupancyPercent_ = json.int32("occupancyPercent");
    model->remainingCapacity_ = json.int32("remainingCapacity");
    return model;
}

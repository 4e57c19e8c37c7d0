// Two-phase building of the id-carrying models: make an empty model of the
// class asked for, then let its reading run from the base class down, as
// chained initialisers would. Each class's static init… functions are one
// line over these. Internal to the model folder.
#pragma once

#include <memory>

#include "model/ModelReading.h"
#include "model/QVABaseItemModel.h"

template <class T>
struct ItemModelBuilder {
    static std::shared_ptr<T> fromDictionary(const foundation::Value& dictionary) {
        auto model = std::make_shared<T>();
        static_cast<QVABaseItemModel&>(*model).readDictionary(ModelReading::FieldReader(dictionary));
        return model;
    }
    static std::shared_ptr<T> fromFields(const foundation::JSONFields& fields) {
        auto model = std::make_shared<T>();
        static_cast<QVABaseItemModel&>(*model).readDictionary(ModelReading::FieldReader(fields));
        return model;
    }
    static std::shared_ptr<T> fromRow(const ModelReading::FieldReader& row) {
        auto model = std::make_shared<T>();
        static_cast<QVABaseItemModel&>(*model).readRow(row);
        return model;
    }
    static std::shared_ptr<T> fromCoreDataDictionary(const foundation::Value& row) {
        return fromRow(ModelReading::FieldReader(row));
    }
    static std::shared_ptr<T> fromCoder(const foundation::KeyedUnarchiver& coder) {
        auto model = std::make_shared<T>();
        static_cast<QVABaseItemModel&>(*model).decodeFields(coder);
        return model;
    }
};

// One section of the settings table: its header and its rows, fixed when made.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/SettingsCellDataModel.h"
#include "foundation/Object.h"

class SettingsSectionModel : public foundation::Object {
public:
    SettingsSectionModel(std::string name, std::vector<SettingsCellDataModelPtr> rows)
        : sectionName_(std::move(name)), cellsArray_(std::move(rows)) {}
    static std::shared_ptr<SettingsSectionModel> initWithName(std::string name,
                                                              std::vector<SettingsCellDataModelPtr> rows) {
        return std::make_shared<SettingsSectionModel>(std::move(name), std::move(rows));
    }

    const std::string& sectionName() const { return sectionName_; }
    const std::vector<SettingsCellDataModelPtr>& cellsArray() const { return cellsArray_; }

    std::string className() const override { return "SettingsSectionModel"; }

private:
    std::string sectionName_;
    std::vector<SettingsCellDataModelPtr> cellsArray_;
};

using SettingsSectionModelPtr = std::shared_ptr<SettingsSectionModel>;

// One entity taking part in a multi-entity list: what is fetched, which model
// class turns each stored row into a row object, the order of the list and
// of the search fetch, an extra condition of its own, and whether the
// entity's sub-entities are left out. A plain value holder.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "coredata/Predicate.h"
#include "coredata/SortDescriptor.h"
#include "foundation/Object.h"

struct ModelClass;

class ListSelectionModel : public foundation::Object {
public:
    using SortDescriptors = std::vector<coredata::SortDescriptor>;

    ListSelectionModel() = default;

    const std::string& coreDataEntityName() const { return coreDataEntityName_; }
    void setCoreDataEntityName(std::string name) { coreDataEntityName_ = std::move(name); }
    // Its initWithCoreDataDictionary makes the row object of one result row.
    const std::shared_ptr<const ModelClass>& modelEntityClass() const { return modelEntityClass_; }
    void setModelEntityClass(std::shared_ptr<const ModelClass> cls) { modelEntityClass_ = std::move(cls); }
    const SortDescriptors& coreDataSortDescriptors() const { return coreDataSortDescriptors_; }
    void setCoreDataSortDescriptors(SortDescriptors descriptors) { coreDataSortDescriptors_ = std::move(descriptors); }
    const SortDescriptors& sortDescriptorsForSearch() const { return sortDescriptorsForSearch_; }
    void setSortDescriptorsForSearch(SortDescriptors descriptors) {
        sortDescriptorsForSearch_ = std::move(descriptors);
    }
    // ANDed into both fetches of this entity; none when null.
    const coredata::PredicatePtr& aditionalPredicateForSelection() const { return aditionalPredicateForSelection_; }
    void setAditionalPredicateForSelection(coredata::PredicatePtr predicate) {
        aditionalPredicateForSelection_ = std::move(predicate);
    }
    bool shouldFetchParentEntityOnly() const { return shouldFetchParentEntityOnly_; }
    void setShouldFetchParentEntityOnly(bool parentOnly) { shouldFetchParentEntityOnly_ = parentOnly; }

    std::string className() const override { return "ListSelectionModel"; }

private:
    std::string coreDataEntityName_;
    std::shared_ptr<const ModelClass> modelEntityClass_;
    SortDescriptors coreDataSortDescriptors_;
    SortDescriptors sortDescriptorsForSearch_;
    coredata::PredicatePtr aditionalPredicateForSelection_;
    bool shouldFetchParentEntityOnly_ = false;
};

using ListSelectionModelPtr = std::shared_ptr<ListSelectionModel>;

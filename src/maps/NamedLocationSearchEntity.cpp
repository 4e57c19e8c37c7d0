#include "maps/NamedLocationSearchEntity.h"

#include "app/BaseViewController.h"
#include "coredata/ManagedObject.h"
#include "maps/LocationDetailsViewController.h"

namespace {

constexpr const char* kNameKey = "name";

std::optional<std::string> textForKey(const coredata::ManagedObject& object, const std::string& key) {
    const foundation::Value value = object.valueForKey(key);
    if (const auto* text = value.string()) return *text;
    return std::nullopt;
}

}  // namespace

std::vector<coredata::SortDescriptor> NamedLocationSearchEntity::sortDescriptors() const {
    return {coredata::SortDescriptor(kNameKey, true, coredata::SortComparator::LocalizedStandardCompare)};
}

coredata::PredicatePtr NamedLocationSearchEntity::searchPredicateForSearchString(const std::string& searchString) const {
    return searchPredicateForSearchString(searchString, kNameKey);
}

void NamedLocationSearchEntity::configureCell(uikit::UITableViewCell& cell, uikit::UITableView&,
                                              const ViewControllerPtr&, const foundation::Value& object,
                                              const SearchAdditionalDataSources&) {
    if (auto place = object.objectAs<coredata::ManagedObject>()) setStandardCellTexts(cell, textForKey(*place, kNameKey), "");
}

void NamedLocationSearchEntity::navigateToDetailsFromController(const ViewControllerPtr& controller,
                                                                const foundation::Value& object,
                                                                const uikit::NSIndexPath& indexPath,
                                                                bool isSwipeEnabled) {
    auto place = object.objectAs<coredata::ManagedObject>();
    if (!place) return;
    pushDetailsScreen(controller, BaseViewController::instantiateViewController<LocationDetailsViewController>(),
                      textForKey(*place, "itemId"), entityName(), indexPath, isSwipeEnabled);
}

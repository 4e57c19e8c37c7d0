#include "lists/FilterModel.h"

#include "foundation/Exception.h"
#include "foundation/Format.h"

std::string FilterModel::displayName() const { raiseNotImplemented("displayName"); }

std::string FilterModel::defaultValue() const { raiseNotImplemented("defaultValue"); }

EntityClassPtr FilterModel::requestClass() const { raiseNotImplemented("requestClass"); }

foundation::Value FilterModel::selectedValue() const {
    if (selectedValue_.isNothing()) return foundation::Value(defaultValue());
    return selectedValue_;
}

void FilterModel::setSelectedValue(foundation::Value value) { selectedValue_ = std::move(value); }

foundation::Value::Array FilterModel::getPossibleValuesWithCoreDataStack(const StackPtr& stack) {
    (void)stack;
    raiseNotImplemented("getPossibleValues");
}

coredata::PredicatePtr FilterModel::filterPredicateWithCoreDataStack(const StackPtr& stack) {
    (void)stack;
    raiseNotImplemented("filterPredicateWithCoreDataStack");
}

std::shared_ptr<FilterModel> FilterModel::copy() const {
    auto copied = makeInstance();
    copied->selectedValue_ = selectedValue_;
    copyExtraStateTo(*copied);
    return copied;
}

std::shared_ptr<FilterModel> FilterModel::makeInstance() const { return std::make_shared<FilterModel>(); }

bool FilterModel::isUnset() const {
    const auto value = selectedValue();
    const auto* text = value.string();
    return text && *text == defaultValue();
}

void FilterModel::raiseNotImplemented(const std::string& member) const {
    foundation::raise(member + " not implemented in filter model class-> ",
                      foundation::Format("implement %@ for class %@", member, className()));
}

foundation::Value FilterModel::valueForKey(const std::string& key) const {
    if (key == "selectedValue") return selectedValue();
    if (key == "defaultValue") return foundation::Value(defaultValue());
    if (key == "displayName") return foundation::Value(displayName());
    return {};
}

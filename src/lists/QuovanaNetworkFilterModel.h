// The communities of one network of the participants' memberships
// ("|1|network|2|community|3|" entries in "quovanaNetworks"). A community
// matches only under this filter's own network.
#pragma once

#include <optional>
#include <string>

#include "lists/PropertyFilterModel.h"

class QuovanaNetworkFilterModel : public PropertyFilterModel {
public:
    const std::optional<std::string>& networkName() const { return networkName_; }
    void setNetworkName(std::optional<std::string> name) { networkName_ = std::move(name); }

    // The network's name.
    std::string displayName() const override { return networkName_.value_or(""); }
    std::string defaultValue() const override { return "Any"; }
    EntityClassPtr requestClass() const override;
    std::string propertyName() const override { return "quovanaNetworks"; }

    // "Any", then the network's communities of the current meeting, sorted,
    // trimmed, empty ones dropped (the stack given is the same store).
    foundation::Value::Array getPossibleValuesWithCoreDataStack(const StackPtr& stack) override;
    // "quovanaNetworks contains[cd]" the network-and-community entry.
    coredata::PredicatePtr filterPredicateWithCoreDataStack(const StackPtr& stack) override;

    std::string className() const override { return "QuovanaNetworkFilterModel"; }

protected:
    std::shared_ptr<FilterModel> makeInstance() const override;
    void copyExtraStateTo(FilterModel& copy) const override;

private:
    std::optional<std::string> networkName_;
};

#include "lists/QuovanaNetworkFilterModel.h"

#include "foundation/Format.h"
#include "lists/CommunityValues.h"
#include "lists/FilterFetching.h"
#include "model/QVACoreDataParticipant.h"
#include "store/CoreDataStack.h"
#include "store/FetchRequestUtils.h"

EntityClassPtr QuovanaNetworkFilterModel::requestClass() const { return EntityClass::of<QVACoreDataParticipant>(); }

foundation::Value::Array QuovanaNetworkFilterModel::getPossibleValuesWithCoreDataStack(const StackPtr& stack) {
    (void)stack;
    auto current = FilterFetching::currentStack();
    if (!current) return CommunityValues::offered(defaultValue(), {});
    return CommunityValues::offered(defaultValue(),
                                    FetchRequestUtils::getNetworkQuovanaCommunitiesFromSourcePropertyName(
                                        propertyName(), displayName(), current->managedObjectContextMainQueue()));
}

coredata::PredicatePtr QuovanaNetworkFilterModel::filterPredicateWithCoreDataStack(const StackPtr& stack) {
    (void)stack;
    if (isUnset()) return coredata::Predicate::truePredicate();
    const std::string entry = foundation::Format("%@%@%@%@%@", "|1|", displayName(), "|2|", selectedText(), "|3|");
    return coredata::Predicate::withFormat("%K contains[cd] %@", propertyName(), entry);
}

std::shared_ptr<FilterModel> QuovanaNetworkFilterModel::makeInstance() const {
    return std::make_shared<QuovanaNetworkFilterModel>();
}

void QuovanaNetworkFilterModel::copyExtraStateTo(FilterModel& copy) const {
    static_cast<QuovanaNetworkFilterModel&>(copy).networkName_ = networkName_;
}

#include "people/ParticipantSearchEntity.h"

#include "app/BaseViewController.h"
#include "model/QVACoreDataParticipant.h"
#include "people/ParticipantCell.h"
#include "people/ParticipantDetailsViewController.h"

std::string ParticipantSearchEntity::entityName() const { return QVACoreDataParticipant::kEntityName; }

std::vector<coredata::SortDescriptor> ParticipantSearchEntity::sortDescriptors() const {
    return {coredata::SortDescriptor("lastName", true, coredata::SortComparator::LocalizedStandardCompare)};
}

coredata::PredicatePtr ParticipantSearchEntity::searchPredicateForSearchString(const std::string& searchString) const {
    return coredata::Predicate::orPredicate({searchPredicateForSearchString(searchString, "fullName"),
                                             searchPredicateForSearchString(searchString, "organizationName")});
}

void ParticipantSearchEntity::configureCell(uikit::UITableViewCell& cell, uikit::UITableView&, const ViewControllerPtr&,
                                            const foundation::Value& object, const SearchAdditionalDataSources&) {
    auto* participantCell = dynamic_cast<ParticipantCell*>(&cell);
    auto participant = object.objectAs<QVACoreDataParticipant>();
    if (participantCell && participant) participantCell->configureWithCoreDataParticipant(*participant, false);
}

void ParticipantSearchEntity::navigateToDetailsFromController(const ViewControllerPtr& controller,
                                                              const foundation::Value& object,
                                                              const uikit::NSIndexPath& indexPath,
                                                              bool isSwipeEnabled) {
    auto participant = object.objectAs<QVACoreDataParticipant>();
    if (!participant) return;
    pushDetailsScreen(controller, BaseViewController::instantiateViewController<ParticipantDetailsViewController>(),
                      participant->itemId(), QVACoreDataParticipant::kEntityName, indexPath, isSwipeEnabled);
}

std::string ParticipantSearchEntity::nibName() const { return ParticipantCell::cellNibName(); }

std::string ParticipantSearchEntity::cellIdentifier() const { return ParticipantCell::cellIdentifier(); }

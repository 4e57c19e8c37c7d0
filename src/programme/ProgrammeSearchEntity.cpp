#include "programme/ProgrammeSearchEntity.h"

#include <set>

#include "Utils/StringUtility.h"
#include "app/BaseViewController.h"
#include "lists/FilterFetching.h"
#include "model/QVACoreDataParticipant.h"
#include "model/QVACoreDataSession.h"
#include "programme/ProgrammeDetailsViewController.h"

std::string ProgrammeSearchEntity::entityName() const { return QVACoreDataSession::kEntityName; }

coredata::PredicatePtr ProgrammeSearchEntity::searchPredicateForSearchString(const std::string& searchString) const {
    // The contributors are matched on the whole text, not word by word.
    auto contributors = coredata::Predicate::withFormat("contributions != nil AND fullName contains[cd] %@", searchString);
    auto rows = FilterFetching::fetchDictionaries(coreDataStack(), {.entityName = QVACoreDataParticipant::kEntityName,
                                                                    .predicate = contributors,
                                                                    .properties = {"contributions"},
                                                                    .distinct = true});
    std::set<std::string> sessionIds;
    for (const auto& contributions : FilterFetching::texts(rows, "contributions"))
        if (!StringUtility::isNilOrEmpty(std::string_view(contributions)))
            FilterFetching::addSessionIdsOfContributions(contributions, sessionIds);
    auto contributed = sessionIds.empty() ? coredata::Predicate::falsePredicate()
                                          : coredata::Predicate::withFormat("itemId IN %@", sessionIds);
    return coredata::Predicate::orPredicate({searchPredicateForSearchString(searchString, "title"), contributed});
}

void ProgrammeSearchEntity::navigateToDetailsFromController(const ViewControllerPtr& controller,
                                                            const foundation::Value& object,
                                                            const uikit::NSIndexPath& indexPath, bool isSwipeEnabled) {
    auto session = object.objectAs<QVACoreDataSession>();
    if (!session) return;
    pushDetailsScreen(controller, BaseViewController::instantiateViewController<ProgrammeDetailsViewController>(),
                      session->itemId(), QVACoreDataSession::kEntityName, indexPath, isSwipeEnabled);
}

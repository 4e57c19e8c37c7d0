#include "programme/AgendaSearchEntity.h"

#include "app/BaseViewController.h"
#include "lists/SearchAdditionalDataSources.h"
#include "model/QVAAgendaEntries.h"
#include "model/QVACoreDataAgendaInvitation.h"
#include "model/QVACoreDataAgendaRole.h"
#include "programme/ProgrammeDetailsViewController.h"
#include "programme/SubactivityCell.h"
#include "store/FetchRequestUtils.h"

std::string AgendaSearchEntity::entityName() const { return QVACoreDataAgendaRole::kEntityName; }

coredata::PredicatePtr AgendaSearchEntity::searchPredicateForSearchString(const std::string& searchString) const {
    return searchPredicateForSearchString(searchString, "title");
}

void AgendaSearchEntity::configureCell(uikit::UITableViewCell& cell, uikit::UITableView& tableView,
                                       const ViewControllerPtr& controller, const foundation::Value& object,
                                       const SearchAdditionalDataSources& additionalDataSources) {
    auto invitation = object.objectAs<QVACoreDataAgendaInvitation>();
    auto* sessionCell = dynamic_cast<SubactivityCell*>(&cell);
    if (!invitation || !invitation->isKindOfEntity(QVACoreDataAgendaInvitation::kEntityName) || !sessionCell) {
        SessionSearchEntity::configureCell(cell, tableView, controller, object, additionalDataSources);
        return;
    }
    const std::string itemId = invitation->itemId().value_or("");
    sessionCell->configureWithQVACoreDataAgendaInvitation(
        *invitation,
        QVAAgendaInvitation::buildInvitationStringFromStatus(invitation->status().value_or(""), invitation->withSpouse()),
        locationString(*invitation, additionalDataSources), displayTime(*invitation), false,
        FetchRequestUtils::subactivityIsAPrivateSessionWithId(itemId, additionalDataSources.officialIds),
        FetchRequestUtils::subactivityHasPersonalNotes(itemId, additionalDataSources.noteIds));
}

bool AgendaSearchEntity::showsInvitationLine(const QVACoreDataBaseSession& session) const {
    return session.isKindOfEntity(QVACoreDataAgendaInvitation::kEntityName);
}

void AgendaSearchEntity::navigateToDetailsFromController(const ViewControllerPtr& controller,
                                                         const foundation::Value& object,
                                                         const uikit::NSIndexPath& indexPath, bool isSwipeEnabled) {
    auto role = object.objectAs<QVACoreDataAgendaRole>();
    if (!role) return;
    pushDetailsScreen(controller, BaseViewController::instantiateViewController<ProgrammeDetailsViewController>(),
                      role->agendaItemId(), QVACoreDataAgendaRole::kEntityName, indexPath, isSwipeEnabled);
}

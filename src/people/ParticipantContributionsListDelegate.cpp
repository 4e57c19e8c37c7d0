#include "people/ParticipantContributionsListDelegate.h"

#include "lists/ListSelectionModel.h"
#include "model/ModelClass.h"
#include "model/QVAAgendaEntries.h"
#include "model/QVACoreDataAgendaInvitation.h"
#include "model/QVACoreDataAgendaResponsability.h"
#include "model/QVACoreDataAgendaSelection.h"
#include "model/QVACoreDataSession.h"
#include "model/QVASession.h"
#include "store/FetchRequestUtils.h"

ListsDataSourceProtocol::SortDescriptors ParticipantContributionsListDelegate::sortDescriptors() {
    return FetchRequestUtils::getSimpleSessionsListSortDescriptos();
}

std::optional<std::vector<std::shared_ptr<ListSelectionModel>>>
ParticipantContributionsListDelegate::listSelectionModelEntities() {
    registerModelClasses();
    const auto order = sortDescriptors();
    const auto searchOrder = sortDescriptorsForSearch().value_or(order);
    auto record = [&](const char* entity, const char* modelClass) {
        auto model = std::make_shared<ListSelectionModel>();
        model->setCoreDataEntityName(entity);
        model->setModelEntityClass(ModelClass::named(modelClass));
        model->setCoreDataSortDescriptors(order);
        model->setSortDescriptorsForSearch(searchOrder);
        return model;
    };
    return std::vector<std::shared_ptr<ListSelectionModel>>{
        record(QVACoreDataAgendaSelection::kEntityName, QVAAgendaSelections::kClassName),
        record(QVACoreDataAgendaResponsability::kEntityName, QVAAgendaResponsibilities::kClassName),
        record(QVACoreDataAgendaInvitation::kEntityName, QVAAgendaInvitation::kClassName),
        record(QVACoreDataSession::kEntityName, QVASession::kClassName)};
}

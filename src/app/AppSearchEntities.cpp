#include "app/AppSearchEntities.h"

#include <memory>

#include "lists/SearchEntityRegistry.h"
#include "maps/RoomSearchEntity.h"
#include "maps/VenueSearchEntity.h"
#include "people/OrganizationSearchEntity.h"
#include "people/ParticipantSearchEntity.h"
#include "people/PartnerSearchEntity.h"
#include "programme/AgendaSearchEntity.h"
#include "programme/ProgrammeSearchEntity.h"

namespace AppSearchEntities {

namespace {

template <class Entity>
SearchEntityRegistry::Factory kind() {
    return [](const std::shared_ptr<CoreDataStack>& stack) { return std::make_shared<Entity>(stack); };
}

}  // namespace

void registerSearchEntities() {
    SearchEntityRegistry::setFactories({kind<ProgrammeSearchEntity>(), kind<ParticipantSearchEntity>(),
                                        kind<OrganizationSearchEntity>(), kind<PartnerSearchEntity>(),
                                        kind<AgendaSearchEntity>(), kind<VenueSearchEntity>(),
                                        kind<RoomSearchEntity>()});
}

}  // namespace AppSearchEntities

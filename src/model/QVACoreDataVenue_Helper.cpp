// (Helper) of venue rows: a QVAVenue becomes one row, its floor levels kept
// as a keyed archive for the floor-plan screens.
#include "model/QVACoreDataVenue.h"
#include "model/RowWriting.h"

void QVACoreDataVenue::insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row, const QVAVenue& venue,
                                                    coredata::ManagedObjectContext& context) {
    if (auto target = RowWriting::rowForWriting<QVACoreDataVenue>(row, kEntityName, context)) target->copyFields(venue);
}

std::string QVACoreDataVenue::comparisonPropertyName() { return "itemId"; }

void QVACoreDataVenue::copyFields(const QVAVenue& venue) {
    setItemId(venue.itemId());
    setRevision(venue.revision());
    setName(venue.name());
    setLatitude(venue.latitude());
    setLongitude(venue.longitude());
    setPrimary(venue.primary());
    setFloorLevels(RowWriting::archivedArray(venue.floorLevels()));
}

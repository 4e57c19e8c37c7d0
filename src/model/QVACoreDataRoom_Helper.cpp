// (Helper) of room rows: a QVARoom becomes one row.
#include "model/QVACoreDataRoom.h"
#include "model/RowWriting.h"

void QVACoreDataRoom::insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row, const QVARoom& room,
                                                   coredata::ManagedObjectContext& context) {
    if (auto target = RowWriting::rowForWriting<QVACoreDataRoom>(row, kEntityName, context)) target->copyFields(room);
}

std::string QVACoreDataRoom::comparisonPropertyName() { return "itemId"; }

void QVACoreDataRoom::copyFields(const QVARoom& room) {
    setItemId(room.itemId());
    setRevision(room.revision());
    setName(room.name());
    setVenueId(room.venueId());
    setMapUrl(room.mapUrl());
}

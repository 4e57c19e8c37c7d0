// (Helper) of meeting-delegate rows: a QVAMeetingDelegate becomes one row.
#include "model/QVACoreDataMeetingDelegate.h"
#include "model/RowWriting.h"

void QVACoreDataMeetingDelegate::insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row,
                                                              const QVAMeetingDelegate& delegate,
                                                              coredata::ManagedObjectContext& context) {
    if (auto target = RowWriting::rowForWriting<QVACoreDataMeetingDelegate>(row, kEntityName, context))
        target->copyFields(delegate);
}

void QVACoreDataMeetingDelegate::copyFields(const QVAMeetingDelegate& delegate) {
    setItemId(delegate.itemId());
    setFullName(delegate.fullName());
    setFirstName(delegate.firstName());
    setLastName(delegate.lastName());
    setPhotoUrl(delegate.photoUrl());
    setRevision(delegate.revision());
}

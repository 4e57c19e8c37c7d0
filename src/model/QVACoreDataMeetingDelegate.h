// The row of one of the user's delegates for the meeting.
#pragma once

#include <optional>
#include <string>

#include "coredata/ManagedObject.h"
#include "coredata/ManagedObjectContext.h"
#include "model/QVAMeetingDelegate.h"

class QVACoreDataMeetingDelegate : public coredata::ManagedObject {
public:
    static constexpr const char* kEntityName = "QVACoreDataMeetingDelegate";

    std::optional<std::string> firstName() const;
    void setFirstName(const std::optional<std::string>& value);
    std::optional<std::string> fullName() const;
    void setFullName(const std::optional<std::string>& value);
    std::optional<std::string> itemId() const;
    void setItemId(const std::optional<std::string>& value);
    std::optional<std::string> lastName() const;
    void setLastName(const std::optional<std::string>& value);
    std::optional<std::string> photoUrl() const;
    void setPhotoUrl(const std::optional<std::string>& value);
    std::optional<std::string> revision() const;
    void setRevision(const std::optional<std::string>& value);

    // (Helper), defined in QVACoreDataMeetingDelegate_Helper.cpp: writing a QVAMeetingDelegate into a row.
    // With no row, a new row of this entity is inserted. Nothing is saved.
    static void insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row, const QVAMeetingDelegate& delegate,
                                             coredata::ManagedObjectContext& context);

protected:
    void copyFields(const QVAMeetingDelegate& delegate);
};

// The row of the user's note on a participant.
#pragma once

#include <optional>
#include <string>

#include "coredata/ManagedObject.h"
#include "coredata/ManagedObjectContext.h"
#include "model/QVAParticipantNote.h"

class QVACoreDataParticipantNote : public coredata::ManagedObject {
public:
    static constexpr const char* kEntityName = "QVACoreDataParticipantNote";

    std::optional<std::string> note() const;
    void setNote(const std::optional<std::string>& value);
    std::optional<std::string> itemId() const;
    void setItemId(const std::optional<std::string>& value);
    std::optional<std::string> participantId() const;
    void setParticipantId(const std::optional<std::string>& value);
    std::optional<std::string> revision() const;
    void setRevision(const std::optional<std::string>& value);

    // (Helper), defined in QVACoreDataParticipantNote_Helper.cpp: writing a QVAParticipantNote into a row.
    // With no row, a new row of this entity is inserted. Nothing is saved.
    static void insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row, const QVAParticipantNote& note,
                                             coredata::ManagedObjectContext& context);
    // The attribute that identifies a row of this entity: "itemId".
    static std::string comparisonPropertyName();

protected:
    void copyFields(const QVAParticipantNote& note);
};

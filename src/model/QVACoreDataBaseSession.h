// The row of a session: official sessions and every kind of agenda entry.
// A fetch of this entity returns all of them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "coredata/ManagedObjectContext.h"
#include "coredata/Predicate.h"
#include "foundation/Data.h"
#include "model/QVACoreDataTimelineItem.h"
#include "model/QVASession.h"

class QVACoreDataBaseSession : public QVACoreDataTimelineItem {
public:
    static constexpr const char* kEntityName = "QVACoreDataBaseSession";

    bool cancelled() const;
    void setCancelled(bool value);
    int32_t capacity() const;
    void setCapacity(int32_t value);
    std::optional<std::string> contributors() const;
    void setContributors(const std::optional<std::string>& value);
    std::optional<std::string> currencyIsoCode() const;
    void setCurrencyIsoCode(const std::optional<std::string>& value);
    int32_t fee() const;
    void setFee(int32_t value);
    std::optional<std::string> feedbackUrl() const;
    void setFeedbackUrl(const std::optional<std::string>& value);
    std::optional<std::string> itemId() const;
    void setItemId(const std::optional<std::string>& value);
    int16_t preparatoryDiscussionDurationInMinutes() const;
    void setPreparatoryDiscussionDurationInMinutes(int16_t value);
    bool pressAllowed() const;
    void setPressAllowed(bool value);
    std::optional<std::string> programmeName() const;
    void setProgrammeName(const std::optional<std::string>& value);
    std::optional<std::string> revision() const;
    void setRevision(const std::optional<std::string>& value);
    std::optional<std::string> roomId() const;
    void setRoomId(const std::optional<std::string>& value);
    std::optional<std::string> sessionDescription() const;
    void setSessionDescription(const std::optional<std::string>& value);
    std::optional<std::string> sessionStructure() const;
    void setSessionStructure(const std::optional<std::string>& value);
    bool signupRequired() const;
    void setSignupRequired(bool value);
    bool spouseAllowed() const;
    void setSpouseAllowed(bool value);
    std::optional<std::string> type() const;
    void setType(const std::optional<std::string>& value);
    std::optional<std::string> votingUrl() const;
    void setVotingUrl(const std::optional<std::string>& value);
    std::optional<std::string> webcastUrl() const;
    void setWebcastUrl(const std::optional<std::string>& value);
    bool withMeal() const;
    void setWithMeal(bool value);
    std::optional<foundation::Data> insights() const;
    void setInsights(const std::optional<foundation::Data>& value);

    // (Helper), defined in QVACoreDataBaseSession_Helper.cpp: writing a QVASession into a row.
    // A new row is of this class's own entity; sub-entity classes pass theirs.
    static void insertOrUpdateCoreDataObject(const coredata::ManagedObjectPtr& row, const QVASession& session,
                                             coredata::ManagedObjectContext& context);
    // The attribute that identifies a row of this entity: "itemId".
    static std::string comparisonPropertyName();
    static coredata::PredicatePtr comparisonPredicateForObject(const QVASession& session);

protected:
    static void insertOrUpdateCoreDataObjectOfEntity(const char* entityName, const coredata::ManagedObjectPtr& row,
                                                     const QVASession& session,
                                                     coredata::ManagedObjectContext& context);
    void copyFields(const QVASession& session);
};

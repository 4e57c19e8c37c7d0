// One session of the official programme. Besides the service's fields it
// carries the texts the lists file and show it by (day, hour section, time
// span), cut from its date-time texts, and its contributors flattened into one
// text the store can filter on.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/QVASessionInsight.h"
#include "model/QVATimelineItemModel.h"

class QVASession : public QVATimelineItemModel {
public:
    static constexpr const char* kClassName = "QVASession";
    static constexpr const char* kCoreDataClass = "QVACoreDataSession";
    using Text = std::optional<std::string>;

    QVASession() = default;
    static std::shared_ptr<QVASession> initWithDictionary(const foundation::Value& dictionary);
    static std::shared_ptr<QVASession> initWithCoreDataDictionary(const foundation::Value& row);
    static std::shared_ptr<QVASession> initWithCoreDataObject(const coredata::ManagedObject& storedObject);

    bool cancelled() const { return cancelled_; }
    bool pressAllowed() const { return pressAllowed_; }
    bool signupRequired() const { return signupRequired_; }
    bool spouseAllowed() const { return spouseAllowed_; }
    bool withMeal() const { return withMeal_; }
    int32_t capacity() const { return capacity_; }
    int32_t fee() const { return fee_; }
    const Text& currencyIsoCode() const { return currencyIsoCode_; }
    const Text& sessionDescription() const { return sessionDescription_; }
    void setSessionDescription(Text v) { sessionDescription_ = std::move(v); }
    const Text& feedbackUrl() const { return feedbackUrl_; }
    const Text& roomId() const { return roomId_; }
    const Text& programmeName() const { return programmeName_; }
    const Text& type() const { return type_; }
    const Text& webcastUrl() const { return webcastUrl_; }
    const Text& votingUrl() const { return votingUrl_; }
    const Text& sessionStructure() const { return sessionStructure_; }
    // 0 when there is no preparatory discussion.
    int32_t preparatoryDiscussionDurationInMinutes() const { return preparatoryDiscussionDurationInMinutes_; }
    // "participantId|type" entries joined by ";"; nil when there are none.
    const Text& contributors() const { return contributors_; }
    // Empty when the session has none.
    const std::vector<std::shared_ptr<QVASessionInsight>>& insights() const { return insights_; }
    // The start hour followed by ":00" ("09:00").
    const Text& sectionTitle() const { return sectionTitle_; }
    // The date part of the start ("2015-01-21").
    const Text& startDateString() const { return startDateString_; }
    // Start and end times of day ("09:30 - 10:45").
    const Text& displayTime() const { return displayTime_; }

    std::string className() const override { return kClassName; }
    std::optional<std::string> coreDataClass() const override { return kCoreDataClass; }
    foundation::Value valueForKey(const std::string& key) const override;

protected:
    void readDictionary(const ModelReading::FieldReader& json) override;
    void readRow(const ModelReading::FieldReader& row) override;

private:
    void readFlags(const ModelReading::FieldReader& fields);
    void readContributors(const foundation::Value& contributors);
    void readInsights(const foundation::Value& insights);
    void deriveDisplayTexts();

    bool cancelled_ = false;
    bool pressAllowed_ = false;
    bool signupRequired_ = false;
    bool spouseAllowed_ = false;
    bool withMeal_ = false;
    int32_t capacity_ = 0;
    int32_t fee_ = 0;
    Text currencyIsoCode_, sessionDescription_, feedbackUrl_, roomId_, programmeName_, type_, webcastUrl_,
        votingUrl_, sessionStructure_;
    int32_t preparatoryDiscussionDurationInMinutes_ = 0;
    Text contributors_;
    std::vector<std::shared_ptr<QVASessionInsight>> insights_;
    Text sectionTitle_, startDateString_, displayTime_;
};

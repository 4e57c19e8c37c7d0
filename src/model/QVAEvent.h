// One meeting of the organisation. It is also the application's current
// meeting, which the settings store keeps as a keyed archive: the archive keys
// below are a stored format and must not change.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "model/QVABaseItemModel.h"

class QVAEvent : public QVABaseItemModel {
public:
    static constexpr const char* kClassName = "QVAEvent";
    using Text = std::optional<std::string>;

    QVAEvent() = default;
    static std::shared_ptr<QVAEvent> initWithDictionary(const foundation::Value& dictionary);
    // A stored event row: only the id, the revision and the name.
    static std::shared_ptr<QVAEvent> initWithCoreDataDictionary(const foundation::Value& row);
    static std::shared_ptr<QVAEvent> initWithCoder(const foundation::KeyedUnarchiver& coder);

    const Text& address() const { return address_; }
    void setAddress(Text v) { address_ = std::move(v); }
    const Text& city() const { return city_; }
    void setCity(Text v) { city_ = std::move(v); }
    const Text& country() const { return country_; }
    void setCountry(Text v) { country_ = std::move(v); }
    const Text& eventDescription() const { return eventDescription_; }
    void setEventDescription(Text v) { eventDescription_ = std::move(v); }
    const Text& startDate() const { return startDate_; }
    void setStartDate(Text v) { startDate_ = std::move(v); }
    const Text& endDate() const { return endDate_; }
    void setEndDate(Text v) { endDate_ = std::move(v); }
    const Text& eventName() const { return eventName_; }
    void setEventName(Text v) { eventName_ = std::move(v); }
    const Text& eventUrl() const { return eventUrl_; }
    void setEventUrl(Text v) { eventUrl_ = std::move(v); }
    const Text& reportsRssFeedUrl() const { return reportsRssFeedUrl_; }
    void setReportsRssFeedUrl(Text v) { reportsRssFeedUrl_ = std::move(v); }
    const Text& feedbackFormUrl() const { return feedbackFormUrl_; }
    void setFeedbackFormUrl(Text v) { feedbackFormUrl_ = std::move(v); }
    const Text& votingUrl() const { return votingUrl_; }
    void setVotingUrl(Text v) { votingUrl_ = std::move(v); }
    const Text& linksUrl() const { return linksUrl_; }
    void setLinksUrl(Text v) { linksUrl_ = std::move(v); }
    // The service's arrays as they came; absent when missing or not an array.
    const foundation::Value& documents() const { return documents_; }
    void setDocuments(foundation::Value v) { documents_ = std::move(v); }
    const foundation::Value& floorPlans() const { return floorPlans_; }
    void setFloorPlans(foundation::Value v) { floorPlans_ = std::move(v); }

    std::string className() const override { return kClassName; }
    void encodeWithCoder(foundation::KeyedArchiver& coder) const override;

protected:
    void readDictionary(const ModelReading::FieldReader& json) override;
    void readRow(const ModelReading::FieldReader& row) override;
    void decodeFields(const foundation::KeyedUnarchiver& coder) override;

private:
    Text address_, city_, country_, eventDescription_, startDate_, endDate_, eventName_, eventUrl_;
    Text reportsRssFeedUrl_, feedbackFormUrl_, votingUrl_, linksUrl_;
    foundation::Value documents_;
    foundation::Value floorPlans_;
};

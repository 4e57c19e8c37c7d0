// Meetings, from the service, from stored rows and from the settings archive.
#include "model/QVAEvent.h"

#include "model/ItemModelBuilder.h"

using foundation::Value;
using ModelReading::FieldReader;
using ModelReading::valueOf;

std::shared_ptr<QVAEvent> QVAEvent::initWithDictionary(const Value& dictionary) {
    return ItemModelBuilder<QVAEvent>::fromDictionary(dictionary);
}

std::shared_ptr<QVAEvent> QVAEvent::initWithCoreDataDictionary(const Value& row) {
    return ItemModelBuilder<QVAEvent>::fromCoreDataDictionary(row);
}

std::shared_ptr<QVAEvent> QVAEvent::initWithCoder(const foundation::KeyedUnarchiver& coder) {
    return ItemModelBuilder<QVAEvent>::fromCoder(coder);
}

void QVAEvent::readDictionary(const FieldReader& json) {
    QVABaseItemModel::readDictionary(json);
    address_ = json.text("address");
    city_ = json.text("city");
    country_ = json.text("country");
    eventDescription_ = json.text("description");
    startDate_ = json.text("startDate");
    endDate_ = json.text("endDate");
    eventName_ = json.text("name");
    eventUrl_ = json.text("url");
    reportsRssFeedUrl_ = json.text("reportsRssFeedUrl");
    feedbackFormUrl_ = json.text("feedbackFormUrl");
    votingUrl_ = json.text("votingUrl");
    linksUrl_ = json.text("linksUrl");
    documents_ = json.array("documents");
    floorPlans_ = json.array("floorPlans");
}

// The event row keeps only what the meeting switcher needs to name a store.
void QVAEvent::readRow(const FieldReader& row) {
    QVABaseItemModel::readRow(row);
    eventName_ = row.text("eventName");
}

void QVAEvent::decodeFields(const foundation::KeyedUnarchiver& coder) {
    QVABaseItemModel::decodeFields(coder);
    address_ = coder.decodeStringForKey("address");
    city_ = coder.decodeStringForKey("city");
    country_ = coder.decodeStringForKey("country");
    eventDescription_ = coder.decodeStringForKey("description");
    startDate_ = coder.decodeStringForKey("startDate");
    endDate_ = coder.decodeStringForKey("endDate");
    eventName_ = coder.decodeStringForKey("name");
    eventUrl_ = coder.decodeStringForKey("url");
    reportsRssFeedUrl_ = coder.decodeStringForKey("reportsRssFeedUrl");
    feedbackFormUrl_ = coder.decodeStringForKey("feedbackFormUrl");
    votingUrl_ = coder.decodeStringForKey("votingUrl");
    linksUrl_ = coder.decodeStringForKey("linksUrl");
    const Value& documents = coder.decodeObjectForKey("documents");
    documents_ = documents.isArray() ? documents : Value();
    const Value& floorPlans = coder.decodeObjectForKey("floorPlans");
    floorPlans_ = floorPlans.isArray() ? floorPlans : Value();
}

void QVAEvent::encodeWithCoder(foundation::KeyedArchiver& coder) const {
    QVABaseItemModel::encodeWithCoder(coder);
    coder.encodeObject(valueOf(address_), "address");
    coder.encodeObject(valueOf(city_), "city");
    coder.encodeObject(valueOf(country_), "country");
    coder.encodeObject(valueOf(eventDescription_), "description");
    coder.encodeObject(valueOf(startDate_), "startDate");
    coder.encodeObject(valueOf(endDate_), "endDate");
    coder.encodeObject(valueOf(eventName_), "name");
    coder.encodeObject(valueOf(eventUrl_), "url");
    coder.encodeObject(valueOf(reportsRssFeedUrl_), "reportsRssFeedUrl");
    coder.encodeObject(valueOf(feedbackFormUrl_), "feedbackFormUrl");
    coder.encodeObject(valueOf(votingUrl_), "votingUrl");
    coder.encodeObject(valueOf(linksUrl_), "linksUrl");
    coder.encodeObject(documents_, "documents");
    coder.encodeObject(floorPlans_, "floorPlans");
}

// Sessions: reading the service's JSON and stored rows, flattening the
// contributors and cutting the display texts from the date-times.
#include "model/QVASession.h"

#include "foundation/StringUtils.h"
#include "coredata/ManagedObject.h"
#include "model/ItemModelBuilder.h"

using foundation::Value;
using ModelReading::FieldReader;
using ModelReading::valueOf;
namespace su = foundation::StringUtils;

std::shared_ptr<QVASession> QVASession::initWithDictionary(const Value& dictionary) {
    return ItemModelBuilder<QVASession>::fromDictionary(dictionary);
}

std::shared_ptr<QVASession> QVASession::initWithCoreDataDictionary(const Value& row) {
    return ItemModelBuilder<QVASession>::fromCoreDataDictionary(row);
}

std::shared_ptr<QVASession> QVASession::initWithCoreDataObject(const coredata::ManagedObject& storedObject) {
    return ItemModelBuilder<QVASession>::fromRow(FieldReader(storedObject));
}

void QVASession::readFlags(const FieldReader& fields) {
    cancelled_ = fields.boolean("cancelled");
    pressAllowed_ = fields.boolean("pressAllowed");
    signupRequired_ = fields.boolean("signupRequired");
    spouseAllowed_ = fields.boolean("spouseAllowed");
    withMeal_ = fields.boolean("withMeal");
    capacity_ = fields.int32("capacity");
}

void QVASession::readDictionary(const FieldReader& json) {
    QVATimelineItemModel::readDictionary(json);
    readFlags(json);
    // A fractional fee is cut toward zero (12.9 → 12, -3.5 → -3), with the
    // clamping of any out-of-range number.
    fee_ = Value(json.real("fee")).intValue();
    currencyIsoCode_ = json.text("currencyIsoCode");
    sessionDescription_ = json.text("description");
    feedbackUrl_ = json.text("feedbackUrl");
    roomId_ = json.id("roomId");
    programmeName_ = json.text("programmeName");
    type_ = json.text("type");
    webcastUrl_ = json.text("webcastUrl");
    votingUrl_ = json.text("votingUrl");
    sessionStructure_ = json.text("sessionStructure");
    preparatoryDiscussionDurationInMinutes_ = json.int32("preparatoryDiscussionDurationInMinutes");
    readContributors(json.array("contributors"));
    readInsights(json.array("insights"));
    deriveDisplayTexts();
}

// Rows keep the flattened and derived texts as they were computed when the
// row was written.
void QVASession::readRow(const FieldReader& row) {
    QVATimelineItemModel::readRow(row);
    readFlags(row);
    fee_ = row.int32("fee");
    currencyIsoCode_ = row.text("currencyIsoCode");
    sessionDescription_ = row.text("sessionDescription");
    feedbackUrl_ = row.text("feedbackUrl");
    roomId_ = row.id("roomId");
    programmeName_ = row.text("programmeName");
    type_ = row.text("type");
    webcastUrl_ = row.text("webcastUrl");
    votingUrl_ = row.text("votingUrl");
    sessionStructure_ = row.text("sessionStructure");
    preparatoryDiscussionDurationInMinutes_ = row.int32("preparatoryDiscussionDurationInMinutes");
    contributors_ = row.text("contributors");
    insights_ = row.archivedObjects<QVASessionInsight>("insights");
    sectionTitle_ = row.text("sectionTitle");
    startDateString_ = row.text("startDateString");
    displayTime_ = row.text("displayTime");
}

// The detail screen splits the text at ";" and each entry at "|". Elements
// that are not dictionaries carry no contributor and are skipped; a missing
// id or type leaves its side of the "|" empty.
void QVASession::readContributors(const Value& contributors) {
    contributors_.reset();
    const auto* elements = contributors.array();
    if (!elements) return;
    for (const auto& element : *elements) {
        if (!element.isDictionary()) continue;
        FieldReader contributor(element);
        std::string entry = ModelReading::entryIdOf(contributor.value("participantId")) + "|" +
                            ModelReading::entryTextOf(contributor.value("type"));
        contributors_ = contributors_ ? *contributors_ + ";" + entry : entry;
    }
}

// Insights exist only when at least one was made; an empty list reads as none.
void QVASession::readInsights(const Value& insights) {
    insights_.clear();
    const auto* elements = insights.array();
    if (!elements) return;
    for (const auto& element : *elements) {
        if (element.isDictionary()) insights_.push_back(QVASessionInsight::initWithDictionary(element));
    }
}

// Positions count UTF-16 units from the first "T" of the start; the end is cut
// at the start's offset without looking for its own "T". Each text that the
// date-times are too short for (or that has no "T" to start from) stays nil.
void QVASession::deriveDisplayTexts() {
    sectionTitle_.reset();
    startDateString_.reset();
    displayTime_.reset();
    const auto& start = startDatetime();
    if (!start) return;
    size_t byte = start->find('T');
    if (byte == std::string::npos) return;
    size_t t = su::utf16Position(*start, byte);
    size_t startLength = su::length16(*start);
    startDateString_ = su::substring16(*start, 0, t);
    if (t + 3 <= startLength) sectionTitle_ = su::substring16(*start, t + 1, 2) + ":00";
    const auto& end = endDatetime();
    if (end && t + 6 <= startLength && t + 6 <= su::length16(*end)) {
        displayTime_ = su::substring16(*start, t + 1, 5) + " - " + su::substring16(*end, t + 1, 5);
    }
}

Value QVASession::valueForKey(const std::string& key) const {
    if (key == "cancelled") return cancelled_;
    if (key == "pressAllowed") return pressAllowed_;
    if (key == "signupRequired") return signupRequired_;
    if (key == "spouseAllowed") return spouseAllowed_;
    if (key == "withMeal") return withMeal_;
    if (key == "capacity") return capacity_;
    if (key == "fee") return fee_;
    if (key == "currencyIsoCode") return valueOf(currencyIsoCode_);
    if (key == "sessionDescription") return valueOf(sessionDescription_);
    if (key == "feedbackUrl") return valueOf(feedbackUrl_);
    if (key == "roomId") return valueOf(roomId_);
    if (key == "programmeName") return valueOf(programmeName_);
    if (key == "type") return valueOf(type_);
    if (key == "webcastUrl") return valueOf(webcastUrl_);
    if (key == "votingUrl") return valueOf(votingUrl_);
    if (key == "sessionStructure") return valueOf(sessionStructure_);
    if (key == "preparatoryDiscussionDurationInMinutes") return preparatoryDiscussionDurationInMinutes_;
    if (key == "contributors") return valueOf(contributors_);
    if (key == "sectionTitle") return valueOf(sectionTitle_);
    if (key == "startDateString") return valueOf(startDateString_);
    if (key == "displayTime") return valueOf(displayTime_);
    return QVATimelineItemModel::valueForKey(key);
}

// The entities of the local store. Attributes are declared in the order the
// rows were designed with; inherited attributes are not repeated. The query
// names "CoreDataVotingUri" and "CoreDataWatchlistItem" are deliberately not
// declared: fetches by those names find no entity and answer nothing.
#include "store/EntityModel.h"

#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace {

using coredata::AttributeDescription;
using T = coredata::AttributeType;

std::vector<AttributeDescription> strings(std::initializer_list<const char*> names) {
    std::vector<AttributeDescription> out;
    for (const char* name : names) out.push_back({name, T::String});
    return out;
}

std::shared_ptr<coredata::ManagedObjectModel> buildModel() {
    auto m = std::make_shared<coredata::ManagedObjectModel>(EntityModel::kVersionIdentifier);

    // Nothing writes a timeline item itself; it carries what sessions and
    // agenda items share.
    m->addEntity("QVACoreDataTimelineItem", "",
                 strings({"displayTime", "endDatetime", "keyword", "sectionTitle", "startDateString", "startDatetime",
                          "title"}));
    m->addEntity("QVACoreDataBaseSession", "QVACoreDataTimelineItem",
                 {{"cancelled", T::Boolean},
                  {"capacity", T::Integer32},
                  {"contributors", T::String},
                  {"currencyIsoCode", T::String},
                  {"fee", T::Integer32},
                  {"feedbackUrl", T::String},
                  {"itemId", T::String},
                  {"preparatoryDiscussionDurationInMinutes", T::Integer16},
                  {"pressAllowed", T::Boolean},
                  {"programmeName", T::String},
                  {"revision", T::String},
                  {"roomId", T::String},
                  {"sessionDescription", T::String},
                  {"sessionStructure", T::String},
                  {"signupRequired", T::Boolean},
                  {"spouseAllowed", T::Boolean},
                  {"type", T::String},
                  {"votingUrl", T::String},
                  {"webcastUrl", T::String},
                  {"withMeal", T::Boolean},
                  {"insights", T::Binary}});
    m->addEntity("QVACoreDataSession", "QVACoreDataBaseSession", {});
    // The agenda entries share one match key, agendaItemId; itemId holds the
    // session's id.
    m->addEntity("QVACoreDataAgendaRole", "QVACoreDataBaseSession",
                 {{"agendaItemId", T::String}, {"status", T::String}, {"withSpouse", T::Boolean}});
    m->addEntity("QVACoreDataAgendaSelection", "QVACoreDataAgendaRole", {});
    m->addEntity("QVACoreDataAgendaResponsability", "QVACoreDataAgendaRole", {});
    m->addEntity("QVACoreDataAgendaInvitation", "QVACoreDataAgendaRole", {});
    m->addEntity("QVACoreDataPersonalEntry", "QVACoreDataAgendaRole", {});
    m->addEntity("QVACoreDataBaseAgendaitem", "QVACoreDataTimelineItem", {});
    m->addEntity("QVACoreDataMeetingRequest", "QVACoreDataBaseAgendaitem", {});

    m->addEntity("QVACoreDataDocumentInfo", "",
                 {{"documentDescription", T::String},
                  {"extension", T::String},
                  {"title", T::String},
                  {"url", T::String},
                  {"category", T::String},
                  {"filename", T::String},
                  {"index", T::Integer16}});
    m->addEntity("QVACoreDataInformationDocument", "QVACoreDataDocumentInfo", {});
    m->addEntity("QVACoreDataReportsDocument", "QVACoreDataDocumentInfo", {});

    m->addEntity("QVACoreDataEvent", "", strings({"eventName", "startDate", "itemId", "revision"}));
    m->addEntity("QVACoreDataParticipant", "",
                 {{"contributions", T::String},
                  {"countryOfNationality", T::String},
                  {"email", T::String},
                  {"firstName", T::String},
                  {"quovanaNetworks", T::String},
                  {"fullName", T::String},
                  {"inBooklet", T::Boolean},
                  {"itemId", T::String},
                  {"lastName", T::String},
                  {"mobilePhone", T::String},
                  {"organizationId", T::String},
                  {"organizationName", T::String},
                  {"organizationType", T::String},
                  {"phone", T::String},
                  {"photoUrl", T::String},
                  {"positionTitle", T::String},
                  {"profile", T::String},
                  {"publicFigure", T::Boolean},
                  {"revision", T::String},
                  {"sectionTitle", T::String},
                  {"socialAccounts", T::Binary},
                  {"thumbnailUrl", T::String},
                  {"topLevelOrganizationId", T::String}});
    m->addEntity("QVACoreDataOrganization", "",
                 strings({"address", "city", "commonName", "country", "email", "itemId", "logo", "name",
                          "organizationType", "phone", "profile", "revision", "sectionTitle", "sector",
                          "topLevelOrganizationId", "website", "zipCode", "poBox"}));
    m->addEntity(
        "QVACoreDataPartner", "",
        strings({"commonName", "engagementType", "itemId", "logoUrl", "name", "profile", "revision", "thumbnailUrl"}));
    m->addEntity("QVACoreDataVenue", "",
                 {{"floorLevels", T::Binary},
                  {"itemId", T::String},
                  {"latitude", T::Double},
                  {"longitude", T::Double},
                  {"name", T::String},
                  {"primary", T::Boolean},
                  {"revision", T::String}});
    m->addEntity("QVACoreDataRoom", "", strings({"itemId", "name", "venueId", "mapUrl", "revision"}));
    m->addEntity("QVACoreDataMessage", "",
                 {{"body", T::String},
                  {"folderName", T::String},
                  {"from", T::Binary},
                  {"isRead", T::Boolean},
                  {"messageId", T::Integer32},
                  {"participantId", T::Integer32},
                  {"sentDatetime", T::String},
                  {"subject", T::String},
                  {"threadId", T::Integer32},
                  {"to", T::Binary},
                  {"itemId", T::String},
                  {"revision", T::String}});
    m->addEntity("QVACoreDataMessageRecipient", "",
                 strings({"fullName", "itemId", "revision", "sectionTitle", "firstName", "lastName"}));
    // composeDate has only a one-second resolution, so two messages composed
    // in the same second share it; outboxId tells the rows apart.
    m->addEntity("QVACoreDataOutboxMessage", "",
                 {{"body", T::String},
                  {"composeDate", T::Integer32},
                  {"threadId", T::Integer32},
                  {"subject", T::String},
                  {"toAddresses", T::String},
                  {"toNames", T::String},
                  {"outboxId", T::String}});
    m->addEntity("QVACoreDataMeetingDelegate", "",
                 strings({"firstName", "fullName", "itemId", "lastName", "photoUrl", "revision"}));
    m->addEntity("QVACoreDataLoginDelegator", "",
                 strings({"email", "firstName", "fullName", "itemId", "lastName", "type", "revision"}));
    m->addEntity("QVACoreDataFollowedParticipant", "", strings({"firstName", "lastName", "fullName", "itemId"}));
    m->addEntity("QVACoreDataParticipantNote", "", strings({"note", "itemId", "participantId", "revision"}));
    m->addEntity("QVACoreDataSessionNote", "", strings({"sessionId", "revision", "itemId", "note"}));
    m->addEntity(
        "QVACoreDataNotification", "",
        {{"acknowledged", T::Boolean}, {"itemId", T::String}, {"message", T::String}, {"creation_date", T::String}});
    m->addEntity("QVACoreDataPermission", "", {{"code", T::String}, {"granted", T::Boolean}});
    return m;
}

}  // namespace

coredata::ModelPtr EntityModel::mergedModel() {
    static const coredata::ModelPtr model = buildModel();
    return model;
}

namespace {

std::mutex& entityModelOverrideMutex() {
    static std::mutex mutex;
    return mutex;
}

coredata::ModelPtr& entityModelOverride() {
    static coredata::ModelPtr model;
    return model;
}

}  // namespace

coredata::ModelPtr EntityModel::stackModel() {
    std::lock_guard lock(entityModelOverrideMutex());
    return entityModelOverride() ? entityModelOverride() : mergedModel();
}

void EntityModel::setStackModelForTesting(coredata::ModelPtr model) {
    std::lock_guard lock(entityModelOverrideMutex());
    entityModelOverride() = std::move(model);
}

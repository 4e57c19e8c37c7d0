// Registration of every entity class: its row factory with the object store
// and its mapping with the entity-class registry.
#include <memory>
#include <mutex>

#include "foundation/Log.h"
#include "model/QVACoreDataAgendaInvitation.h"
#include "model/QVACoreDataAgendaResponsability.h"
#include "model/QVACoreDataAgendaSelection.h"
#include "model/QVACoreDataEvent.h"
#include "model/QVACoreDataFollowedParticipant.h"
#include "model/QVACoreDataInformationDocument.h"
#include "model/QVACoreDataLoginDelegator.h"
#include "model/QVACoreDataMeetingDelegate.h"
#include "model/QVACoreDataMeetingRequest.h"
#include "model/QVACoreDataMessage.h"
#include "model/QVACoreDataMessageRecipient.h"
#include "model/QVACoreDataNotification.h"
#include "model/QVACoreDataOrganization.h"
#include "model/QVACoreDataOutboxMessage.h"
#include "model/QVACoreDataParticipant.h"
#include "model/QVACoreDataParticipantNote.h"
#include "model/QVACoreDataPartner.h"
#include "model/QVACoreDataPermission.h"
#include "model/QVACoreDataPersonalEntry.h"
#include "model/QVACoreDataReportsDocument.h"
#include "model/QVACoreDataRoom.h"
#include "model/QVACoreDataSession.h"
#include "model/QVACoreDataSessionNote.h"
#include "model/QVACoreDataVenue.h"
#include "model/EntityClass.h"

namespace {

template <class Row>
void registerRowFactory() {
    coredata::ManagedObject::registerClassForEntityName(Row::kEntityName, [] { return std::make_shared<Row>(); });
}

// A class whose rows nothing writes.
template <class Row>
void registerWithoutMapping() {
    registerRowFactory<Row>();
    EntityClass::registerClass(EntityClass{Row::kEntityName, {}, std::nullopt, {}});
}

// A class with a mapping for models of class Model. The match key and the
// predicate are taken when the class (or the class it inherits them from)
// declares them.
template <class Row, class Model>
void registerWithMapping() {
    registerRowFactory<Row>();
    EntityClass cls;
    cls.name = Row::kEntityName;
    cls.insertOrUpdateCoreDataObject = [](const coredata::ManagedObjectPtr& row, const foundation::ObjectPtr& item,
                                          coredata::ManagedObjectContext& context) {
        auto model = std::dynamic_pointer_cast<const Model>(item);
        if (!model) {
            foundation::Log("Cannot write %@ into a row of %@", item ? item->className() : std::string("(null)"),
                            Row::kEntityName);
            return;
        }
        Row::insertOrUpdateCoreDataObject(row, *model, context);
    };
    if constexpr (requires { Row::comparisonPropertyName(); })
        cls.comparisonPropertyName = Row::comparisonPropertyName();
    if constexpr (requires(const Model& m) { Row::comparisonPredicateForObject(m); }) {
        cls.comparisonPredicateForObject = [](const foundation::ObjectPtr& item) -> coredata::PredicatePtr {
            auto model = std::dynamic_pointer_cast<const Model>(item);
            return model ? Row::comparisonPredicateForObject(*model) : nullptr;
        };
    }
    EntityClass::registerClass(std::move(cls));
}

void registerAll() {
    registerWithoutMapping<QVACoreDataTimelineItem>();
    registerWithMapping<QVACoreDataBaseSession, QVASession>();
    registerWithMapping<QVACoreDataSession, QVASession>();
    registerWithMapping<QVACoreDataAgendaRole, QVAAgendaRole>();
    registerWithMapping<QVACoreDataAgendaSelection, QVAAgendaRole>();
    registerWithMapping<QVACoreDataAgendaResponsability, QVAAgendaRole>();
    registerWithMapping<QVACoreDataAgendaInvitation, QVAAgendaRole>();
    registerWithMapping<QVACoreDataPersonalEntry, QVAAgendaRole>();
    registerWithoutMapping<QVACoreDataBaseAgendaitem>();
    registerWithoutMapping<QVACoreDataMeetingRequest>();
    registerWithMapping<QVACoreDataDocumentInfo, QVADocumentInfo>();
    registerWithMapping<QVACoreDataInformationDocument, QVAInformationDocument>();
    registerWithMapping<QVACoreDataReportsDocument, QVADocumentInfo>();
    registerWithMapping<QVACoreDataEvent, QVAEvent>();
    registerWithMapping<QVACoreDataParticipant, QVAParticipant>();
    registerWithMapping<QVACoreDataOrganization, QVAOrganization>();
    registerWithMapping<QVACoreDataPartner, QVAPartner>();
    registerWithMapping<QVACoreDataVenue, QVAVenue>();
    registerWithMapping<QVACoreDataRoom, QVARoom>();
    registerWithMapping<QVACoreDataMessage, QVAMessage>();
    registerWithMapping<QVACoreDataMessageRecipient, QVAMessageRecipient>();
    registerWithMapping<QVACoreDataOutboxMessage, QVAOutboxMessage>();
    registerWithMapping<QVACoreDataMeetingDelegate, QVAMeetingDelegate>();
    registerWithMapping<QVACoreDataLoginDelegator, QVALoginDelegator>();
    registerWithMapping<QVACoreDataFollowedParticipant, QVAFollowedParticipant>();
    registerWithMapping<QVACoreDataParticipantNote, QVAParticipantNote>();
    registerWithMapping<QVACoreDataSessionNote, QVASessionNote>();
    registerWithMapping<QVACoreDataNotification, QVANotification>();
    registerWithMapping<QVACoreDataPermission, QVAPermission>();
}

}  // namespace

void registerEntityClasses() {
    static std::once_flag once;
    std::call_once(once, registerAll);
}

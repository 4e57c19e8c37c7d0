// The model-class registry and the one place that names every model class.
#include "model/ModelClass.h"

#include <map>
#include <mutex>
#include <type_traits>

#include "foundation/KeyedArchiver.h"
#include "model/ItemModelBuilder.h"
#include "model/QVAAgendaEntries.h"
#include "model/QVAContributor.h"
#include "model/QVADocumentInfo.h"
#include "model/QVAEvent.h"
#include "model/QVAFloorLevel.h"
#include "model/QVAFollowedParticipant.h"
#include "model/QVAInformationDocument.h"
#include "model/QVAInvitationConflictResponse.h"
#include "model/QVALoginDelegator.h"
#include "model/QVAMeetingDelegate.h"
#include "model/QVAMessage.h"
#include "model/QVAMessageReceivedRecipient.h"
#include "model/QVAMessageRecipient.h"
#include "model/QVAMessageResult.h"
#include "model/QVANotification.h"
#include "model/QVAOrganization.h"
#include "model/QVAOutboxMessage.h"
#include "model/QVAParticipant.h"
#include "model/QVAParticipantNote.h"
#include "model/QVAPartner.h"
#include "model/QVAPermission.h"
#include "model/QVAPrivacySettings.h"
#include "model/QVARecommendedParticipant.h"
#include "model/QVARecommendedSession.h"
#include "model/QVARoom.h"
#include "model/QVASessionNote.h"
#include "model/QVASessionOccupancy.h"
#include "model/QVASessionStatusMessage.h"
#include "model/QVASocialAccount.h"
#include "model/QVAUserAccount.h"
#include "model/QVAVenue.h"

using foundation::KeyedArchiver;
using foundation::KeyedUnarchiver;
using foundation::ObjectPtr;
using foundation::Value;

namespace {

std::mutex& registryMutex() {
    static std::mutex mutex;
    return mutex;
}

std::map<std::string, std::shared_ptr<const ModelClass>>& registry() {
    static std::map<std::string, std::shared_ptr<const ModelClass>> classes;
    return classes;
}

template <class T>
std::optional<std::string> coreDataClassOf() {
    if constexpr (std::is_base_of_v<IEntityModel, T>) {
        return T().coreDataClass();
    } else {
        return std::nullopt;
    }
}

// A model read from JSON only.
template <class T>
void registerPlainModel() {
    ModelClass cls;
    cls.name = T::kClassName;
    cls.initWithDictionary = [](const Value& d) -> ObjectPtr { return T::initWithDictionary(d); };
    cls.coreDataClass = coreDataClassOf<T>();
    ModelClass::registerClass(std::move(cls));
}

template <class T>
void registerArchivable() {
    KeyedArchiver::registerClass(T::kClassName, [](KeyedUnarchiver& coder) -> ObjectPtr {
        return T::initWithCoder(coder);
    });
}

// Every id-carrying model reads JSON, rows and archives through its base, so
// each answers all three even when it adds nothing of its own.
template <class T>
void registerItemModel(const char* selectionPropertyName = "itemId") {
    ModelClass cls;
    cls.name = T::kClassName;
    cls.initWithDictionary = [](const Value& d) -> ObjectPtr { return ItemModelBuilder<T>::fromDictionary(d); };
    cls.initWithFields = [](const foundation::JSONFields& fields) -> ObjectPtr {
        return ItemModelBuilder<T>::fromFields(fields);
    };
    cls.initWithCoreDataDictionary = [](const Value& row) -> ObjectPtr {
        return ItemModelBuilder<T>::fromCoreDataDictionary(row);
    };
    cls.coreDataClass = coreDataClassOf<T>();
    cls.coreDataSelectionPropertyName = selectionPropertyName;
    cls.modelClass = T::kClassName;
    ModelClass::registerClass(std::move(cls));
    KeyedArchiver::registerClass(T::kClassName, [](KeyedUnarchiver& coder) -> ObjectPtr {
        return ItemModelBuilder<T>::fromCoder(coder);
    });
}

void registerAll() {
    registerItemModel<QVABaseItemModel>();
    registerItemModel<QVAEvent>();
    registerItemModel<QVAVenue>();
    registerItemModel<QVARoom>();
    registerItemModel<QVATimelineItemModel>();
    registerItemModel<QVASession>();
    registerItemModel<QVAAgendaRole>(QVAAgendaRole::kCoreDataSelectionPropertyName);
    registerItemModel<QVAAgendaSelections>(QVAAgendaRole::kCoreDataSelectionPropertyName);
    registerItemModel<QVAAgendaResponsibilities>(QVAAgendaRole::kCoreDataSelectionPropertyName);
    registerItemModel<QVAAgendaInvitation>(QVAAgendaRole::kCoreDataSelectionPropertyName);
    registerItemModel<QVAPersonalEntry>(QVAAgendaRole::kCoreDataSelectionPropertyName);
    registerItemModel<QVASessionNote>();
    registerItemModel<QVAParticipant>();
    registerItemModel<QVAOrganization>();
    registerItemModel<QVAPartner>();
    registerItemModel<QVAFollowedParticipant>();
    registerItemModel<QVAMeetingDelegate>();
    registerItemModel<QVALoginDelegator>();
    registerItemModel<QVAParticipantNote>();
    registerItemModel<QVAMessageRecipient>();
    registerItemModel<QVANotification>();

    registerPlainModel<QVAFloorLevel>();
    registerPlainModel<QVAImapsLinksModel>();
    registerPlainModel<QVASessionInsight>();
    registerPlainModel<QVASessionStatusMessage>();
    registerPlainModel<QVASessionOccupancy>();
    registerPlainModel<QVARecommendedSession>();
    registerPlainModel<QVAInvitationConflictResponse>();
    registerPlainModel<QVAContributor>();
    registerPlainModel<QVARecommendedParticipant>();
    registerPlainModel<QVAMessage>();
    registerPlainModel<QVAMessageReceivedRecipient>();
    registerPlainModel<QVAMessageResult>();
    registerPlainModel<QVAUserAccount>();
    registerPlainModel<QVAPermission>();
    registerPlainModel<QVAPrivacySettings>();
    registerPlainModel<QVADocumentInfo>();
    registerPlainModel<QVAInformationDocument>();
    {
        // The outbox reads its rows back into models.
        ModelClass outbox;
        outbox.name = QVAOutboxMessage::kClassName;
        outbox.initWithDictionary = [](const Value& d) -> ObjectPtr { return QVAOutboxMessage::initWithDictionary(d); };
        outbox.initWithCoreDataDictionary = [](const Value& row) -> ObjectPtr {
            return QVAOutboxMessage::initWithCoreDataDictionary(row);
        };
        ModelClass::registerClass(std::move(outbox));
    }

    registerArchivable<QVAFloorLevel>();
    registerArchivable<QVAImapsLinksModel>();
    registerArchivable<QVASessionInsight>();
    registerArchivable<QVASocialAccount>();
    registerArchivable<QVAContributor>();
    registerArchivable<QVAMessageReceivedRecipient>();
    registerArchivable<QVAUserAccount>();
}

}  // namespace

void ModelClass::registerClass(ModelClass cls) {
    auto entry = std::make_shared<const ModelClass>(std::move(cls));
    std::lock_guard<std::mutex> lock(registryMutex());
    registry()[entry->name] = std::move(entry);
}

std::shared_ptr<const ModelClass> ModelClass::named(const std::string& name) {
    std::lock_guard<std::mutex> lock(registryMutex());
    auto it = registry().find(name);
    return it == registry().end() ? nullptr : it->second;
}

void registerModelClasses() {
    static std::once_flag once;
    std::call_once(once, registerAll);
}

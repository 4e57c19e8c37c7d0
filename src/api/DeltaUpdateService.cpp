#include "api/DeltaUpdateService.h"

#include "settings/ApplicationSettingsStore.h"
#include "api/LoadingScreenHook.h"
#include "api/QVAApiManager.h"
#include "api/QVAApiManagerDelta.h"
#include "coredata/FetchRequest.h"
#include "coredata/Predicate.h"
#include "foundation/Clock.h"
#include "foundation/Format.h"
#include "foundation/Log.h"
#include "model/QVACoreDataEvent.h"
#include "model/EntityClass.h"
#include "store/FetchRequestUtils.h"
#include "store/StorageManager.h"
#include "Utils/UIBlockAlertView.h"

using foundation::ErrorPtr;
using foundation::Value;

std::shared_ptr<DeltaUpdateService> DeltaUpdateService::initService(
    ApplicationSettingsStore& applicationSettingsStore) {
    return std::make_shared<DeltaUpdateService>(applicationSettingsStore);
}

DeltaUpdateService::DeltaUpdateService(ApplicationSettingsStore& applicationSettingsStore)
    : applicationSettingsStore_(&applicationSettingsStore) {}

ApplicationSettingsStore& DeltaUpdateService::applicationSettingsStore() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return *applicationSettingsStore_;
}

void DeltaUpdateService::setApplicationSettingsStore(ApplicationSettingsStore& store) {
    std::lock_guard<std::mutex> lock(mutex_);
    applicationSettingsStore_ = &store;
}

void DeltaUpdateService::resetDeltaLastSyncDate() { applicationSettingsStore().setLastDeltaSyncDateTime(std::nullopt); }

DeltaDecision DeltaUpdateService::checkForDeltaUpdates(bool force, bool isAutoUpdate, bool checkForNewEvent) {
    auto& settings = applicationSettingsStore();
    return checkForDeltaUpdates(settings.currentAccount(), settings.currentEvent(), force, isAutoUpdate,
                                checkForNewEvent);
}

DeltaDecision DeltaUpdateService::decide(bool hasAccount, bool force, bool isAutoUpdate) const {
    auto& settings = applicationSettingsStore();
    DeltaDecision decision;
    if (auto last = settings.lastDeltaSyncDateTime())
        decision.secondsSinceLast = foundation::Clock::now() - last->timeIntervalSinceReferenceDate();
    if (!hasAccount) decision.kind = DeltaDecision::Kind::SkipWithoutAccount;
    else if (isAutoUpdate && !settings.automaticallyCheckForContentUpdates())
        decision.kind = DeltaDecision::Kind::SkipAutomaticUpdatesOff;
    else if (force) decision.kind = DeltaDecision::Kind::Force;
    else if (decision.secondsSinceLast && *decision.secondsSinceLast <= kDeltaThrottleSeconds)
        decision.kind = DeltaDecision::Kind::SkipThrottled;
    return decision;
}

DeltaDecision DeltaUpdateService::checkForDeltaUpdates(const std::shared_ptr<QVAUserAccount>& account,
                                                       const std::shared_ptr<QVAEvent>& event, bool force,
                                                       bool isAutoUpdate, bool checkForNewEvent) {
    const DeltaDecision decision = decide(account != nullptr, force, isAutoUpdate);
    if (!decision.runs()) return decision;
    if (!checkForNewEvent) {
        loadDeltaUpdates(event, account->authenticationCode());
        return decision;
    }
    // The answer is weighed against the account and meeting current when it
    // arrives: a log-out or a switch in between must not be undone by it.
    QVAApiManager::sharedApiManager().getCurrentEventForAuthCode(
        account->authenticationCode(), [self = shared_from_this()](const ErrorPtr&, const Value& result) {
            auto& settings = self->applicationSettingsStore();
            self->checkNewEvent(result, settings.currentAccount(), settings.currentEvent());
        });
    return decision;
}

void DeltaUpdateService::loadDeltaUpdates() {
    auto& settings = applicationSettingsStore();
    auto account = settings.currentAccount();
    auto event = settings.currentEvent();
    loadDeltaUpdates(event, account ? account->authenticationCode() : std::nullopt);
}

void DeltaUpdateService::loadDeltaUpdates(const std::shared_ptr<QVAEvent>& event,
                                          const std::optional<std::string>& authCode) {
    QVAApiManagerDelta::loadDeltaUpdatesForEvent(event, authCode, [](const ErrorPtr& error, const Value&) {
        if (error) foundation::Log("Unable to load delta updates");
    });
}

void DeltaUpdateService::checkNewEvent(const Value& answer, const std::shared_ptr<QVAUserAccount>& account,
                                       const std::shared_ptr<QVAEvent>& event) {
    auto eventId = event ? event->itemId() : std::nullopt;
    auto authCode = account ? account->authenticationCode() : std::nullopt;
    auto newEvent = answer.objectAs<QVAEvent>();
    // A meeting without an id could not be opened: as good as no answer.
    if (!newEvent || !newEvent->itemId()) {
        loadDeltaUpdates(event, authCode);
        return;
    }
    if (newEvent->itemId() == eventId) {
        applicationSettingsStore().setCurrentEvent(newEvent);
        loadDeltaUpdates(newEvent, authCode);
        return;
    }

    auto& store = StorageManager::sharedStorageManager();
    auto stack = store.getCoreDataStackForAuthToken(authCode, eventId);
    auto context = stack ? stack->managedObjectContextMainQueue() : nullptr;
    auto request = store.fetchRequestForItemType(
        EntityClass::of<QVACoreDataEvent>(),
        coredata::Predicate::withFormat("eventName = %@", Value(newEvent->eventName())), context);
    if (request) {
        request->setResultType(coredata::FetchRequestResultType::Dictionary);
        request->setPropertiesToFetch({"eventName"});
    }
    if (!store.executeFetchRequestAndWait(request, context).empty() ||
        !FetchRequestUtils::hasEventChangePermissionGrantedInContext(context)) {
        loadDeltaUpdates(event, authCode);
        return;
    }
    offerNewEvent(newEvent);
}

void DeltaUpdateService::offerNewEvent(const std::shared_ptr<QVAEvent>& newEvent) {
    auto alert = UIBlockAlertView::initWithTitle(
        std::string(kNewEventTitle), foundation::Format(kNewEventMessage, Value(newEvent->eventName())));
    auto self = shared_from_this();
    alert->addButtonWithTitle(kLoadButton, [self, newEvent](uikit::UIAlertView&) {
        auto current = self->applicationSettingsStore().currentAccount();
        auto newEventId = newEvent->itemId();
        StorageManager::sharedStorageManager().initCoreDataStackForAuthToken(
            current ? current->authenticationCode() : std::nullopt, newEventId,
            [current, newEventId](ErrorPtr error, std::shared_ptr<CoreDataStack>) {
                if (error) {
                    foundation::Log("Unable to open the store of event %@: %@", newEventId.value_or(""),
                                    error->localizedDescription());
                    return;
                }
                LoadingScreenHook::presentLoadingScreen(current, newEventId.value_or(""));
            });
    });
    // The delta of the meeting that is current when "Cancel" is tapped.
    alert->addButtonWithTitle(kCancelButton, [self](uikit::UIAlertView&) { self->loadDeltaUpdates(); });
    alert->show();
}

#include "api/QVAApiManager_FullDownload.h"

#include <atomic>

#include "api/ApplicationService.h"
#include "settings/ApplicationSettingsStore.h"
#include "api/DeltaUpdateService.h"
#include "api/QVAApiManager.h"
#include "api/RowsWithoutId.h"
#include "dispatch/Queue.h"
#include "foundation/Log.h"
#include "model/QVAError.h"
#include "model/EntityClass.h"
#include "store/StorageManager.h"

using foundation::ErrorPtr;
using foundation::Value;

namespace QVAApiManagerFullDownload {

namespace {

// The state of one run, shared by all its call completions.
struct Run {
    dispatch::GroupPtr group = dispatch::Group::create();
    int32_t total = 0;
    int32_t finished = 0;
    bool failed = false;
    bool importantFailed = false;
    ProgressBlock progressBlock;
};

void callFailed(Run& run, const CallAndWriteParametrizedObject& item) {
    run.failed = true;
    if (item.importantCall()) run.importantFailed = true;
    run.group->leave();
}

void runFeedCall(const std::shared_ptr<Run>& run, const CallAndWriteParametrizedObjectPtr& item, const Text& authToken,
                 const Text& eventId) {
    if (!item->serviceName()) {
        ++run->finished;
        callFinishedForServiceName(std::nullopt, run->group, run->progressBlock, run->finished, run->total);
        return;
    }
    // The feed's rows are written by its parser; whatever the fetch says,
    // the call counts as finished.
    QVAApiManager::sharedApiManager().refreshWithRequestObject(
        item, authToken, eventId, [run, item](const ErrorPtr&, const Value&) {
            ++run->finished;
            callFinishedForServiceName(item->serviceName(), run->group, run->progressBlock, run->finished, run->total);
        });
}

// A call whose items also feed its child calls: its rows are written once
// the whole list has come.
void runListCallWithChildren(const std::shared_ptr<Run>& run, const CallAndWriteParametrizedObjectPtr& item,
                             const Text& authToken, const Text& eventId) {
    QVAApiManager::sharedApiManager().GETWithAuthentication(
        item->serviceName().value_or(""), authToken, item->paramsDictionary(), item->modelClass(),
        [run, item, authToken, eventId](const ErrorPtr& error, const Value& result) {
            if (error) {
                callFailed(*run, *item);
                return;
            }
            auto rows = StorageManager::itemsOfResult(result);
            RowsWithoutId::log(RowsWithoutId::drop(rows), item->serviceName());
            StorageManager::sharedStorageManager().deleteAndAddItemsToCoreData(
                std::move(rows), item->coreDataModelClass(), nullptr, authToken, eventId,
                [run, item, result](ErrorPtr writeError, Value) {
                    if (writeError) {
                        callFailed(*run, *item);
                        return;
                    }
                    ++run->finished;
                    item->childBlock()(run->group, Value(), result);
                });
        });
}

// Each page's items are written as they come: the worker maps a page while
// the next one is on its way; the entity's old rows go, and the whole is
// saved, at the list's end.
void runListCall(const std::shared_ptr<Run>& run, const CallAndWriteParametrizedObjectPtr& item, const Text& authToken,
                 const Text& eventId) {
    if (!item->serviceName()) {
        // The list's path needed the meeting's id, and it has none.
        QVAApiManager::sharedApiManager().refuseMissingId(
            *item, [run, item](const ErrorPtr&, const Value&) { callFailed(*run, *item); });
        return;
    }
    if (item->hasChilds() && item->childBlock()) {
        runListCallWithChildren(run, item, authToken, eventId);
        return;
    }
    auto replace = StorageManager::sharedStorageManager().beginPagedReplace(item->coreDataModelClass(), authToken,
                                                                            eventId);
    auto dropped = std::make_shared<std::atomic<size_t>>(0);
    QVAApiManager::sharedApiManager().paginatedPagesWithAuthentication(
        item->serviceName().value_or(""), authToken, item->paramsDictionary(), item->modelClass(),
        [replace, dropped](Value::Array items) {
            auto page = StorageManager::itemsOfResult(Value(std::move(items)));
            *dropped += RowsWithoutId::drop(page);
            StorageManager::sharedStorageManager().addPageToReplace(replace, std::move(page));
        },
        [run, item, replace, dropped](const ErrorPtr& error) {
            if (error) {
                // The list's rows stay as they were; the call counts as
                // failed once that is saved.
                StorageManager::sharedStorageManager().abandonPagedReplace(
                    replace, [run, item](ErrorPtr, Value) { callFailed(*run, *item); });
                return;
            }
            RowsWithoutId::log(*dropped, item->serviceName());
            StorageManager::sharedStorageManager().finishPagedReplace(replace, [run, item](ErrorPtr writeError, Value) {
                if (writeError) {
                    callFailed(*run, *item);
                    return;
                }
                ++run->finished;
                callFinishedForServiceName(item->serviceName(), run->group, run->progressBlock, run->finished,
                                           run->total);
            });
        });
}

}  // namespace

std::vector<CallAndWriteParametrizedObjectPtr> requestObjectsForAccount(const std::shared_ptr<QVAUserAccount>& account,
                                                                        const std::shared_ptr<QVAEvent>& event) {
    auto& api = QVAApiManager::sharedApiManager();
    const Text& token = account->authenticationCode();
    const Text& id = event->itemId();
    auto reports = QVAApiManager::getReportsObjectForFeedUrl(event->reportsRssFeedUrl());
    return {
        api.getEventsRequestObjectForAuthCode(token),
        api.getSessionsRequestObjectForEventId(id, token),
        api.getOrganizationsRequestObjectForEventId(id, token),
        api.getPartnersRequestObjectForEventId(id, token),
        api.getAgendaSelectionRequestObjectForEventId(id, token),
        api.getAgendaResponsabilitiesRequestObjectForEventId(id, token),
        api.getAgendaInvitationsRequestObjectForEventId(id, token),
        api.getRoomsRequestObjectForEventId(id, token),
        api.getVenuesRequestObjectForEventId(id, token),
        api.getMeetingDelegatesRequestObjectForEventId(id, token),
        api.getLoginDelegatorsRequestObjectForEventId(id, token),
        api.getMessagessRequestObjectForAuthCode(token),
        api.getParticipantsRequestObjectForEventId(id, token),
        api.getMessagesRecipientsObjectForAuthCode(token),
        api.getParticipantNotesObjectForEventId(id, token),
        api.getSessionNotesObjectForEventId(id, token),
        reports,
        api.getInformationDocumentsObjectForEventId(id, token),
        api.getPermissionsRequestObjectForEventId(id, token),
        api.getFollowingRequestObject(),
        api.getPersonalEntriesRequestObjectForEventId(id, token),
        api.getNotificationsObjectForEventId(id, token),
    };
}

void loadAllDataForAccount(const std::shared_ptr<QVAUserAccount>& account, const std::shared_ptr<QVAEvent>& event,
                           ProgressBlock progressBlock, CompletionBlock completionBlock) {
    if (!account || !event) {
        foundation::Log(kMissingAccountMessage);
        if (completionBlock) completionBlock(QVAError::initWithDescription(kMissingAccountMessage), Value());
        return;
    }
    auto items = requestObjectsForAccount(account, event);

    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    auto validity = settings.persistentStoresValidity();
    auto entry = validity.find(settings.getKeyForAccount(account, event));
    if (entry != validity.end() && entry->second.boolValue()) {
        foundation::Log("Event loaded before!");
        auto deltaService = ApplicationService::deltaUpdateService();
        deltaService->resetDeltaLastSyncDate();
        // The store being opened is brought up to date, not the one that
        // happens to be current: the loading screen makes this meeting
        // current only after the completion.
        deltaService->checkForDeltaUpdates(account, event, true, false, false);
        if (completionBlock) completionBlock(nullptr, Value());
        return;
    }
    foundation::Log("Loading all data for the meeting!");
    performMultipleCallsForAuthToken(account->authenticationCode(), event->itemId(), std::move(progressBlock),
                                     std::move(completionBlock), false, items);
}

void performMultipleCallsForAuthToken(const Text& authToken, const Text& eventId, ProgressBlock progressBlock,
                                      CompletionBlock completionBlock, bool /*deleteOnInsert*/,
                                      const std::vector<CallAndWriteParametrizedObjectPtr>& items) {
    std::vector<CallAndWriteParametrizedObjectPtr> calls;
    for (const auto& item : items) {
        if (!item) break;
        calls.push_back(item);
    }
    auto run = std::make_shared<Run>();
    run->total = static_cast<int32_t>(calls.size());
    run->progressBlock = std::move(progressBlock);

    for (const auto& item : calls) {
        run->group->enter();
        if (item->isAnXMLCall())
            runFeedCall(run, item, authToken, eventId);
        else
            runListCall(run, item, authToken, eventId);
    }

    run->group->notify(dispatch::Queue::main(), [run, authToken, eventId, completionBlock = std::move(completionBlock)] {
        // Done means stored: the writes completed once the main-queue context
        // held their rows, the file gets them after. Until then the store
        // is not complete on disk, and the first screen's fetch would queue
        // behind the last list's file save.
        StorageManager::sharedStorageManager().waitForPendingFileSavesForAuthToken(
            authToken, eventId, [run, completionBlock](ErrorPtr fileError, Value) {
                // Rows that did not reach the file leave the store incomplete
                // (loaded again next time), though the screens have them.
                if (fileError) run->failed = true;
                foundation::Log("syncGroupLoadAllData ready");
                if (!completionBlock) foundation::Log("Error here, completion block is nil");
                if (!run->failed) {
                    if (completionBlock) completionBlock(nullptr, Value());
                    return;
                }
                foundation::Log("%@", kFailedMessage);
                auto error = QVAError::initWithDescription(kFailedMessage);
                if (completionBlock) completionBlock(error, Value(run->importantFailed));
            });
    });
}

void callFinishedForServiceName(const Text& serviceName, const dispatch::GroupPtr& group,
                                const ProgressBlock& progressBlock, int32_t nrOfFinishedCalls, int32_t totalNrOfCalls) {
    foundation::Log("Call finished for service name %@", Value(serviceName));
    if (progressBlock) progressBlock(nrOfFinishedCalls, totalNrOfCalls, serviceName);
    group->leave();
}

}  // namespace QVAApiManagerFullDownload

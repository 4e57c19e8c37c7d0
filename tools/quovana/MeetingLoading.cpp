// The commands drive the app's own operations and only watch them: the
// loading bookkeeping is the app's (EventLoader), the delta decision the
// delta update service's. Two of those report nothing back but log lines (the
// delta engine's "Delta ready!!") and the settings store (the last delta
// time), and that is what is watched.
#include "quovana/MeetingLoading.h"
#include "quovana/CurrentMeeting.h"
#include "quovana/FailureCause.h"
#include "quovana/FloorPlansRecord.h"
#include "quovana/StoreFiles.h"

#include <ostream>

#include "api/ApplicationService.h"
#include "settings/ApplicationSettingsStore.h"
#include "api/DeltaUpdateService.h"
#include "api/LoadingScreenHook.h"
#include "api/QVAApiManager.h"
#include "api/QVAApiManagerDelta.h"
#include "api/ServiceFailureRecorder.h"
#include "app/EventLoader.h"
#include "maps/InteractiveMapsServices.h"
#include "model/QVAEvent.h"
#include "model/QVAUserAccount.h"
#include "store/CoreDataStack.h"
#include "store/StorageManager.h"

using foundation::Value;

namespace quovana {

namespace {

constexpr double kMapsTimeoutSeconds = 120;

bool storeMarkedComplete(const std::shared_ptr<QVAUserAccount>& account, const std::shared_ptr<QVAEvent>& event) {
    return recordedStoreValidity(account, event).value_or(false);
}

// Waits for the delta run that was just started to log its end.
bool awaitDelta(CommandContext& context, size_t readyBefore) {
    return context.pump([&] { return context.logCount(kDeltaReadyLog) > readyBefore; });
}

// The service decides silently; this tells the user why nothing ran.
int reportSkippedDelta(CommandContext& context, const DeltaDecision& decision) {
    switch (decision.kind) {
        case DeltaDecision::Kind::SkipWithoutAccount:
            return context.fail("no delta update: nobody is logged in");
        case DeltaDecision::Kind::SkipAutomaticUpdatesOff:
            context.out() << "no delta update: automatic content updates are switched off\n";
            break;
        default:
            context.out() << "no delta update: the last one was "
                          << static_cast<long>(decision.secondsSinceLast.value_or(0)) << " s ago (at most one per " << static_cast<long>(DeltaUpdateService::kDeltaThrottleSeconds)
                          << " s unless forced)\n";
    }
    return kExitSuccess;
}

// How a floor-plan run the command waits for has ended.
struct LoadingMapsEnd {
    bool ended = false;
    foundation::ErrorPtr error;
    // The maps service answered at once because another run was under way:
    // nothing was fetched for this one.
    bool overtook = false;

    void end(const foundation::ErrorPtr& failure) {
        error = failure;
        overtook = !failure && ApplicationSettingsStore::sharedApplicationSettingsStore()
                                   .currentEventIsDownloadingOrParsingIMaps();
        ended = true;
    }
};

// The call a failure came from, as the path below the service root when it
// names one, with the service's reason.
std::string loadingFailedCall(const foundation::ErrorPtr& error) {
    std::string call = error->failingURLString().value_or("a call");
    if (const size_t api = call.find("/api/"); api != std::string::npos) call = call.substr(api + 5);
    return call + ": " + describeError(error);
}

// Waits for the floor-plan run the bookkeeping started, and answers why the
// meeting's plans are not all there, or nothing. Its answer stands unless it
// started before the venues were brought up to date (the delta of a store
// already complete) or found another run under way (the delta's silent
// refresh, a screen's): then, once no run is under way, the plans of the
// venues as they now stand are downloaded and parsed, and that run's end is
// the answer. The parse runs on a worker after the download's flag is
// lowered, so the command waits for each run's own end: a process that
// ended under a running parse would tear the maps service down beneath it.
std::optional<std::string> awaitLoadingFloorPlans(CommandContext& context,
                                                  const std::shared_ptr<QVAUserAccount>& account,
                                                  const std::shared_ptr<QVAEvent>& event, LoadingMapsEnd& bookkeeping,
                                                  bool afterDelta) {
    const std::string didNotEnd = "their download did not end";
    if (!context.pump([&] { return bookkeeping.ended; }, kMapsTimeoutSeconds)) return didNotEnd;
    auto& maps = InteractiveMapsServices::instance();
    const auto token = account->authenticationCode();
    const auto eventId = event->itemId();
    LoadingMapsEnd end = bookkeeping;
    if (afterDelta || bookkeeping.overtook) {
        auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
        if (!context.pump([&] { return !settings.currentEventIsDownloadingOrParsingIMaps(); }, kMapsTimeoutSeconds))
            return "a download of them already under way did not end";
        auto own = std::make_shared<LoadingMapsEnd>();
        maps.downloadAndParseInteractiveMapsForAuthCode(token, eventId,
                                                        [own](const foundation::ErrorPtr& error) { own->end(error); });
        if (!context.pump([&] { return own->ended; }, kMapsTimeoutSeconds)) return didNotEnd;
        end = *own;
    }
    if (end.error) {
        context.err() << "floor plans: download ended with an error: " << end.error->localizedDescription() << "\n";
        return end.error->localizedDescription();
    }
    if (!maps.hasInteractiveMapsForAuthCode(token, eventId))
        context.err() << "floor plans: the meeting has none\n";
    else if (end.overtook)
        // Another run started in between and is still under way.
        return "a download of them was under way and did not end";
    else
        context.err() << "floor plans downloaded\n";
    return std::nullopt;
}

}  // namespace

int loadMeeting(CommandContext& context, const std::shared_ptr<QVAUserAccount>& account,
                const std::optional<std::string>& eventId) {
    const std::string failed = EventLoader::kLoadingFailedMessage;
    auto fetched = context.await([&](QVAApiManager::CallCompletion completion) {
        QVAApiManager::sharedApiManager().getEventWithId(eventId, account->authenticationCode(), completion);
    });
    if (!fetched) return context.fail(failed + " (the service did not answer)");
    auto event = fetched->result.objectAs<QVAEvent>();
    if (fetched->error || !event || !event->itemId())
        return context.fail(fetched->error ? messageWithCause(failed, fetched->error) : failed + " (no meeting)");
    context.err() << "meeting " << event->eventName().value_or("(unnamed)") << " (" << *event->itemId() << ")\n";

    foundation::ErrorPtr openError;
    StorageManager::sharedStorageManager().initCoreDataStackForAuthToken(
        account->authenticationCode(), event->itemId(),
        [&](foundation::ErrorPtr error, std::shared_ptr<CoreDataStack>) { openError = error; });
    if (openError) return context.fail(failed + " " + describeError(openError));

    const bool complete = storeMarkedComplete(account, event);
    // Said where the progress lines would be, which this road has none of.
    if (complete) context.out() << "the store was complete: a forced delta update runs instead of the full download\n";
    context.watchLog(kDeltaReadyLog);
    const size_t readyBefore = context.logCount(kDeltaReadyLog);
    // How the floor-plan download the bookkeeping starts has ended.
    auto maps = std::make_shared<LoadingMapsEnd>();
    // Progress reaches the context only while the command waits for it.
    auto waiting = std::make_shared<bool>(true);
    auto outcome = context.await([&](std::function<void(const foundation::ErrorPtr&, const Value&)> done) {
        EventLoader::loadAllDataForAccount(
            account, event,
            [&context, waiting](int32_t finished, int32_t total, const std::optional<std::string>& name) {
                if (!*waiting) return;
                context.out() << finished << "/" << total << " " << name.value_or("(no feed)") << "\n";
                context.out().flush();
            },
            [done](const foundation::ErrorPtr& error) { done(error, Value()); }, false,
            [maps](const foundation::ErrorPtr& error) { maps->end(error); });
    });
    *waiting = false;
    if (!outcome) return context.fail(failed + " (the download did not finish)");
    if (outcome->error) return context.fail(messageWithCause(describeError(outcome->error)));
    // The content's first failure, before the floor plans add theirs.
    foundation::ErrorPtr contentFailure = ServiceFailureRecorder::firstFailure();
    bool deltaFailed = false;
    if (complete) {
        // The app ran the forced delta instead of the download.
        if (!awaitDelta(context, readyBefore)) return context.fail("the delta update did not finish");
        // A refused token ends the session whatever the store holds.
        if (ServiceFailureRecorder::firstRefusedToken()) return context.fail(messageWithCause(failed));
        // The road forgot the last delta's time; only a good run sets it.
        deltaFailed = !ApplicationSettingsStore::sharedApplicationSettingsStore().lastDeltaSyncDateTime();
        contentFailure = ServiceFailureRecorder::firstFailure();
    }
    // A load is done only with its plans: one that failed fails the load.
    const std::optional<std::string> plansMissing = awaitLoadingFloorPlans(context, account, event, *maps, complete);
    if (!recordFloorPlansOutcome(account, event, plansMissing))
        context.err() << "quovana: the home could not keep what this load found of the floor plans\n";
    if (!storeFilesWritten(context)) return kExitFailure;
    const bool contentComplete = storeMarkedComplete(account, event);
    std::string shortfall;
    if (!contentComplete || deltaFailed) {
        // The store kept what it had; the calls that failed are named.
        shortfall = deltaFailed ? "the delta update failed" : "some calls that are not important failed";
        if (contentFailure) shortfall += " (the first: " + loadingFailedCall(contentFailure) + ")";
    }
    if (plansMissing) shortfall += (shortfall.empty() ? "" : "; ") + std::string("the floor plans are not all there");
    context.out() << "loaded " << event->eventName().value_or("(unnamed)") << " (" << *event->itemId() << "): "
                  << (shortfall.empty() ? "complete" : "incomplete, " + shortfall) << "\n";
    if (plansMissing) return context.fail("the floor plans are incomplete: " + *plansMissing);
    return kExitSuccess;
}

int checkForDeltaUpdates(CommandContext& context, bool force, bool isAutoUpdate, bool checkForNewEvent) {
    // As at the application's start, the current meeting's store is opened
    // first: the delta reads and writes it through the store front's cache.
    if (!openCurrentMeeting(context)) return kExitFailure;
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    // The new-meeting offer's "Load" goes to the loading screen; here the
    // load runs once the pump is back, not inside the alert's button.
    struct Offer {
        std::shared_ptr<QVAUserAccount> account;
        std::string eventId;
    };
    auto offer = std::make_shared<std::optional<Offer>>();
    LoadingScreenHook::setLoader([offer](const std::shared_ptr<QVAUserAccount>& account, const std::string& eventId) {
        *offer = Offer{account, eventId};
    });
    context.watchLog(kDeltaReadyLog);
    context.watchLog(kDeltaUpdateLog);
    context.watchLog(kDeltaDeleteLog);
    const size_t readyBefore = context.logCount(kDeltaReadyLog);
    const size_t updatesBefore = context.logLines(kDeltaUpdateLog).size();
    const size_t deletesBefore = context.logLines(kDeltaDeleteLog).size();
    const auto lastBefore = settings.lastDeltaSyncDateTime();
    const DeltaDecision decision =
        ApplicationService::deltaUpdateService()->checkForDeltaUpdates(force, isAutoUpdate, checkForNewEvent);
    if (!decision.runs()) {
        LoadingScreenHook::setLoader(nullptr);
        return reportSkippedDelta(context, decision);
    }
    bool finished = context.pump([&] { return context.logCount(kDeltaReadyLog) > readyBefore || offer->has_value(); });
    LoadingScreenHook::setLoader(nullptr);
    if (!finished) return context.fail("the delta update did not finish");
    // A run may have started the silent floor-plan refresh, which downloads
    // on other threads; the process must not end beneath it.
    context.pump([&] { return !settings.currentEventIsDownloadingOrParsingIMaps(); }, kMapsTimeoutSeconds);
    if (offer->has_value()) {
        context.out() << "loading the new meeting " << (*offer)->eventId << "\n";
        return loadMeeting(context, (*offer)->account, (*offer)->eventId);
    }
    if (!storeFilesWritten(context)) return kExitFailure;
    const auto lastAfter = settings.lastDeltaSyncDateTime();
    if (!lastAfter || (lastBefore && lastAfter->timeIntervalSinceReferenceDate() ==
                                         lastBefore->timeIntervalSinceReferenceDate()))
        return context.fail(messageWithCause(QVAApiManagerDelta::kDeltaFailedMessage));
    // What the engine stored and removed, from its "STORED ON <entity> nr =
    // <n>" and "DELETE ON <entity> nr = <n>" lines; a kind that stored none
    // of what it fetched changed nothing.
    auto report = [&](const char* fragment, size_t skip, const char* what) {
        size_t shown = 0;
        auto lines = context.logLines(fragment);
        for (size_t i = skip; i < lines.size(); ++i) {
            auto at = lines[i].find(fragment);
            auto nr = lines[i].find(" nr = ", at);
            if (nr == std::string::npos || lines[i].compare(nr + 6, std::string::npos, "0") == 0) continue;
            const size_t nameAt = at + std::string(fragment).size();
            context.out() << "  " << lines[i].substr(nameAt, nr - nameAt) << ": " << lines[i].substr(nr + 6) << " "
                          << what << "\n";
            ++shown;
        }
        return shown;
    };
    size_t changes = report(kDeltaUpdateLog, updatesBefore, "new or changed");
    changes += report(kDeltaDeleteLog, deletesBefore, "removed");
    context.out() << (changes ? "delta update done\n" : "delta update done: nothing new or removed\n");
    return kExitSuccess;
}

}  // namespace quovana

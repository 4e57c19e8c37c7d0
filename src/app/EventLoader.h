// What the loading screen does with a meeting whose store is open: the full
// download with progress, then the bookkeeping of its outcome. The loading
// screen and the command-line front both go through here, so the validity
// map, the current account and meeting and the map download are kept the
// same way whoever loads.
//
// Outcome of the download:
// - success: the store is marked complete (YES) in the validity map;
// - only calls that are not important failed: marked incomplete (NO), so
//   the next opening downloads it again;
// - in both cases the account and meeting become current, the analytics
//   super-properties are registered for them and the meeting's map download
//   starts;
// - an important call failed: logged, the validity entry and the store are
//   removed, and the error "An error occurred while loading the event.
//   Please try again." is reported; nothing becomes current.
//
// A clear-cache reload (the current store was moved aside as a copy before
// the download) drops that copy on success or secondary failures; on an
// important failure it only logs and reports, touching neither the store nor
// the validity map, so the caller can put the copy back.
//
// Main thread only.
#pragma once

#include <functional>
#include <memory>

#include "api/QVAApiManager_FullDownload.h"
#include "foundation/Error.h"
#include "model/QVAEvent.h"
#include "model/QVAUserAccount.h"

class EventLoader {
public:
    static constexpr const char* kImportantCallFailedLog =
        "Unable to load all data. One of the important calls failed.";
    static constexpr const char* kLoadingFailedMessage = "An error occurred while loading the event. Please try again.";
    // Logged when the map download started by the bookkeeping has ended,
    // followed by " with an error: <text>" when it failed.
    static constexpr const char* kMapsDownloadEndedLog = "Interactive maps download ended";

    // (none: the meeting is loaded and current; or the loading error).
    using Completion = std::function<void(const foundation::ErrorPtr& error)>;
    // (none: the meeting's floor plans are there; or why not), when the map
    // download the bookkeeping started has ended, on the main queue.
    using MapsCompletion = std::function<void(const foundation::ErrorPtr& error)>;

    EventLoader() = delete;

    // The full download of the meeting into its store (opened by the
    // caller), then finishLoading. The completion always runs, on the main
    // queue or, for a store already complete, before this returns; the maps
    // completion only when the bookkeeping started the map download.
    static void loadAllDataForAccount(const std::shared_ptr<QVAUserAccount>& account,
                                      const std::shared_ptr<QVAEvent>& event,
                                      QVAApiManagerFullDownload::ProgressBlock progressBlock, Completion completion,
                                      bool shouldClearCacheAndReloadContent = false,
                                      MapsCompletion mapsCompletion = nullptr);

    // Full downloads started here whose completion has not yet run: what a
    // driver of the screens waits for before it calls the screen settled.
    static int loadsInProgress();

    // The bookkeeping of a finished full download (its completion's two
    // values); returns the loading error or none.
    static foundation::ErrorPtr finishLoading(const std::shared_ptr<QVAUserAccount>& account,
                                              const std::shared_ptr<QVAEvent>& event,
                                              const foundation::ErrorPtr& downloadError, bool importantCallFailed,
                                              bool shouldClearCacheAndReloadContent = false,
                                              MapsCompletion mapsCompletion = nullptr);
};

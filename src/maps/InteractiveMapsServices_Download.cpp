// The download side of the maps service: its own download of a meeting's map
// files, and the silent re-download of old files during a delta update.
//
// The settings store's downloading-or-parsing flag is the one guard: the API
// client raises it when a download starts and the completions here lower it,
// so no two map downloads of the current meeting overlap. It stands for the
// current meeting's run only: a change of meeting lowers it, and an
// overtaken run's completions leave it alone.
#include "maps/InteractiveMapsServices.h"

#include "Utils/Utils.h"
#include "settings/ApplicationSettingsStore.h"
#include "api/QVAApiManager.h"
#include "foundation/Date.h"
#include "foundation/FileManager.h"
#include "foundation/Log.h"
#include "model/QVAError.h"
#include "model/QVAImapsLinksModel.h"

namespace {

// A silent update only replaces maps that were downloaded once (not the
// "never updated" instants near 1970) and are older than this.
constexpr double kNeverUpdatedBefore1970Seconds = 200;
constexpr double kSilentUpdateAgeSeconds = 7200;
// What a failed download stores as the last update: "never updated".
constexpr double kFailedUpdateSince1970Seconds = 100;

foundation::ErrorPtr overtakenRunError() {
    return QVAError::initWithDescription("The map run was overtaken by a change of meeting");
}

}  // namespace

void InteractiveMapsServices::downloadAndParseInteractiveMapsForAuthCode(const std::optional<std::string>& authCode,
                                                                         const std::optional<std::string>& eventId,
                                                                         DownloadCompletion completion) {
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    // Without maps the client would start nothing and never complete.
    if (!hasInteractiveMapsForAuthCode(authCode, eventId) || settings.currentEventIsDownloadingOrParsingIMaps()) {
        if (completion) completion(nullptr);
        return;
    }
    const MapRun run = beginMapRun(authCode, eventId);
    QVAApiManager::sharedApiManager().downloadInteractiveMapsForAuthCode(
        authCode, eventId,
        [this, run, completion = std::move(completion)](const foundation::ErrorPtr& error, const foundation::Value&) {
            // The files of an overtaken run stay on disk for a later return
            // to its meeting; nothing else of it is kept.
            if (!isCurrentMapRun(run)) {
                if (completion) completion(overtakenRunError());
                return;
            }
            auto& store = ApplicationSettingsStore::sharedApplicationSettingsStore();
            store.setLastUpdateTimeInteractiveMaps(
                error ? foundation::Date::fromTimeIntervalSince1970(kFailedUpdateSince1970Seconds)
                      : foundation::Date::now());
            if (error || !run.authCode || !run.eventId) {
                const auto failure = error ? error : QVAError::initWithDescription("No account or meeting to load maps for");
                finishMapRun(run, failure);
                if (completion) completion(failure);
                return;
            }
            // The flag stays raised while the plans are parsed, so no other
            // download replaces files under the parse.
            parseMapRun(run, floorPlanFilesForAuthCode(run.authCode, run.eventId),
                        [this, run, completion](const foundation::ErrorPtr& parseError) {
                            if (!isCurrentMapRun(run)) {
                                if (completion) completion(overtakenRunError());
                                return;
                            }
                            finishMapRun(run, parseError);
                            if (completion) completion(parseError);
                        });
        });
}

void InteractiveMapsServices::updateInteractiveMapsFilesOnlyForAuthCode(const std::optional<std::string>& authCode,
                                                                        const std::optional<std::string>& eventId) {
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    const auto links = getAllImapsLinksModelArrayForAuthCode(authCode, eventId);
    if (links.empty()) return;
    const auto lastUpdate = settings.lastUpdateTimeInteractiveMaps();
    if (!lastUpdate || lastUpdate->timeIntervalSince1970() < kNeverUpdatedBefore1970Seconds) return;
    if (-lastUpdate->timeIntervalSinceNow() <= kSilentUpdateAgeSeconds) return;
    if (!allMapFilesOnDiskForAuthCode(authCode, eventId)) return;
    if (settings.currentEventIsDownloadingOrParsingIMaps()) return;

    foundation::Log("IMAPS SILENT UPDATE CALLED ON DELTA UPDATES");
    const MapRun run = beginMapRun(authCode, eventId);
    QVAApiManager::sharedApiManager().downloadInteractiveMapsForAuthCode(
        authCode, eventId, [this, run](const foundation::ErrorPtr& error, const foundation::Value&) {
            // The running flag of a later meeting is not this update's.
            if (!isCurrentMapRun(run)) return;
            auto& store = ApplicationSettingsStore::sharedApplicationSettingsStore();
            if (!error) {
                store.setLastUpdateTimeInteractiveMaps(foundation::Date::now());
            } else {
                foundation::Log(
                    "Error updating interactive maps - no problem, we'll be using the old ones, hopefully won't be "
                    "inconsistencies- some files updated and some not");
            }
            store.setCurrentEventIsDownloadingOrParsingIMaps(false);
        });
}

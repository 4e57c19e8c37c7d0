// The download side of the maps service: its own download of a meeting's map
// files, and the silent re-download of old files during a delta update.
//
// The settings store's downloading-or-parsing flag is the one guard: the API
// client raises it when a download starts and the completions here lower it,
// so no two map downloads of the current meeting overlap.
#include "maps/InteractiveMapsServices.h"

#include "Utils/Utils.h"
#include "settings/ApplicationSettingsStore.h"
#include "api/QVAApiManager.h"
#include "foundation/Date.h"
#include "foundation/FileManager.h"
#include "foundation/Log.h"
#include "model/QVAImapsLinksModel.h"

namespace {

// A silent update only replaces maps that were downloaded once (not the
// "never updated" instants near 1970) and are older than this.
constexpr double kNeverUpdatedBefore1970Seconds = 200;
constexpr double kSilentUpdateAgeSeconds = 7200;
// What a failed download stores as the last update: "never updated".
constexpr double kFailedUpdateSince1970Seconds = 100;

bool allMapFilesOnDisk(const std::vector<std::shared_ptr<QVAImapsLinksModel>>& links,
                       const std::optional<std::string>& authCode, const std::optional<std::string>& eventId) {
    if (!authCode || !eventId) return false;
    auto& files = foundation::FileManager::defaultManager();
    for (const auto& link : links) {
        if (!link->relString()) return false;
        auto path = Utils::cacheImapsUrlStringForFileName(*link->relString(), *authCode, *eventId);
        if (!path || !files.fileExistsAtPath(*path)) return false;
    }
    return true;
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
    QVAApiManager::sharedApiManager().downloadInteractiveMapsForAuthCode(
        authCode, eventId, [this, authCode, eventId, completion = std::move(completion)](
                               const foundation::ErrorPtr& error, const foundation::Value&) {
            auto& store = ApplicationSettingsStore::sharedApplicationSettingsStore();
            store.setLastUpdateTimeInteractiveMaps(
                error ? foundation::Date::fromTimeIntervalSince1970(kFailedUpdateSince1970Seconds)
                      : foundation::Date::now());
            if (error || !authCode || !eventId) {
                store.setCurrentEventIsDownloadingOrParsingIMaps(false);
                if (completion) completion(error);
                return;
            }
            // The flag stays raised while the plans are parsed, so no other
            // download replaces files under the parse.
            parseDownloadedInteractiveMapsForAuthCode(
                *authCode, *eventId, floorPlanFilesForAuthCode(authCode, eventId),
                [completion](const foundation::ErrorPtr& parseError) {
                    ApplicationSettingsStore::sharedApplicationSettingsStore().setCurrentEventIsDownloadingOrParsingIMaps(
                        false);
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
    if (!allMapFilesOnDisk(links, authCode, eventId)) return;
    if (settings.currentEventIsDownloadingOrParsingIMaps()) return;

    foundation::Log("IMAPS SILENT UPDATE CALLED ON DELTA UPDATES");
    QVAApiManager::sharedApiManager().downloadInteractiveMapsForAuthCode(
        authCode, eventId, [](const foundation::ErrorPtr& error, const foundation::Value&) {
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

// The delta update: brings the local store of one account and meeting up to
// date without downloading everything again. Sixteen kinds are compared item
// by item with the service through their revisions ("?fields=id,revision"),
// and only new or changed items are fetched ("?ids=", at most 90 ids per
// address, all addresses at once); six kinds are reloaded whole. All 22 run
// at the same time in one dispatch group; only a run in which every kind
// succeeded stores the time of the last delta sync, which throttles the next
// automatic check. The same run asks the maps service to refresh old map
// files, outside the group.
//
// The operations belong to the API client and run on its shared instance.
// Main thread only: the local read of the revisions runs on the main-queue
// context, and every completion arrives on the main queue. A store write
// that fails while a revision-compared kind is brought up to date fails that
// kind, so the run never records a delta time over missing data.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "foundation/Error.h"
#include "foundation/Value.h"

struct ModelClass;
class QVAEvent;

namespace QVAApiManagerDelta {

using Text = std::optional<std::string>;
// (error or nothing, result or nothing), on the main queue.
using Completion = std::function<void(const foundation::ErrorPtr& error, const foundation::Value& result)>;

// At most this many ids go into one "?ids=" address.
constexpr size_t kMaximumIdsPerRequest = 90;

constexpr const char* kNotConfiguredMessage =
    "Unable to load delta updates. Current account or event is not configured.";
constexpr const char* kDeltaFailedMessage = "Unable to load delta updates!";

// Runs all 22 kinds for the meeting and token, then the map-file refresh.
// Completes with (nothing, nothing) after a fully successful run (the last
// delta-sync time is then now), with "Unable to load delta updates!" when
// any kind failed, and at once with the not-configured error, sending
// nothing, when the meeting id or the token is missing. The completion may
// be empty. The messages follow the current meeting; for a meeting that is
// not current (the forced delta of a meeting opened again) they are reloaded
// into that meeting's store with the token given. The reports are read from
// the current meeting's feed when the meeting is current; another meeting's
// are left as they are, as only the meeting object names its feed.
void loadDeltaUpdatesForEventId(const Text& eventId, const Text& authCode, Completion completionBlock);
// The same run for a meeting object: its reports are read from its own feed
// address, current or not.
void loadDeltaUpdatesForEvent(const std::shared_ptr<QVAEvent>& event, const Text& authCode,
                              Completion completionBlock);
// The run with the reports read from `reportsFeedUrl` (none or empty: the
// reports are left as they are).
void loadDeltaUpdatesForEventId(const Text& eventId, const Text& authCode, const Text& reportsFeedUrl,
                                Completion completionBlock);

// The revision refresh of one kind: lists the ids and revisions at
// `filterServiceName` (all pages, each compared as it comes), deletes the
// stored rows of `entityName` (as read on the main queue while the pages
// arrive) whose key the list no longer names, and fetches the new and changed items
// from `selectionServiceName` followed by their ids, replacing their rows.
// An id that may not join that list (CommaJoinedList) is not fetched, and a
// row left out as unusable at the revision listed now (DeltaLeftOutRows) is
// not fetched again; "STORED ON <entity> nr = <n>" names the rows stored.
// The key is the model class's selection property. Completes with (nothing,
// nothing) on success, with the list's error, with "Failed to load all delta
// updates for <class>" when a fetch failed (the deletions stand), or with the
// store's error when a write failed.
void updateEntity(const std::string& entityName, const std::shared_ptr<const ModelClass>& modelClass,
                  const std::string& filterServiceName, const std::string& selectionServiceName, const Text& eventId,
                  const Text& authCode, Completion completionBlock);

}  // namespace QVAApiManagerDelta

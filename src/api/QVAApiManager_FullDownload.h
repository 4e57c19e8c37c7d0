// The full download: fills the local store of one account and meeting with
// everything the meeting's screens show, 21 JSON lists and the reports feed,
// each replacing every row of its entity. It runs when a meeting is opened
// for the first time; a store that the validity map already marks complete
// gets a forced delta update of that account and meeting instead.
//
// All 22 calls start together and a dispatch group joins them; every
// finished call reports (finished, total, service name); one completion
// reports the overall result and whether one of the eight important calls
// failed. A failed feed is swallowed: the reports call always counts as
// finished.
//
// The operations belong to the API client and run on its shared instance.
// Main thread only: every callback (transport, feed, store, group) runs on
// the main queue, so a run's counter and flags need no lock. Each run has
// its own group, counter and flags.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "api/CallAndWriteParametrizedObject.h"
#include "dispatch/Group.h"
#include "foundation/Error.h"
#include "foundation/Value.h"
#include "model/QVAEvent.h"
#include "model/QVAUserAccount.h"

namespace QVAApiManagerFullDownload {

using Text = std::optional<std::string>;
// (finished calls, total calls, the name of the call that just finished:
// its path with the meeting id filled in, or the feed address; nothing for
// a meeting without a feed).
using ProgressBlock = std::function<void(int32_t finished, int32_t total, const Text& serviceName)>;
// (nothing, nothing) on success; otherwise (the error, YES or NO: whether an
// important call failed).
using CompletionBlock =
    std::function<void(const foundation::ErrorPtr& error, const foundation::Value& importantFailed)>;

inline constexpr const char* kMissingAccountMessage = "Error loading all data, user account is nil!";
inline constexpr const char* kFailedMessage = "Failed to download data. Please reload all data";

// The 22 calls of the meeting, in the order they start. The reports feed is
// the one of the meeting given, not of the current meeting.
std::vector<CallAndWriteParametrizedObjectPtr> requestObjectsForAccount(const std::shared_ptr<QVAUserAccount>& account,
                                                                        const std::shared_ptr<QVAEvent>& event);

// The entry point. Without account or meeting: the error at once and no
// call. A store marked complete: the last delta time is forgotten, a forced
// delta of this account and meeting starts, and (nothing, nothing) comes at
// once. Otherwise the 22 calls.
void loadAllDataForAccount(const std::shared_ptr<QVAUserAccount>& account, const std::shared_ptr<QVAEvent>& event,
                           ProgressBlock progressBlock, CompletionBlock completionBlock);

// Runs the calls up to the first null descriptor, all at once. Every call
// replaces all rows of its entity, whatever `deleteOnInsert` says.
void performMultipleCallsForAuthToken(const Text& authToken, const Text& eventId, ProgressBlock progressBlock,
                                      CompletionBlock completionBlock, bool deleteOnInsert,
                                      const std::vector<CallAndWriteParametrizedObjectPtr>& items);

// Logs the call, reports progress (when there is a callback) and leaves the group.
void callFinishedForServiceName(const Text& serviceName, const dispatch::GroupPtr& group,
                                const ProgressBlock& progressBlock, int32_t nrOfFinishedCalls, int32_t totalNrOfCalls);

}  // namespace QVAApiManagerFullDownload

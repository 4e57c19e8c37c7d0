// The roads of the loading screen and of the delta update service as the
// commands walk them, shared by "load", "delta", "demo" and the new-meeting
// offer's "Load".
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app/EventLoader.h"
#include "quovana/CommandContext.h"

class QVAUserAccount;

namespace quovana {

// The fragment of the delta engine's last log line, which every run writes.
inline constexpr const char* kDeltaReadyLog = "Delta ready!!";
// The fragments of the engine's per-kind lines ("STORED ON <entity> nr = <n>":
// the fetched rows it stored, not those it asked for).
inline constexpr const char* kDeltaUpdateLog = "STORED ON ";
inline constexpr const char* kDeltaDeleteLog = "DELETE ON ";

// The loading screen's road for the account: fetch the meeting (the
// account's current one without an id), open its store, run the full
// download with a "finished/total name" line per finished call, then the
// loading bookkeeping and its floor-plan download. A store already complete
// gets the forced delta update instead, which is waited for. Answers the
// exit code: a failure too when a floor plan did not arrive, which the
// closing "loaded ...: incomplete" line also says.
int loadMeeting(CommandContext& context, const std::shared_ptr<QVAUserAccount>& account,
                const std::optional<std::string>& eventId);

// The delta update service's check with its three flags, waited for. A check
// that decides not to run says why. When the new-meeting offer's "Load" is
// taken, that meeting is loaded instead. Answers the exit code.
int checkForDeltaUpdates(CommandContext& context, bool force, bool isAutoUpdate, bool checkForNewEvent);

}  // namespace quovana

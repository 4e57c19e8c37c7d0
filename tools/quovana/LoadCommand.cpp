// "load [EVENT_ID]": the loading screen's road for the current account.
//
// A load is done only when the meeting's floor plans are too: the app starts
// their download beside the content, and a plan that failed (refused, cut,
// not there) makes the command say so and fail, whatever the content's
// state, so a script notices before the app shows a venue without its plan.
#include <optional>
#include <string>

#include "quovana/Commands.h"
#include "quovana/CurrentMeeting.h"
#include "quovana/MeetingLoading.h"

namespace quovana {

namespace {

// What the loading bookkeeping's end line of the floor plans says after
// `before` lines: nothing when they are all there, else why not.
std::optional<std::string> floorPlansShortfall(const CommandContext& context, size_t before) {
    const auto lines = context.logLines(kMapsEndedLog);
    if (lines.size() <= before) return std::string("their download did not end");
    const std::string& line = lines[before];
    const std::string marker = " with an error: ";
    const auto at = line.find(marker, line.find(kMapsEndedLog));
    if (at == std::string::npos) return std::nullopt;
    return line.substr(at + marker.size());
}

}  // namespace

int runLoadCommand(CommandContext& context, const Arguments& arguments) {
    if (arguments.size() > 1 || (!arguments.empty() && arguments[0].rfind("--", 0) == 0))
        return context.usage("usage: load [EVENT_ID]");
    auto account = requireCurrentAccount(context);
    if (!account) return kExitFailure;
    context.watchLog(kMapsEndedLog);
    const size_t mapsBefore = context.logLines(kMapsEndedLog).size();
    const int status = loadMeeting(context, account, arguments.empty() ? std::nullopt : std::optional(arguments[0]));
    if (status != kExitSuccess) return status;
    if (auto shortfall = floorPlansShortfall(context, mapsBefore))
        return context.fail("the floor plans are incomplete: " + *shortfall);
    return kExitSuccess;
}

}  // namespace quovana

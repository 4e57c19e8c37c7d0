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

std::string loadUsageProblem(const Arguments& arguments) {
    if (arguments.size() > 1 || (!arguments.empty() && arguments[0].rfind("--", 0) == 0))
        return "usage: load [EVENT_ID]";
    return {};
}

int runLoadCommand(CommandContext& context, const Arguments& arguments) {
    if (std::string problem = loadUsageProblem(arguments); !problem.empty()) return context.usage(problem);
    auto account = requireCurrentAccount(context);
    if (!account) return kExitFailure;
    return loadMeeting(context, account, arguments.empty() ? std::nullopt : std::optional(arguments[0]));
}

}  // namespace quovana

// "delta [--force | --auto]": the delta update service as its callers start
// it. Forced: the settings screen's content update (forced, not automatic, no
// new-meeting check). Automatic: becoming active (not forced, automatic, with
// the new-meeting check). Neither: a plain check, throttled, without the
// new-meeting check.
#include "quovana/Commands.h"
#include "quovana/MeetingLoading.h"

namespace quovana {

std::string deltaUsageProblem(const Arguments& arguments) {
    if (arguments.size() > 1 || (arguments.size() == 1 && arguments[0] != "--force" && arguments[0] != "--auto"))
        return "usage: delta [--force | --auto]";
    return {};
}

int runDeltaCommand(CommandContext& context, const Arguments& arguments) {
    if (std::string problem = deltaUsageProblem(arguments); !problem.empty()) return context.usage(problem);
    const std::string mode = arguments.empty() ? std::string() : arguments[0];
    if (mode == "--force") return checkForDeltaUpdates(context, true, false, false);
    if (mode == "--auto") return checkForDeltaUpdates(context, false, true, true);
    return checkForDeltaUpdates(context, false, false, false);
}

}  // namespace quovana

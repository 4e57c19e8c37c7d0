// "load [EVENT_ID]": the loading screen's road for the current account.
#include "quovana/Commands.h"
#include "quovana/CurrentMeeting.h"
#include "quovana/MeetingLoading.h"

namespace quovana {

int runLoadCommand(CommandContext& context, const Arguments& arguments) {
    if (arguments.size() > 1 || (!arguments.empty() && arguments[0].rfind("--", 0) == 0))
        return context.usage("usage: load [EVENT_ID]");
    auto account = requireCurrentAccount(context);
    if (!account) return kExitFailure;
    return loadMeeting(context, account, arguments.empty() ? std::nullopt : std::optional(arguments[0]));
}

}  // namespace quovana

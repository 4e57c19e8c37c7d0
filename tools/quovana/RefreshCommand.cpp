// "refresh KIND": the pull-to-refresh entry points of the lists. The list
// entry points report nothing back: their completions only log one line per
// kind ("Refreshed ..." or "Error while fetching delta for ..."), so the
// command waits for those lines and reads the outcome from them. The
// messages reload and the reports reload have completions of their own.
#include <ostream>
#include <vector>

#include "api/QVAApiManager.h"
#include "api/QVAApiManagerRefresh.h"
#include "foundation/RunLoop.h"
#include "quovana/Commands.h"
#include "quovana/CurrentMeeting.h"
#include "quovana/FailureCause.h"
#include "quovana/StoreFiles.h"

namespace quovana {

namespace {

struct ListRefresh {
    const char* kind;
    void (*start)();
    // A fragment of every line the refresh writes, one of its error lines,
    // and how many lines one refresh writes (one per kind).
    const char* lineFragment;
    const char* errorFragment;
    size_t lines;
};

const ListRefresh kListRefreshes[] = {
    {"agenda", QVAApiManagerRefresh::refreshAgenda, "from Agenda PullToRefresh", "Error while fetching delta for ", 4},
    {"programme", QVAApiManagerRefresh::refreshProgramme, "from Programme PullToRefresh",
     "Error while fetching delta for ", 4},
    {"participants", QVAApiManagerRefresh::refreshParticipants, "Participants", "Error while fetching delta for ", 1},
    {"organizations", QVAApiManagerRefresh::refreshOrganizations, "rganizations", "Error while fetching delta for ",
     1},
    {"partners", QVAApiManagerRefresh::refreshPartners, "Partners", "Error while fetching delta for ", 1},
    {"rooms", QVAApiManagerRefresh::refreshRooms, "Rooms", "Error while fetching delta for ", 1},
    {"venues", QVAApiManagerRefresh::refreshVenues, "Venues", "Error while fetching delta for ", 1},
};

int refreshList(CommandContext& context, const ListRefresh& refresh) {
    // Only the refresh's own lines: "Refreshed Rooms", "Error while fetching
    // delta for Rooms from PullToRefresh : ...".
    const std::string refreshed = std::string("Refreshed ");
    context.watchLog(refresh.lineFragment);
    const size_t before = context.logLines(refresh.lineFragment).size();
    auto ownLines = [&] {
        std::vector<std::string> own;
        auto lines = context.logLines(refresh.lineFragment);
        for (size_t i = before; i < lines.size(); ++i)
            if (lines[i].find(refreshed) != std::string::npos || lines[i].find(refresh.errorFragment) != std::string::npos)
                own.push_back(lines[i]);
        return own;
    };
    refresh.start();
    if (!context.pump([&] { return ownLines().size() >= refresh.lines; }))
        return context.fail(std::string("the ") + refresh.kind + " refresh did not finish");
    // What runs after the group (the calendar mirror) is already queued.
    while (foundation::RunLoop::main().runDueTasks() > 0) {
    }
    context.flushLog();
    size_t errors = 0;
    for (const auto& line : ownLines()) errors += line.find(refresh.errorFragment) != std::string::npos;
    if (errors > 0) return context.fail(messageWithCause(std::string("the ") + refresh.kind + " refresh failed."));
    if (!storeFilesWritten(context)) return kExitFailure;
    context.out() << refresh.kind << " refreshed\n";
    return kExitSuccess;
}

int reportOutcome(CommandContext& context, const std::string& kind, const std::optional<CallOutcome>& outcome) {
    if (!outcome) return context.fail("the " + kind + " refresh did not finish");
    if (outcome->error) return context.fail(messageWithCause("the " + kind + " refresh failed.", outcome->error));
    if (!storeFilesWritten(context)) return kExitFailure;
    context.out() << kind << " refreshed\n";
    return kExitSuccess;
}

// The list refresh of that kind; none for "messages", "reports" and the unknown.
const ListRefresh* listRefreshOfKind(const std::string& kind) {
    for (const auto& candidate : kListRefreshes)
        if (kind == candidate.kind) return &candidate;
    return nullptr;
}

}  // namespace

std::string refreshUsageProblem(const Arguments& arguments) {
    const std::string usage =
        "usage: refresh agenda|programme|participants|organizations|partners|rooms|venues|messages|reports";
    if (arguments.size() != 1) return usage;
    const std::string& kind = arguments[0];
    if (!listRefreshOfKind(kind) && kind != "messages" && kind != "reports")
        return "unknown refresh \"" + kind + "\"; " + usage;
    return {};
}

int runRefreshCommand(CommandContext& context, const Arguments& arguments) {
    if (std::string problem = refreshUsageProblem(arguments); !problem.empty()) return context.usage(problem);
    const std::string& kind = arguments[0];
    const ListRefresh* list = listRefreshOfKind(kind);

    // Every refresh writes into the current meeting's store.
    auto meeting = openCurrentMeeting(context);
    if (!meeting) return kExitFailure;
    if (list) return refreshList(context, *list);
    if (kind == "messages")
        return reportOutcome(context, kind, context.await([](QVAApiManagerRefresh::Completion completion) {
            QVAApiManagerRefresh::refreshMessagesWithCompletionBlock(completion);
        }));
    return reportOutcome(context, kind, context.await([&](QVAApiManager::CallCompletion completion) {
        QVAApiManager::sharedApiManager().refreshReportsForEventId(meeting->eventId, meeting->authToken, completion);
    }));
}

}  // namespace quovana

// "demo": the README's main job. Without --service it starts the local
// meeting service in-process on 127.0.0.1 with the bundled demo meeting (a
// generated meeting of 300 sessions over 4 days and 1,500 participants),
// then walks the app's own roads as a user would: log in as the demo user,
// the full download with progress, one change on the service and a forced
// delta update that brings it in, and a summary of the stored meeting.
//
// The app's own log goes to a file in the home so the terminal shows the
// story; the home is a fresh folder unless one is given, and is kept so the
// stored meeting can be looked at afterwards with "dump".
#include <map>
#include <memory>
#include <utility>
#include <ostream>

#include "foundation/ApplicationHome.h"
#include "foundation/StringUtils.h"
#include "foundation/Value.h"
#include "quovana/Cli.h"
#include "quovana/Commands.h"
#include "quovana/CurrentMeeting.h"
#include "quovana/FreshHome.h"
#include "quovana/KeptLocalService.h"
#include "quovana/LocalServiceState.h"
#include "quovana/MeetingLoading.h"
#include "service/MeetingGenerator.h"
#include "service/MeetingService.h"
#include "store/EntityModel.h"
#include "model/EntityClass.h"

using foundation::Value;

namespace quovana {

namespace {

constexpr size_t kSessionsPerDay = 3;
constexpr size_t kUnreadShown = 5;

std::string text(const Value& value) {
    if (const auto* string = value.string()) return *string;
    return value.isNothing() ? std::string() : value.description();
}

void heading(CommandContext& context, const std::string& title) { context.out() << "\n== " << title << " ==\n"; }

// The stored meeting: rows per entity, the first sessions of each day and
// the unread messages.
void printSummary(CommandContext& context, const CurrentMeeting& meeting) {
    heading(context, "Stored meeting");
    auto model = EntityModel::mergedModel();
    for (const auto* entity : model->entities()) {
        auto entityClass = EntityClass::named(entity->name());
        // Entities nothing writes directly (the base classes) are counted in their sub-entities.
        if (!entityClass || !entityClass->insertOrUpdateCoreDataObject || !entity->subentities().empty()) continue;
        size_t count = countRows(meeting, entity->name());
        if (count == 0) continue;
        std::string name = entity->name().substr(std::string("QVACoreData").size());
        context.out() << "  " << name << std::string(name.size() < 28 ? 28 - name.size() : 1, ' ') << count << "\n";
    }

    heading(context, "First sessions of each day");
    auto sessions = fetchRows(meeting, "QVACoreDataSession", nullptr, {"startDatetime", "title", "itemId"},
                              {coredata::SortDescriptor("startDatetime"), coredata::SortDescriptor("itemId")});
    std::map<std::string, size_t> shownPerDay;
    for (const auto& session : sessions) {
        const std::string start = text(session["startDatetime"]);
        if (start.size() < 16) continue;
        const std::string day = start.substr(0, 10);
        if (shownPerDay[day]++ == 0) context.out() << "  " << day << "\n";
        if (shownPerDay[day] <= kSessionsPerDay)
            context.out() << "    " << start.substr(11, 5) << "  " << text(session["title"]) << "\n";
    }

    auto unread = coredata::Predicate::withFormat("isRead == NO");
    size_t unreadCount = countRows(meeting, "QVACoreDataMessage", unread);
    heading(context, "Unread messages: " + std::to_string(unreadCount));
    auto messages = fetchRows(meeting, "QVACoreDataMessage", unread, {"sentDatetime", "subject", "threadId"},
                              {coredata::SortDescriptor("sentDatetime", false)}, kUnreadShown);
    for (const auto& message : messages)
        context.out() << "  " << text(message["sentDatetime"]).substr(0, 16) << "  " << text(message["subject"])
                      << "  (thread " << text(message["threadId"]) << ")\n";
    if (unreadCount > messages.size()) context.out() << "  ...\n";
}

}  // namespace

std::string demoUsageProblem(const Arguments& arguments) {
    return arguments.empty() ? std::string() : "usage: demo (takes no arguments)";
}

int runDemoCommand(CommandContext& context, const Arguments& arguments) {
    if (std::string problem = demoUsageProblem(arguments); !problem.empty()) return context.usage(problem);

    if (!context.options().home) {
        auto home = makeFreshHome("quovana-demo");
        if (!home) return context.fail("cannot make a folder for the demo's home");
        context.options().home = *home;
        applyGlobalOptions(context.options());
    }
    const std::string home = foundation::ApplicationHome::root();
    const std::string logPath = home + "/quovana-demo.log";
    context.setLogFile(logPath);

    // The demo meeting's size, whatever an earlier run of the home served.
    const testservice::MeetingGeneratorOptions demoMeeting;
    std::pair<int, int> generated = {demoMeeting.sessions, demoMeeting.participants};
    std::unique_ptr<testservice::MeetingService> service;
    if (!context.options().serviceRoot) {
        heading(context, "Starting the local meeting service");
        // On a home an earlier run used, at the address its stores name.
        std::string problem;
        service = startKeptLocalService(context, generated, generated, problem);
        if (!service) return context.fail(problem);
        context.out() << "serving the demo meeting at " << service->rootURL() << "\n";
    }
    context.out() << "application home: " << home << " (the app's log: " << logPath << ")\n";

    heading(context, "Logging in as the demo user");
    if (int status = runLoginCommand(context, {testservice::kDemoUsername, testservice::kDemoPassword}))
        return status;

    heading(context, "Full download");
    if (int status = runLoadCommand(context, {})) return status;

    heading(context, "Delta update (forced)");
    if (service) {
        // One change on the service, so the delta has something to bring.
        auto sessions = service->items(testservice::MeetingKind::Sessions);
        // Made once per home: an earlier demo's change is kept with the
        // service's state and served as it was, not made over it again.
        const std::string change = " (moved to the main hall)";
        if (!sessions.empty() && foundation::StringUtils::hasSuffix(text(sessions.front()["title"]), change)) {
            context.out() << "the service changed session " << text(sessions.front()["id"])
                          << " in an earlier demo on this home\n";
        } else if (!sessions.empty()) {
            Value changed = sessions.front();
            const std::string id = text(changed["id"]);
            changed[std::string("title")] = Value(text(changed["title"]) + change);
            service->putItem(testservice::MeetingKind::Sessions, changed);
            service->bumpRevision(testservice::MeetingKind::Sessions, id);
            // Kept like a write the service takes, before the delta brings
            // it: a later run on this home serves the session as changed,
            // not at the revision before, below what the store holds.
            if (!writeLocalServiceState(*service, generated))
                return context.fail("the local service's state could not be kept in the home");
            context.out() << "the service changed session " << id << "\n";
        }
    }
    if (int status = checkForDeltaUpdates(context, true, false, false)) return status;

    auto meeting = openCurrentMeeting(context);
    if (!meeting) return kExitFailure;
    printSummary(context, *meeting);

    // The app mode on this home serves the meeting at the same address, so
    // the feed, map and document addresses the download stored still answer.
    if (service && !writeLocalServiceState(*service, generated))
        return context.fail("the local service's state could not be kept in the home");
    context.out() << "\nLook around: quovana --home " << home << " dump QVACoreDataSession --fields itemId,title\n";
    return kExitSuccess;
}

}  // namespace quovana

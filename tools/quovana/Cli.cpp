// The dispatcher: global options first (an option's environment variable
// stands in when the option is not given), then the command by name. A
// command that is misused, or that meets a programming error of the app,
// never takes the process down without a message.
#include "quovana/Cli.h"

#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>
#include <utility>

#include "SvgCommand.h"
#include "foundation/ApplicationHome.h"
#include "foundation/Exception.h"
#include "app/MessagesCounterRefreshing.h"
#include "http/QNDeviceEnvironment.h"
#include "maps/InteractiveMapsServices.h"
#include "model/ModelClass.h"
#include "quovana/Commands.h"
#include "quovana/FailureCause.h"
#include "quovana/HomeLock.h"
#include "quovana/KeptLocalService.h"
#include "quovana/LocalServiceState.h"
#include "quovana/OptionsGivenOnce.h"
#include "quovana/ServiceRoot.h"
#include "quovana/StoreFiles.h"
#include "model/EntityClass.h"

namespace quovana {

namespace {

struct Command {
    const char* name;
    int (*run)(CommandContext&, const Arguments&);
    const char* synopsis;
    // Calls the service: on a home the bundled service kept its state in,
    // with no service given, that service answers again for the command.
    bool callsService = false;
    // The arguments' check that comes before the home's lock and service
    // (see Commands.h).
    std::string (*usageProblem)(const Arguments&) = nullptr;
};

const Command kCommands[] = {
    {"login", runLoginCommand, "login USER PASSWORD | login --passcode CODE", true, loginUsageProblem},
    {"load", runLoadCommand, "load [EVENT_ID]", true, loadUsageProblem},
    {"delta", runDeltaCommand, "delta [--force | --auto]", true, deltaUsageProblem},
    {"refresh", runRefreshCommand,
     "refresh agenda|programme|participants|organizations|partners|rooms|venues|messages|reports",
     true, refreshUsageProblem},
    {"dump", runDumpCommand, "dump ENTITY [--where PREDICATE] [--fields a,b,...]"},
    {"settings", runSettingsCommand, "settings get KEY | set KEY JSON | dump | clear"},
    {"outbox", runOutboxCommand, "outbox queue TO_IDS SUBJECT BODY [THREAD] | outbox pass", true, outboxUsageProblem},
    {"thread", runThreadCommand, "thread read ID | thread delete ID", true, threadUsageProblem},
    {"calendar", runCalendarCommand, "calendar list | sync CALENDAR_TITLE | unsync"},
    {"demo", runDemoCommand, "demo", false, demoUsageProblem},
    {"app", runAppCommand,
     "app [--idiom phone|pad] [--screen 375x667@2] [--orientation portrait|landscape] [--system-version V]\n"
     "       [--model NAME] [--zone NAME] [--clock INSTANT] [--reachability none|wifi|wwan] [--gallery]\n"
     "       [--generate SESSIONS,PARTICIPANTS] [--fault METHOD PATH STATUS|stall]... [--shots DIR]\n"
     "       [--shots-scale N] [--ranging on|off] [--location-services on|off] [--location-authorization N]\n"
     "       [--calendar TITLE]... [--script FILE]   (\"quovana app --help\" for its commands)"},
    {"image", runImageCommand, "image URL [--no-inflate] [--scale N] [--png FILE]", true, imageUsageProblem},
    {"filter", runFilterCommand, "filter CLASS [VALUE] [--network NAME]"},
    {"scope", runScopeCommand, "scope PROPERTY TEXT [--entity ENTITY] [--contributors | --organizations]"},
};

const char* kGlobalHelp =
    "Global options (before the command):\n"
    "  --service URL        the service root, ending in \"/api\" (QVA_SERVICE_ROOT)\n"
    "  --home DIR           the application's home (QVA_HOME)\n"
    "  --languages en,fr    preferred languages (QVA_PREFERRED_LANGUAGES)\n"
    "  --answer BUTTON      tap BUTTON on the first alert the app shows; otherwise\n"
    "                       alerts are printed and their first button is tapped\n"
    "Exit status: 0 success, 1 a failure the app reported, 2 bad usage.\n";

const char* kAlertsHelp =
    "Alerts the app shows while a command runs are printed on standard error as\n"
    "  alert: TITLE | MESSAGE | [BUTTON], ...\n"
    "and answered as a user would: with their first button, or the first alert\n"
    "with the button that --answer BUTTON (given before the command) names, e.g.\n"
    "  quovana --answer Load delta --auto\n";

void printHelp(std::ostream& out) {
    out << "Usage: quovana [options] COMMAND [arguments]\n\nCommands:\n";
    for (const auto& command : kCommands) out << "  " << command.synopsis << "\n";
    out << "  svg FILE... [--floor NAME]... [--floors NAME,NAME,...] [--hit X,Y] [--png FILE] [--export]\n"
        << "  alerts               how the alerts the app shows are answered\n\n"
        << kGlobalHelp;
}

std::vector<std::string> splitList(const std::string& text) {
    std::vector<std::string> items;
    std::stringstream stream(text);
    std::string item;
    while (std::getline(stream, item, ','))
        if (!item.empty()) items.push_back(item);
    return items;
}

std::optional<std::string> environment(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value) return std::nullopt;
    return std::string(value);
}

}  // namespace

std::string parseGlobalOptions(Arguments& arguments, GlobalOptions& options) {
    size_t i = 0;
    OptionsGivenOnce once;
    while (i < arguments.size() && arguments[i].rfind("--", 0) == 0) {
        const std::string& option = arguments[i];
        if (option != "--service" && option != "--home" && option != "--languages" && option != "--answer")
            break;  // "--help" and friends are left for the dispatcher
        if (std::string repeated = once.repeated(option); !repeated.empty()) return repeated;
        if (i + 1 >= arguments.size() || arguments[i + 1].empty()) return option + " needs a value";
        const std::string& value = arguments[i + 1];
        if (option == "--service") options.serviceRoot = value;
        if (option == "--home") options.home = value;
        if (option == "--languages") options.languages = splitList(value);
        if (option == "--answer") options.answer = value;
        i += 2;
    }
    arguments.erase(arguments.begin(), arguments.begin() + static_cast<std::ptrdiff_t>(i));
    if (!options.serviceRoot) options.serviceRoot = environment("QVA_SERVICE_ROOT");
    if (!options.home) options.home = environment("QVA_HOME");
    if (!options.languages)
        if (auto languages = environment("QVA_PREFERRED_LANGUAGES")) options.languages = splitList(*languages);
    if (options.serviceRoot && !isValidServiceRoot(*options.serviceRoot))
        return "the service root must be an http or https address, e.g. https://host/api; got \"" +
               *options.serviceRoot + "\"";
    return {};
}

void applyGlobalOptions(const GlobalOptions& options) {
    // The home is made (owner-only) by the lock that claims it.
    if (options.home) foundation::ApplicationHome::setRoot(*options.home);
    if (options.serviceRoot) setServiceRoot(*options.serviceRoot);
    if (options.languages) QNDeviceEnvironment::setPreferredLanguages(*options.languages);
    // Requests name the device the app runs as, not this machine.
    QNDeviceEnvironment::adoptCurrentDevice();
    registerModelClasses();
    registerEntityClasses();
    // The badge and the map files the services reach, as the app's shell
    // installs them.
    installMessagesBadgeFinder();
    InteractiveMapsServices::installMapFilesHook();
}

int runCli(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    return runCli(arguments, std::cin, out, err);
}

int runCli(const Arguments& original, std::istream& in, std::ostream& out, std::ostream& err) {
    CommandContext context(in, out, err);
    Arguments arguments = original;
    if (std::string problem = parseGlobalOptions(arguments, context.options()); !problem.empty())
        return context.usage(problem);
    if (arguments.empty()) {
        printHelp(err);
        return kExitUsage;
    }
    const std::string name = arguments.front();
    const Arguments rest(arguments.begin() + 1, arguments.end());
    if (name == "help" || name == "--help" || name == "-h" || name == "alerts") {
        if (!rest.empty()) return context.usage(name + " takes no arguments");
        if (name == "alerts")
            out << kAlertsHelp;
        else
            printHelp(out);
        return kExitSuccess;
    }
    if (name == "svg") return tools::runSvgCommand(rest);
    for (const auto& command : kCommands) {
        if (name != command.name) continue;
        if (command.usageProblem)
            if (std::string problem = command.usageProblem(rest); !problem.empty()) return context.usage(problem);
        if (name == "app")
            if (std::string problem = appUsageProblem(rest, !context.options().serviceRoot); !problem.empty())
                return context.usage(problem);
        applyGlobalOptions(context.options());
        // Every command reads the settings or the store of the home; the demo
        // and the app mode without a home make a fresh one (and lock it).
        std::optional<HomeLock> lock;
        if ((name != "demo" && name != "app") || context.options().home) {
            lock.emplace(foundation::ApplicationHome::root());
            if (!lock->held()) return context.fail(lock->problem());
        }
        // The service root and addresses the demo or the app mode stored
        // here name the bundled service: it answers again, not a dead port.
        std::unique_ptr<testservice::MeetingService> service;
        std::pair<int, int> generated;
        if (command.callsService && !context.options().serviceRoot && homeKeepsLocalService()) {
            std::string problem;
            service = startKeptLocalService(context, std::nullopt, generated, problem);
            if (!service) return context.fail(problem);
            context.err() << "quovana: the home's local meeting service answers at " << service->rootURL() << "\n";
        }
        forgetServiceFailures();
        int status = kExitFailure;
        try {
            status = command.run(context, rest);
        } catch (const foundation::Exception& exception) {
            // A programming error of the app: said plainly, not a crash.
            status = context.fail(std::string("the app raised an exception: ") + exception.what());
        }
        // What the command changed there (a sent message, a thread read) is
        // kept for the next one.
        if (service && !writeLocalServiceState(*service, generated))
            status = context.fail("the local service's state could not be kept in the home");
        // Nothing the command wrote may be lost when the process ends.
        if (status != kExitSuccess)
            awaitStoreFiles(context);
        else if (!storeFilesWritten(context))
            status = kExitFailure;
        return status;
    }
    // The global options are known above; anything else before the command
    // is a misspelt one, not a command.
    if (name.rfind("-", 0) == 0)
        return context.usage("unknown option \"" + name + "\"");
    return context.usage("unknown command \"" + name + "\"");
}

}  // namespace quovana

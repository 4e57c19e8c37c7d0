// The command-line front of the app. Until the screens exist it shows the
// foundation at work: the service's date form, hashing, and settings that
// survive a restart of the program. "quovana svg ..." looks at floor plans.
#include <cstdio>
#include <string>
#include <vector>

#include "SvgCommand.h"

#include "foundation/ApplicationHome.h"
#include "foundation/Crypto.h"
#include "foundation/DateFormatter.h"
#include "foundation/Locale.h"
#include "foundation/Log.h"
#include "foundation/RunLoop.h"
#include "foundation/UserDefaults.h"
#include "dispatch/Queue.h"

using namespace foundation;

// Fontconfig keeps its caches until the process ends; under the leak checker
// that would fail every run that draws text.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

int main(int argc, char** argv) {
    (void)RunLoop::main();
    if (argc > 1 && std::string(argv[1]) == "svg") {
        return tools::runSvgCommand(std::vector<std::string>(argv + 2, argv + argc));
    }
    Log("Quovana %@ (headless) - home %@", "3.4", ApplicationHome::root());

    auto& defaults = UserDefaults::standardUserDefaults();
    int64_t launches = defaults.integerForKey("demoLaunchCount") + 1;
    defaults.setInteger(launches, "demoLaunchCount");
    Log("Launch number %ld (kept in %@)", launches, defaults.filePath());

    DateFormatter formatter;
    formatter.setLocale(Locale("en_US"));
    formatter.setDateFormat("yyyy'-'MM'-'dd'T'HH':'mm':'ssZZZ");
    for (const char* text : {"2015-01-21T09:30:00+01:00", "2015-01-21T09:30:00+0100", "2015-01-21T08:30:00Z"}) {
        auto date = formatter.dateFromString(text);
        Log("%@ -> %@", text, date ? date->description() : std::string("(unparsable)"));
    }

    // Work done on a background queue reports back on the main loop.
    bool done = false;
    dispatch::Queue::global()->async([&done] {
        std::string hash = Crypto::sha256Hex(std::string_view("abc"));
        dispatch::Queue::main()->async([&done, hash] {
            Log("SHA-256(abc) = %@", hash);
            done = true;
        });
    });
    RunLoop::main().runUntil([&] { return done; }, 10);
    return done ? 0 : 1;
}

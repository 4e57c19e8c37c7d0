// quovana-service: the local meeting service as a program of its own, for
// running the app (or any client of the service's protocol) against a meeting
// on this machine. It prints the service root and serves until it gets
// SIGINT or SIGTERM.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "service/MeetingGenerator.h"
#include "service/MeetingService.h"

using namespace testservice;

// The generated meeting's documents are drawn with text, which loads
// fontconfig's configuration and caches; fontconfig keeps them until the
// process ends. Under the leak checker that would turn every exit, an early
// one on bad arguments or TLS files too, into a leak report.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

namespace {

const char* kUsage =
    "usage: quovana-service [--port N] (--fixtures DIR | --generate SESSIONS,PARTICIPANTS [--seed N])\n"
    "                       [--tls CERT KEY] [--page-size N] [--log FILE] [--write-fixtures DIR]\n"
    "                       [--files-need-token]\n"
    "  Serves one meeting on 127.0.0.1 and prints its service root (\".../api\").\n"
    "  With neither --fixtures nor --generate it generates the demo meeting (300,1500, seed 1).\n"
    "  --files-need-token: the files and the reports feed want the bearer token too.\n";

// The generator's seed is a whole number that the command line reads as a signed one.
constexpr long long kMaxSeed = 0x7fffffffffffffffLL;

int usage(const std::string& message) {
    std::fprintf(stderr, "quovana-service: %s\n%s", message.c_str(), kUsage);
    return 2;
}

std::optional<long long> number(const std::string& text, long long min, long long max) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    errno = 0;
    long long value = std::strtoll(text.c_str(), &end, 10);
    // Beyond what the type holds, strtoll answers its bound and says so only in errno.
    if (*end != '\0' || errno == ERANGE || value < min || value > max) return std::nullopt;
    return value;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    MeetingService::Options options;
    std::optional<std::string> fixtures, logFile, writeFixtures;
    std::optional<std::pair<int, int>> sizes;
    uint64_t seed = 1;
    // Each option applies once; a second one would silently win.
    std::set<std::string> given;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) == 0 && !given.insert(arg).second) return usage(arg + " is given twice; give it once");
        auto value = [&](const char* what) -> std::optional<std::string> {
            if (i + 1 >= args.size()) return std::nullopt;
            (void)what;
            return args[++i];
        };
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--port") {
            auto text = value("port");
            auto port = text ? number(*text, 1, 65535) : std::nullopt;
            if (!port) return usage("--port needs a port number from 1 to 65535");
            options.port = static_cast<int>(*port);
        } else if (arg == "--fixtures") {
            fixtures = value("directory");
            if (!fixtures) return usage("--fixtures needs a directory");
        } else if (arg == "--generate") {
            auto text = value("sizes");
            sizes = text ? parseGeneratedSizes(*text) : std::nullopt;
            if (!sizes) return usage("--generate needs " + generatedSizesRule());
        } else if (arg == "--seed") {
            auto text = value("seed");
            auto parsed = text ? number(*text, 0, kMaxSeed) : std::nullopt;
            if (!parsed) return usage("--seed needs a whole number from 0 to " + std::to_string(kMaxSeed));
            seed = static_cast<uint64_t>(*parsed);
        } else if (arg == "--tls") {
            if (i + 2 >= args.size()) return usage("--tls needs a certificate file and a key file");
            options.tls = TestServer::TLSFiles{args[i + 1], args[i + 2]};
            i += 2;
        } else if (arg == "--page-size") {
            auto text = value("size");
            auto size = text ? number(*text, 1, 1000000) : std::nullopt;
            if (!size) return usage("--page-size needs a number of at least 1");
            options.pageSize = static_cast<size_t>(*size);
        } else if (arg == "--log") {
            logFile = value("file");
            if (!logFile) return usage("--log needs a file");
        } else if (arg == "--files-need-token") {
            options.filesNeedToken = true;
        } else if (arg == "--write-fixtures") {
            writeFixtures = value("directory");
            if (!writeFixtures) return usage("--write-fixtures needs a directory");
        } else {
            return usage("unknown argument \"" + arg + "\"");
        }
    }
    if (fixtures && sizes) return usage("give either --fixtures or --generate, not both");
    if (options.tls) {
        const std::string problem = TestServer::unusableTLSFiles(*options.tls);
        if (!problem.empty()) {
            std::fprintf(stderr, "quovana-service: cannot serve TLS: %s\n", problem.c_str());
            return 1;
        }
    }

    MeetingData data;
    if (fixtures) {
        std::string error;
        auto loaded = MeetingData::loadFixtures(*fixtures, &error);
        if (!loaded) {
            std::fprintf(stderr, "quovana-service: cannot load the fixtures: %s\n", error.c_str());
            return 1;
        }
        data = std::move(*loaded);
    } else {
        MeetingGeneratorOptions generator;
        generator.seed = seed;
        if (sizes) {
            generator.sessions = sizes->first;
            generator.participants = sizes->second;
        }
        data = generateMeeting(generator);
    }
    if (writeFixtures) {
        std::string error;
        if (!data.writeFixtures(*writeFixtures, &error)) {
            std::fprintf(stderr, "quovana-service: %s\n", error.c_str());
            return 1;
        }
    }

    // Signals are taken by sigwait below; every thread started from here on
    // inherits the block.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    MeetingService service(std::move(data), options);
    std::ofstream log;
    std::mutex logMutex;
    if (logFile) {
        log.open(*logFile, std::ios::app);
        if (!log) {
            std::fprintf(stderr, "quovana-service: cannot write the log file %s\n", logFile->c_str());
            return 1;
        }
        service.setRequestLogSink([&](const std::string& line) {
            std::lock_guard lock(logMutex);
            log << line << '\n';
            log.flush();
        });
    }
    if (!service.start()) {
        std::fprintf(stderr, "quovana-service: cannot listen%s\n",
                     options.port > 0 ? (" on port " + std::to_string(options.port)).c_str()
                                      : (options.tls ? " (check the TLS files)" : ""));
        return 1;
    }
    auto account = service.demoAccount();
    std::printf("%s\n", service.rootURL().c_str());
    std::fprintf(stderr, "meeting %s; user \"%s\" password \"%s\" passcode \"%s\" token %s\n",
                 service.eventId().c_str(), account.username.c_str(), account.password.c_str(),
                 account.passcode.c_str(), account.accessToken.c_str());
    std::fflush(stdout);

    int received = 0;
    sigwait(&signals, &received);
    service.stop();
    return 0;
}

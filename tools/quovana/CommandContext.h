// What every command of the command-line front shares: the global options,
// the two output streams (plain results on one, messages on the other), the
// exit codes, and the pump that runs the main run loop until a command's
// completion has run. While it pumps, alerts the app shows are printed and
// answered, as a user would answer them.
//
// What the app logs while a command runs reaches the message stream from the
// main thread only (lines logged on other threads wait for the next pump), or
// a log file; the context counts the lines holding fragments it was asked to
// watch, for commands whose app operation reports only by logging.
#pragma once

#include <atomic>
#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Error.h"
#include "foundation/Value.h"

namespace uikit {
class UIAlertView;
}

namespace quovana {

using Arguments = std::vector<std::string>;

enum ExitCode : int {
    kExitSuccess = 0,
    // A failure the app reported; its message is printed.
    kExitFailure = 1,
    // The command line itself is wrong.
    kExitUsage = 2,
};

struct GlobalOptions {
    // The service root, ending in "/api" (--service, QVA_SERVICE_ROOT).
    std::optional<std::string> serviceRoot;
    // The application's home (--home, QVA_HOME).
    std::optional<std::string> home;
    // Preferred languages, most preferred first (--languages, QVA_PREFERRED_LANGUAGES).
    std::optional<std::vector<std::string>> languages;
    // The button to tap on the first alert the app shows (--answer).
    std::optional<std::string> answer;
};

// What an (error, result) completion of the app handed back.
struct CallOutcome {
    bool done = false;
    foundation::ErrorPtr error;
    foundation::Value result;
};

// An error as one line: its description, the service's own message and the
// HTTP status when there was one.
std::string describeError(const foundation::ErrorPtr& error);
// The message followed by " (the service says: ...)" with the service's own
// reason for the failure (its answer's "error"), when it gave one that the
// message does not hold already.
std::string withServiceReason(std::string message, const foundation::ErrorPtr& error);

class CommandContext {
public:
    // How long a command waits for the app by default: a full download of a
    // large meeting over a slow link takes minutes, a hung service forever.
    static constexpr double kDefaultTimeoutSeconds = 900;

    // Takes over the app's log until destroyed. Commands that read a script
    // read it from `in` (standard input unless given).
    CommandContext(std::ostream& out, std::ostream& err);
    CommandContext(std::istream& in, std::ostream& out, std::ostream& err);
    ~CommandContext();
    CommandContext(const CommandContext&) = delete;
    CommandContext& operator=(const CommandContext&) = delete;

    GlobalOptions& options() { return options_; }
    const GlobalOptions& options() const { return options_; }
    std::istream& in() { return in_; }
    std::ostream& out() { return out_; }
    std::ostream& err() { return err_; }

    // Whether pump answers the alerts it sees (yes unless switched off: the
    // app mode leaves them on screen for its script to answer).
    void setAnswersAlerts(bool answers) { answersAlerts_ = answers; }

    // Pumps the main run loop until `done` holds or the time is up; answers
    // the alerts shown meanwhile, when it answers them. Main thread only. Returns done()'s value;
    // on a time-out it says so on the message stream.
    bool pump(const std::function<bool()>& done, double timeoutSeconds = kDefaultTimeoutSeconds);
    // pump for a `done` that only main-queue work (or completionArrived())
    // makes true: the ends of other threads' tasks do not wake it, so a long
    // download costs the main thread nothing while its pages are on their way.
    bool pumpMainLoopWork(const std::function<bool()>& done, double timeoutSeconds = kDefaultTimeoutSeconds);
    // Called by a completion that may run off the main queue, after it set
    // what the pump looks at.
    static void completionArrived();

    // Starts an operation with an (error, result) completion and pumps until
    // it ran; nothing when the time ran out (said on the message stream).
    template <class Start>
    std::optional<CallOutcome> await(Start start, double timeoutSeconds = kDefaultTimeoutSeconds) {
        // The completion may come on another thread: the outcome is read
        // only once `arrived` says it is all there.
        struct Pending {
            CallOutcome outcome;
            std::atomic<bool> arrived = false;
        };
        auto pending = std::make_shared<Pending>();
        start([pending](const foundation::ErrorPtr& error, const foundation::Value& result) {
            pending->outcome.error = error;
            pending->outcome.result = result;
            pending->outcome.done = true;
            pending->arrived.store(true, std::memory_order_release);
            completionArrived();
        });
        if (!pumpMainLoopWork([pending] { return pending->arrived.load(std::memory_order_acquire); },
                              timeoutSeconds))
            return std::nullopt;
        return pending->outcome;
    }

    // Prints "quovana: <message>" and answers kExitFailure.
    int fail(const std::string& message);
    // Prints "quovana: <message>" with the usage hint and answers kExitUsage.
    int usage(const std::string& message);

    // Counts, from now on, the app's log lines that hold `fragment`.
    void watchLog(const std::string& fragment);
    size_t logCount(const std::string& fragment) const;
    // The watched lines that hold `fragment`, in logging order.
    std::vector<std::string> logLines(const std::string& fragment) const;
    // Sends the app's log to the file (appended) instead of the message stream.
    bool setLogFile(const std::string& path);
    // Writes the log lines waiting for the main thread.
    void flushLog();
    // Hands over the log lines waiting for the main thread instead, for a
    // command that prints them in its own place.
    std::vector<std::string> takeLog();

    // The alerts printed so far, as "title | message | buttons" lines.
    const std::vector<std::string>& alertLog() const { return alertLog_; }

private:
    bool pumpUntil(const std::function<bool()>& done, double timeoutSeconds, bool mainLoopWorkOnly);
    void answerAlerts();

    void logged(const std::string& line);

    std::istream& in_;
    std::ostream& out_;
    std::ostream& err_;
    GlobalOptions options_;
    bool answersAlerts_ = true;
    bool answerUsed_ = false;
    // Kept alive so that a new alert never shares an old one's address.
    std::vector<std::shared_ptr<uikit::UIAlertView>> seenAlerts_;
    std::vector<std::string> alertLog_;

    mutable std::mutex logMutex_;
    std::vector<std::string> pendingLog_;
    std::map<std::string, size_t> watched_;
    std::map<std::string, std::vector<std::string>> watchedLines_;
    std::unique_ptr<std::ostream> logFile_;
    std::function<void(const std::string&)> previousSink_;
};

}  // namespace quovana

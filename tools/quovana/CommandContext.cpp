// The pump checks the alert stack after every task the main loop runs: an
// alert appears from a task, and its answer is posted as a task of its own so
// that the delegate's reaction runs as the tap's would, not inside the check.
#include "quovana/CommandContext.h"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <ostream>

#include "Utils/ErrorUtility.h"
#include "foundation/JSONSerialization.h"
#include "foundation/Log.h"
#include "foundation/RunLoop.h"
#include "foundation/ServerTrust.h"
#include "foundation/URLErrors.h"
#include "http/QNNetworking.h"
#include "model/QVAError.h"
#include "security/Certificate.h"
#include "security/Policy.h"
#include "security/Trust.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIApplication.h"

namespace quovana {

namespace {

// The refusal of the service's certificate, wherever it lies in the chain:
// the request it ended is reported as merely cancelled.
foundation::ErrorPtr refusedCertificate(const foundation::ErrorPtr& error) {
    for (const auto* link = &error; *link; link = &(*link)->underlyingError())
        if ((*link)->domain() == foundation::kURLErrorDomain &&
            (*link)->code() == foundation::URLError::ServerCertificateUntrusted)
            return *link;
    return nullptr;
}

// The hosts a refused certificate names, when naming only others is what
// is wrong with it: its chain holds under the trust store, only not for the
// host asked for. Empty when it was refused for anything else.
std::vector<std::string> refusedCertificateOtherHosts(const foundation::ServerTrust& presented) {
    auto trust = security::Trust::createWithServerTrust(presented);
    if (!trust) return {};
    trust->setPolicies({security::Policy::createSSL(true, std::nullopt)});
    auto result = security::TrustResult::Invalid;
    if (trust->evaluate(&result) != security::Status::Success ||
        (result != security::TrustResult::Unspecified && result != security::TrustResult::Proceed))
        return {};
    auto leaf = security::Certificate::createWithData(presented.certificateChain().front());
    return leaf ? leaf->hostNames() : std::vector<std::string>{};
}

}  // namespace

std::string describeError(const foundation::ErrorPtr& error) {
    if (!error) return "unknown error";
    if (auto refused = refusedCertificate(error)) {
        const auto address = refused->failingURLString();
        const std::string where = address ? " (" + *address + ")" : std::string();
        const auto presented =
            refused->userInfoValue(foundation::kURLErrorFailingURLPeerTrustErrorKey).objectAs<foundation::ServerTrust>();
        const auto names = presented ? refusedCertificateOtherHosts(*presented) : std::vector<std::string>{};
        if (names.empty())
            return "The service's certificate is not trusted" + where +
                   ": trust its authority in the system's store or through SSL_CERT_FILE";
        std::string named;
        for (const auto& name : names) named += (named.empty() ? "" : ", ") + name;
        return "The service's certificate is for another host" + where + ": it names " + named + ", not " +
               presented->host();
    }
    std::string text = error->localizedDescription();
    if (text.empty()) text = error->domain() + " error " + std::to_string(error->code());
    text = withServiceReason(std::move(text), error);
    if (!error->userInfoValue(ErrorUtility::kErrorResponseObjectKey).isNothing())
        text += " [HTTP " + std::to_string(ErrorUtility::HTTPErrorCode(error)) + "]";
    return text;
}

std::string withServiceReason(std::string message, const foundation::ErrorPtr& error) {
    std::optional<std::string> said;
    if (auto qvaError = std::dynamic_pointer_cast<const QVAError>(error)) {
        said = qvaError->QVAServiceErrorMessage();
    } else if (const auto* body = error ? error->userInfoValue(kQNResponseSerializationErrorDataKey).data() : nullptr) {
        // A feed or file transfer keeps the refused answer's body as it came.
        const foundation::Value answer = foundation::JSONSerialization::JSONObjectWithData(*body);
        if (const auto* text = answer["error"].string()) said = *text;
    }
    // The app's own words may be the service's already ("Invalid passcode").
    if (!said || message.find(*said) != std::string::npos) return message;
    return message + " (the service says: " + *said + ")";
}

CommandContext::CommandContext(std::ostream& out, std::ostream& err) : CommandContext(std::cin, out, err) {}

CommandContext::CommandContext(std::istream& in, std::ostream& out, std::ostream& err)
    : in_(in), out_(out), err_(err) {
    previousSink_ = foundation::setLogSink([this](const std::string& line) { logged(line); });
}

CommandContext::~CommandContext() {
    foundation::setLogSink(previousSink_);
    flushLog();
}

void CommandContext::logged(const std::string& line) {
    bool matched = false;
    {
        std::lock_guard lock(logMutex_);
        for (auto& [fragment, count] : watched_) {
            if (line.find(fragment) == std::string::npos) continue;
            ++count;
            watchedLines_[fragment].push_back(line);
            matched = true;
        }
        if (logFile_)
            *logFile_ << line << "\n";
        else
            pendingLog_.push_back(line);
    }
    // A watched line may be what the pump waits for, and the pump looks only
    // when woken; a line logged on the main thread is seen after its task.
    if (matched && !foundation::isMainThread()) foundation::RunLoop::main().wakeUp();
}

void CommandContext::watchLog(const std::string& fragment) {
    std::lock_guard lock(logMutex_);
    watched_.emplace(fragment, 0);
}

size_t CommandContext::logCount(const std::string& fragment) const {
    std::lock_guard lock(logMutex_);
    auto it = watched_.find(fragment);
    return it == watched_.end() ? 0 : it->second;
}

std::vector<std::string> CommandContext::logLines(const std::string& fragment) const {
    std::lock_guard lock(logMutex_);
    auto it = watchedLines_.find(fragment);
    return it == watchedLines_.end() ? std::vector<std::string>() : it->second;
}

bool CommandContext::setLogFile(const std::string& path) {
    auto file = std::make_unique<std::ofstream>(path, std::ios::app);
    if (!*file) return false;
    std::lock_guard lock(logMutex_);
    logFile_ = std::move(file);
    return true;
}

std::vector<std::string> CommandContext::takeLog() {
    std::lock_guard lock(logMutex_);
    std::vector<std::string> lines;
    lines.swap(pendingLog_);
    return lines;
}

void CommandContext::flushLog() {
    std::vector<std::string> lines;
    {
        std::lock_guard lock(logMutex_);
        lines.swap(pendingLog_);
        if (logFile_) logFile_->flush();
    }
    for (const auto& line : lines) err_ << line << "\n";
}

bool CommandContext::pump(const std::function<bool()>& done, double timeoutSeconds) {
    // What a command waits for changes in a main-queue task, in a queued task
    // whose end wakes the loop, or in a watched log line (logged() wakes it),
    // so the pump sleeps until then instead of looking on a timer.
    return pumpUntil(done, timeoutSeconds, false);
}

bool CommandContext::pumpMainLoopWork(const std::function<bool()>& done, double timeoutSeconds) {
    return pumpUntil(done, timeoutSeconds, true);
}

void CommandContext::completionArrived() {
    if (!foundation::isMainThread()) foundation::RunLoop::main().wakeUp();
}

bool CommandContext::pumpUntil(const std::function<bool()>& done, double timeoutSeconds, bool mainLoopWorkOnly) {
    auto look = [&] {
        flushLog();
        if (answersAlerts_) answerAlerts();
        return done();
    };
    auto& loop = foundation::RunLoop::main();
    bool finished = mainLoopWorkOnly ? loop.runUntilPosted(look, timeoutSeconds) : loop.runUntilWoken(look, timeoutSeconds);
    flushLog();
    if (!finished) err_ << "quovana: gave up waiting after " << timeoutSeconds << " s\n";
    return finished;
}

void CommandContext::answerAlerts() {
    for (const auto& alert : uikit::UIApplication::sharedApplication().visibleAlerts()) {
        if (std::find(seenAlerts_.begin(), seenAlerts_.end(), alert) != seenAlerts_.end()) continue;
        seenAlerts_.push_back(alert);

        std::string buttons;
        for (int64_t i = 0; i < alert->numberOfButtons(); ++i) {
            if (i) buttons += ", ";
            buttons += "[" + alert->buttonTitleAtIndex(i).value_or("") + "]";
        }
        std::string line = alert->title().value_or("") + " | " + alert->message().value_or("") + " | " + buttons;
        alertLog_.push_back(line);
        err_ << "alert: " << line << "\n";
        if (alert->numberOfButtons() == 0) continue;  // nothing to tap; it stays on screen

        int64_t index = 0;
        if (options_.answer && !answerUsed_) {
            answerUsed_ = true;
            bool found = false;
            for (int64_t i = 0; i < alert->numberOfButtons() && !found; ++i)
                if (alert->buttonTitleAtIndex(i) == *options_.answer) index = i, found = true;
            if (!found) err_ << "quovana: the alert has no button \"" << *options_.answer << "\"; taking the first\n";
        }
        err_ << "alert answered: [" << alert->buttonTitleAtIndex(index).value_or("") << "]\n";
        foundation::RunLoop::main().post([alert, index] { alert->dismissWithClickedButtonIndex(index, true); });
    }
}

int CommandContext::fail(const std::string& message) {
    flushLog();
    err_ << "quovana: " << message << "\n";
    return kExitFailure;
}

int CommandContext::usage(const std::string& message) {
    flushLog();
    err_ << "quovana: " << message << "\n"
         << "Run \"quovana help\" for the commands; the options (--service, --home, --languages, --answer) go "
            "before the command.\n";
    return kExitUsage;
}

}  // namespace quovana

// The fatal-signal handlers and the crash record they write (see
// CrashSignalHandler.h). Nothing in the handler allocates, locks or uses stdio.
#include "crashreporting/CrashSignalHandler.h"

#include <fcntl.h>
#include <signal.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <mutex>

#include "crashreporting/CrashLog.h"
#include "foundation/AlternateSignalStack.h"
#include "foundation/Clock.h"

namespace {

constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT};
constexpr size_t kSignalCount = sizeof(kSignals) / sizeof(kSignals[0]);
constexpr size_t kPathCapacity = 4096;

struct sigaction previousActions[kSignalCount];
// Made when the handlers are installed: the handler only reads it.
std::atomic<const CrashLog*> crashLog{nullptr};
char recordPath[kPathCapacity];
char partialPath[kPathCapacity];
std::atomic<bool> handling{false};

const char* signalName(int signal) {
    switch (signal) {
        case SIGSEGV: return "SIGSEGV";
        case SIGBUS: return "SIGBUS";
        case SIGILL: return "SIGILL";
        case SIGFPE: return "SIGFPE";
        case SIGABRT: return "SIGABRT";
        default: return "signal";
    }
}

void writeAll(int fd, const char* bytes, size_t length) {
    while (length > 0) {
        ssize_t n = ::write(fd, bytes, length);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        bytes += n;
        length -= size_t(n);
    }
}

void writeText(int fd, const char* text) { writeAll(fd, text, std::strlen(text)); }

void writeNumber(int fd, int64_t number) {
    char digits[24];
    size_t at = sizeof(digits);
    bool negative = number < 0;
    uint64_t magnitude = negative ? uint64_t(0) - uint64_t(number) : uint64_t(number);
    do {
        digits[--at] = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude > 0);
    if (negative) digits[--at] = '-';
    writeAll(fd, digits + at, sizeof(digits) - at);
}

void writeRecord(int signal) {
    int fd = ::open(partialPath, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return;
    writeText(fd, "Signal: ");
    writeNumber(fd, signal);
    writeText(fd, " ");
    writeText(fd, signalName(signal));
    // Real time: the process is dying and the virtual clock cannot be read
    // without its lock. Seconds since 2001, as every date here counts.
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    writeText(fd, "\nTime: ");
    writeNumber(fd, int64_t(now.tv_sec) - int64_t(foundation::kTimeIntervalSince1970));
    writeText(fd, "\n");
    if (const CrashLog* log = crashLog.load()) {
        size_t length = 0;
        const char* snapshot = log->snapshot(&length);
        writeAll(fd, snapshot, length);
    }
    ::close(fd);
    // Whole or not at all: the next start never sees half a record.
    ::rename(partialPath, recordPath);
}

void handleCrash(int signal, siginfo_t* info, void*) {
    int saved = errno;
    // Only the first crashing thread writes; others go straight on.
    if (!handling.exchange(true)) writeRecord(signal);
    for (size_t i = 0; i < kSignalCount; ++i) {
        if (kSignals[i] != signal) continue;
        struct sigaction previous = previousActions[i];
        if (previous.sa_handler == SIG_IGN) previous.sa_handler = SIG_DFL;
        ::sigaction(signal, &previous, nullptr);
    }
    errno = saved;
    // A fault repeats when the handler returns and meets the previous
    // disposition; a sent signal has to be sent again.
    if (!info || info->si_code <= 0) ::raise(signal);
}

bool copyPath(char* target, const std::string& path) {
    if (path.size() + 1 > kPathCapacity) return false;
    std::memcpy(target, path.c_str(), path.size() + 1);
    return true;
}

}  // namespace

bool CrashSignalHandler::install(const std::string& recordDirectory) {
    static std::mutex mutex;
    static bool installed = false;
    std::lock_guard lock(mutex);
    std::string record = recordDirectory + "/" + kRecordFileName;
    if (!copyPath(recordPath, record) || !copyPath(partialPath, record + ".partial")) return false;
    // The installing thread (the main thread) gets its alternate stack here;
    // the threads the platform starts take theirs as they start.
    if (!foundation::AlternateSignalStack::installForCurrentThread()) return false;
    if (installed) return true;

    // The log exists before any crash: the handler must not create it.
    crashLog.store(&CrashLog::shared());
    for (size_t i = 0; i < kSignalCount; ++i) {
        struct sigaction action{};
        action.sa_sigaction = handleCrash;
        action.sa_flags = SA_SIGINFO | SA_ONSTACK;
        sigemptyset(&action.sa_mask);
        if (::sigaction(kSignals[i], &action, &previousActions[i]) != 0) {
            while (i-- > 0) ::sigaction(kSignals[i], &previousActions[i], nullptr);
            return false;
        }
    }
    installed = true;
    return true;
}

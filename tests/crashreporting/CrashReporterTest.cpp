// The crash reporter: key checks, the bounded crash log, and a crash in a
// second process that the next start reports once.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "crashreporting/CrashLog.h"
#include "crashreporting/CrashReporter.h"
#include "foundation/ApplicationHome.h"
#include "foundation/FileManager.h"
#include "foundation/Log.h"
#include "foundation/Thread.h"
#include "support/ChildProcess.h"
#include "support/TemporaryDirectory.h"


using namespace foundation;

namespace {

constexpr const char* kKey = "0123456789abcdef0123456789abcdef01234567";
constexpr const char* kChildModeVariable = "QVA_TEST_CRASH_CHILD_MODE";

// Deeper and deeper until the stack runs out; the frame is touched so no
// compiler turns the recursion into a loop.
int recurseWithoutEnd(volatile const char* caller, uint64_t depth) {
    volatile char frame[512];
    frame[0] = caller ? char(caller[0] + 1) : 0;
    if (depth == UINT64_MAX) return frame[0];
    return recurseWithoutEnd(frame, depth + 1) + frame[1];
}

// Started as the crashing process of the test below, this binary starts the
// reporter on the home it was given and dies before any test runs: by a
// raised signal, a bad address, or a stack overflow on the main thread or on
// a thread the platform started.
const bool childCrashed = [] {
    const char* mode = std::getenv(kChildModeVariable);
    if (!mode) return false;
    rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    CrashReporter::setCustomValue("42", "User id");
    CrashReporter::log("Opened the agenda");
    if (!CrashReporter::startWithAPIKey(kKey)) std::_Exit(2);
    CrashReporter::log("About to crash");
    volatile uintptr_t address = 16;
    if (std::strcmp(mode, "fault") == 0) *reinterpret_cast<volatile int*>(address) = 1;
    if (std::strcmp(mode, "overflow") == 0) recurseWithoutEnd(nullptr, 0);
    if (std::strcmp(mode, "thread-overflow") == 0) {
        Thread::create("overflow", [] { recurseWithoutEnd(nullptr, 0); })->start();
        for (;;) pause();
    }
    raise(SIGSEGV);
    std::_Exit(3);
}();

// The child gets its own home, and the address sanitizer leaves SIGSEGV to
// the default action, so the child dies of the signal itself; nor does it
// lend its own alternate stacks, so an overflow is caught on ours.
int runCrashingChild(const std::string& home, const std::string& mode) {
    std::vector<std::string> env{"QVA_HOME=" + home, std::string(kChildModeVariable) + "=" + mode};
    std::string asanOptions = "ASAN_OPTIONS=";
    for (const auto& entry : testsupport::currentEnvironment()) {
        if (entry.rfind("ASAN_OPTIONS=", 0) == 0) asanOptions = entry + ":";
        else if (entry.rfind("QVA_HOME=", 0) != 0) env.push_back(entry);
    }
    env.push_back(asanOptions + "handle_segv=0:use_sigaltstack=0");
    return testsupport::runThisBinary(env);
}

struct HomeRoot {
    explicit HomeRoot(const std::string& root) { ApplicationHome::setRoot(root); }
    ~HomeRoot() { ApplicationHome::setRoot(previous); }
    std::string previous = ApplicationHome::root();
};

std::string contents(const std::string& path) {
    return FileManager::defaultManager().contentsAtPath(path).value_or(Data()).toString();
}

bool exists(const std::string& path) { return FileManager::defaultManager().fileExistsAtPath(path); }

}  // namespace

TEST(CrashReporter, RefusesAnyKeyButFortyLowerCaseHexDigits) {
    TemporaryDirectory home;
    HomeRoot root(home.path());
    std::string key = kKey;
    for (std::string bad : {std::string(), key.substr(1), key + "0", "0123456789ABCDEF" + key.substr(16),
                            key.substr(0, 39) + "g", key.substr(0, 39) + " "}) {
        ScopedLogCapture log;
        EXPECT_FALSE(CrashReporter::startWithAPIKey(bad)) << bad;
        ASSERT_EQ(log.lines().size(), 1u) << bad;
        EXPECT_EQ(log.lines()[0].rfind("[CrashReporter] Not started", 0), 0u);
    }
    EXPECT_FALSE(exists(CrashReporter::directory()));
    ScopedLogCapture log;
    EXPECT_TRUE(CrashReporter::startWithAPIKey(kKey));
    EXPECT_TRUE(log.lines().empty());
    EXPECT_TRUE(exists(CrashReporter::directory()));
}

TEST(CrashReporter, CrashLogKeepsTheNewestLinesAndBoundedValues) {
    for (size_t i = 0; i < CrashLog::kMaxLines + 10; ++i) CrashReporter::log("line " + std::to_string(i));
    auto lines = CrashReporter::logLines();
    ASSERT_EQ(lines.size(), CrashLog::kMaxLines);
    EXPECT_EQ(lines.front(), "line 10");
    EXPECT_EQ(lines.back(), "line " + std::to_string(CrashLog::kMaxLines + 9));

    // Cut on a character boundary: every two-byte "é" stays whole.
    std::string accents = "x";
    for (int i = 0; i < 1000; ++i) accents += "\xC3\xA9";
    CrashReporter::log(accents);
    std::string kept = CrashReporter::logLines().back();
    EXPECT_LE(kept.size(), CrashLog::kMaxLineLength);
    EXPECT_EQ(kept.size() % 2, 1u);

    CrashReporter::setCustomValue("1", "User id");
    for (size_t i = 0; i < CrashLog::kMaxCustomValues; ++i) CrashReporter::setCustomValue("v", std::to_string(i));
    CrashReporter::setCustomValue("3", "User id");
    EXPECT_EQ(CrashReporter::customValues().size(), CrashLog::kMaxCustomValues);
    EXPECT_EQ(CrashReporter::customValues()["User id"], "3");
}

TEST(CrashReporter, ACrashLeavesARecordThatTheNextStartReportsOnce) {
    for (std::string mode : {"raise", "fault", "overflow", "thread-overflow"}) {
        SCOPED_TRACE(mode);
        TemporaryDirectory home;
        int status = runCrashingChild(home.path(), mode);
        ASSERT_TRUE(WIFSIGNALED(status)) << status;
        EXPECT_EQ(WTERMSIG(status), SIGSEGV);

        std::string directory = home / "Library/CrashReporter";
        std::string record = contents(directory + "/crash.record");
        EXPECT_EQ(record.rfind("Signal: 11 SIGSEGV\nTime: ", 0), 0u) << record;
        EXPECT_NE(record.find("User id = 42\nLog:\nOpened the agenda\nAbout to crash\n"), std::string::npos);
        EXPECT_FALSE(exists(directory + "/crash.record.partial"));

        HomeRoot root(home.path());
        for (int start = 0; start < 2; ++start) {
            ScopedLogCapture log;
            ASSERT_TRUE(CrashReporter::startWithAPIKey(kKey));
            EXPECT_EQ(log.contains("[CrashReporter] Reporting a crash with signal 11 (SIGSEGV) at "), start == 0);
            EXPECT_FALSE(exists(directory + "/crash.record"));
            EXPECT_EQ(contents(directory + "/reported/crash-1.record"), record);
        }

        // A damaged record is still reported, once, and kept beside the first.
        ASSERT_TRUE(
            FileManager::defaultManager().writeData(Data::fromString("Sig"), directory + "/crash.record", true));
        ScopedLogCapture log;
        ASSERT_TRUE(CrashReporter::startWithAPIKey(kKey));
        EXPECT_TRUE(log.contains("[CrashReporter] Reporting an unreadable crash record"));
        EXPECT_EQ(contents(directory + "/reported/crash-2.record"), "Sig");
        EXPECT_FALSE(exists(directory + "/crash.record"));
    }
}

// The crash reporter the app starts at launch. It keeps the crash log (the
// analytics facade writes the user's steps and who is signed in into it),
// captures fatal signals into a crash record in the application's Library,
// and at the next start reports a record found there and keeps it under
// "reported". No crash-reporting service is reachable from here, so the
// report is a log line and the kept record. Thread-safe.
#pragma once

#include <map>
#include <string>
#include <vector>

class CrashReporter {
public:
    static constexpr const char* kLogPrefix = "[CrashReporter] ";
    // Below the application's Library.
    static constexpr const char* kDirectoryName = "CrashReporter";
    static constexpr const char* kReportedDirectoryName = "reported";

    // Starts capture and reports what the last run left behind. The key is
    // 40 lower-case hexadecimal characters; anything else is refused with a
    // log line and false, and nothing starts. Starting again (on another
    // application home, in tests) reports and captures there.
    static bool startWithAPIKey(const std::string& apiKey);

    // The crash log, kept whether or not capture has started.
    static void log(const std::string& line);
    static void setCustomValue(const std::string& value, const std::string& key);
    static std::vector<std::string> logLines();
    static std::map<std::string, std::string> customValues();

    // Library/CrashReporter of the current application home.
    static std::string directory();
};

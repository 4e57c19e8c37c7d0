// Starting the crash reporter and reporting the record of the last run (see
// CrashReporter.h).
#include "crashreporting/CrashReporter.h"

#include <mutex>
#include <optional>

#include "crashreporting/CrashLog.h"
#include "crashreporting/CrashSignalHandler.h"
#include "foundation/ApplicationHome.h"
#include "foundation/Date.h"
#include "foundation/FileManager.h"
#include "foundation/Log.h"
#include "foundation/Value.h"

using foundation::FileManager;
using foundation::Log;

namespace {

constexpr size_t kAPIKeyLength = 40;

bool isValidAPIKey(const std::string& key) {
    if (key.size() != kAPIKeyLength) return false;
    for (char c : key)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    return true;
}

// The value after "Label: " on the record's line of that label.
std::optional<std::string> recordField(const std::string& record, const std::string& label) {
    std::string prefix = label + ": ";
    size_t at = 0;
    while (at < record.size()) {
        size_t end = record.find('\n', at);
        if (end == std::string::npos) end = record.size();
        if (record.compare(at, prefix.size(), prefix) == 0)
            return record.substr(at + prefix.size(), end - at - prefix.size());
        at = end + 1;
    }
    return std::nullopt;
}

std::string describeRecord(const std::string& record) {
    auto signal = recordField(record, "Signal");
    auto time = recordField(record, "Time");
    if (!signal || !time) return "an unreadable crash record";
    // "11 SIGSEGV" reads as signal 11 (SIGSEGV).
    std::string text = "a crash with signal " + *signal;
    size_t space = signal->find(' ');
    if (space != std::string::npos)
        text = "a crash with signal " + signal->substr(0, space) + " (" + signal->substr(space + 1) + ")";
    double seconds = foundation::NumberParsing::doubleValue(*time);
    return text + " at " + foundation::Date(seconds).description();
}

std::string freeReportedPath(const std::string& reportedDirectory) {
    auto& files = FileManager::defaultManager();
    size_t number = files.contentsOfDirectoryAtPath(reportedDirectory).value_or(std::vector<std::string>{}).size() + 1;
    std::string path;
    do {
        path = reportedDirectory + "/crash-" + std::to_string(number++) + ".record";
    } while (files.fileExistsAtPath(path));
    return path;
}

void reportPendingRecord(const std::string& directory) {
    auto& files = FileManager::defaultManager();
    std::string record = directory + "/" + CrashSignalHandler::kRecordFileName;
    // A crash inside the handler itself leaves only a partial file: nothing to trust.
    files.removeItemAtPath(record + ".partial");
    if (!files.fileExistsAtPath(record)) return;

    std::string text = files.contentsAtPath(record).value_or(foundation::Data()).toString();
    std::string reportedDirectory = directory + "/" + CrashReporter::kReportedDirectoryName;
    files.createDirectoryAtPath(reportedDirectory, true);
    std::string kept = freeReportedPath(reportedDirectory);
    foundation::ErrorPtr error;
    if (!files.moveItemAtPath(record, kept, &error)) {
        // Reported once either way: a record that cannot be kept is dropped.
        Log("%@The last run left %@; it could not be kept (%@) and is removed", CrashReporter::kLogPrefix,
            describeRecord(text), error ? error->localizedDescription() : std::string());
        files.removeItemAtPath(record);
        return;
    }
    Log("%@Reporting %@ in the last run; the record is kept at %@", CrashReporter::kLogPrefix, describeRecord(text),
        kept);
}

}  // namespace

bool CrashReporter::startWithAPIKey(const std::string& apiKey) {
    if (!isValidAPIKey(apiKey)) {
        Log("%@Not started: the API key must be %d lower-case hexadecimal characters", kLogPrefix,
            int(kAPIKeyLength));
        return false;
    }
    static std::mutex mutex;
    std::lock_guard lock(mutex);
    std::string dir = directory();
    foundation::ErrorPtr error;
    if (!FileManager::defaultManager().createDirectoryAtPath(dir, true, &error)) {
        Log("%@Not started: cannot create %@ (%@)", kLogPrefix, dir, error ? error->localizedDescription() : "");
        return false;
    }
    reportPendingRecord(dir);
    if (!CrashSignalHandler::install(dir)) {
        Log("%@Not started: the crash signal handlers could not be installed for %@", kLogPrefix, dir);
        return false;
    }
    return true;
}

void CrashReporter::log(const std::string& line) { CrashLog::shared().append(line); }

void CrashReporter::setCustomValue(const std::string& value, const std::string& key) {
    CrashLog::shared().setCustomValue(value, key);
}

std::vector<std::string> CrashReporter::logLines() { return CrashLog::shared().lines(); }

std::map<std::string, std::string> CrashReporter::customValues() { return CrashLog::shared().customValues(); }

std::string CrashReporter::directory() {
    return foundation::ApplicationHome::libraryDirectory() + "/" + kDirectoryName;
}

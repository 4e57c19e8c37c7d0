// Crash capture: handlers for the fatal signals that write a crash record
// (signal, time, the crash log's last rendering) and then let the signal take
// its previous course. The handler runs on an alternate stack (the installing
// thread's is made here, every platform thread makes its own), so a stack
// overflow is still recorded. The crash log is made at installation and the
// handler makes only async-signal-safe calls (open, write, close, rename,
// clock_gettime, sigaction, raise): everything else is prepared before the
// crash.
#pragma once

#include <string>

class CrashSignalHandler {
public:
    // The file a crash leaves in the record directory.
    static constexpr const char* kRecordFileName = "crash.record";

    // Points the handlers at `recordDirectory` (later crashes write there) and
    // installs them the first time. False when the path does not fit the
    // handler's fixed buffer or the handlers could not be installed.
    static bool install(const std::string& recordDirectory);
};

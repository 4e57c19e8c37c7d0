// What a delta update check decided, for the caller to tell the user: the
// delta runs, runs though throttled or switched off because it was forced,
// or is skipped for one of three reasons.
#pragma once

#include <optional>

struct DeltaDecision {
    enum class Kind { Run, Force, SkipWithoutAccount, SkipAutomaticUpdatesOff, SkipThrottled };

    Kind kind = Kind::Run;
    // Since the last fully successful delta, when there was one.
    std::optional<double> secondsSinceLast;

    bool runs() const { return kind == Kind::Run || kind == Kind::Force; }
};

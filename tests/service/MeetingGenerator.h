// Makes a realistic meeting of any size, the same for the same options: a
// meeting over some days with sessions in the rooms of two venues, their
// contributors among the participants, participants with organisations and
// networks, the demo user's agenda (selections, responsibilities,
// invitations, personal entries), notes, follows, messages in threads,
// documents, the reports feed with its media and the floor-plan map files of
// the primary venue.
// The demo user (first account) logs in with kDemoUsername/kDemoPassword or
// kDemoPasscode and holds the access token demoTokenForSeed(seed).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "service/MeetingData.h"

namespace testservice {

inline constexpr const char* kDemoUsername = "demo";
inline constexpr const char* kDemoPassword = "quovana-demo";
inline constexpr const char* kDemoPasscode = "246810";

// The largest meeting the generator makes: ids of a kind are numbers in a
// range of their own, below the next kind's (participants from 100001,
// organisations from 200001, sessions from 300001, rooms from 400001), and
// a bigger meeting would not fit in memory on a small machine anyway. The
// commands that take a size refuse one beyond these.
inline constexpr int kMaxGeneratedSessions = 20000;
inline constexpr int kMaxGeneratedParticipants = 99999;
// The smallest: the demo user and one other person to write to.
inline constexpr int kMinGeneratedParticipants = 2;

// "SESSIONS,PARTICIPANTS" as every command line that sizes a meeting reads
// it: two numbers of plain decimal digits (no sign, blank, exponent or
// base) within the bounds above; nothing otherwise.
std::optional<std::pair<int, int>> parseGeneratedSizes(const std::string& text);
// Says what parseGeneratedSizes takes, for a usage message.
std::string generatedSizesRule();

struct MeetingGeneratorOptions {
    uint64_t seed = 1;
    int sessions = 300;
    int participants = 1500;
    int days = 4;
    // The participants the demo user follows.
    int follows = 10;
};

MeetingData generateMeeting(const MeetingGeneratorOptions& options);
std::string demoTokenForSeed(uint64_t seed);
// The id of the generated meeting ("E" and a number from the seed).
std::string generatedEventId(uint64_t seed);

}  // namespace testservice
